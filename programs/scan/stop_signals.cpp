#include "scan/stop_signals.hpp"

#include <csignal>
#include <initializer_list>

namespace tandem::scan {
namespace {

// The one flag a signal handler may set; nothing else is touched there.
volatile std::sig_atomic_t stop_flag = 0;

extern "C" void note_stop(int) {
  stop_flag = 1;
}

bool ignored_at_start(int sig) {
  struct sigaction current {};
  return ::sigaction(sig, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

void watch_stop_signals() {
  struct sigaction action {};
  action.sa_handler = note_stop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int sig : {SIGINT, SIGHUP, SIGTERM}) {
    if (!ignored_at_start(sig)) {
      sigaction(sig, &action, nullptr);
    }
  }
  std::signal(SIGPIPE, SIG_IGN);
}

bool stop_requested() {
  return stop_flag != 0;
}

}  // namespace tandem::scan
