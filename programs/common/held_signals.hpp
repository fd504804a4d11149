#pragma once
// Ctrl-C (SIGINT), SIGHUP and SIGTERM held back while a program writes a file under its
// temporary name and renames it: a stop signal that comes meanwhile takes effect (its
// default action, or the handler the program set) once the file is whole or removed, so
// that no temporary is left behind. A signal ignored stays ignored.
//
// Hold them only while nothing can block for long: not while writing to a pipe or FIFO
// whose reader may never come (OutputFile::written_through()), where release() lets them
// through again at once.

#include <signal.h>

namespace tandem::common {

class HeldStopSignals {
 public:
  HeldStopSignals();
  ~HeldStopSignals();
  HeldStopSignals(const HeldStopSignals&) = delete;
  HeldStopSignals& operator=(const HeldStopSignals&) = delete;
  void release();

 private:
  sigset_t before_;
  bool held_ = true;
};

}  // namespace tandem::common
