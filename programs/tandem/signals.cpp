#include "signals.hpp"

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string_view>

#include "textio/signal_cut.hpp"

namespace tandem {

namespace {

void say(std::string_view message) {
  // Only async-signal-safe calls here; a short write to standard error cannot be retried
  // usefully.
  [[maybe_unused]] ssize_t n = ::write(STDERR_FILENO, message.data(), message.size());
}

extern "C" void on_fatal_signal(int sig) {
  say(sig == SIGFPE ? "Floating Exception\n" : "IOT Trap\n");
  textio::cut_written_files();
  std::signal(sig, SIG_DFL);
  std::signal(SIGABRT, SIG_DFL);
  std::abort();
}

extern "C" void on_stop_signal(int sig) {
  say(sig == SIGINT ? "Interrupt\n" : sig == SIGHUP ? "Hangup\n" : "Killed\n");
  textio::cut_written_files();
  ::_exit(1);
}

bool ignored_at_start(int sig) {
  struct sigaction current {};
  return ::sigaction(sig, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

void install_signal_handlers() {
  std::signal(SIGFPE, on_fatal_signal);
  std::signal(SIGABRT, on_fatal_signal);
  // A run started in the background with interrupts ignored keeps ignoring them, and one
  // started with nohup keeps ignoring the hangup.
  for (const int sig : {SIGINT, SIGHUP}) {
    if (!ignored_at_start(sig)) {
      std::signal(sig, on_stop_signal);
    }
  }
  std::signal(SIGTERM, on_stop_signal);
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace tandem
