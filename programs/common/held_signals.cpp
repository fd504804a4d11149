#include "common/held_signals.hpp"

#include <pthread.h>

#include <initializer_list>

namespace tandem::common {

HeldStopSignals::HeldStopSignals() {
  sigset_t stops;
  sigemptyset(&stops);
  for (const int sig : {SIGINT, SIGHUP, SIGTERM}) {
    sigaddset(&stops, sig);
  }
  pthread_sigmask(SIG_BLOCK, &stops, &before_);
}

HeldStopSignals::~HeldStopSignals() {
  release();
}

void HeldStopSignals::release() {
  if (held_) {
    held_ = false;
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
  }
}

}  // namespace tandem::common
