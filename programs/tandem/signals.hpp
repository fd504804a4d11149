#pragma once
// Termination by signal. Each handler writes its message and a line end on standard error:
//   floating-point exception  "Floating Exception"  then abnormal termination
//   abort                     "IOT Trap"            then abnormal termination
//   interrupt                 "Interrupt"           then exit status 1 (only installed
//                                                   when the interrupt was not ignored)
//   termination request       "Killed"              then exit status 1
//   hangup (a terminal gone)  "Hangup"              then exit status 1 (only installed
//                                                   when the hangup was not ignored, as
//                                                   under nohup)
// Records already written are in the files, since the record layer hands every record to
// the system whole. Before it ends the run, every handler cuts each file whose last
// statement wrote back to the end of its last whole record, so that a signal in the
// middle of a record leaves no torn line in rsigma.dat or resonance.dat.
//
// A write on a pipe whose reader has gone (tandem | head) must not kill the run silently:
// SIGPIPE is ignored, the write fails with "Broken pipe", and the record layer's fatal
// report and exit status 2 follow. So, likewise, for a write beyond the file-size limit
// (ulimit -f): SIGXFSZ is ignored, the write fails with "File too large", and the record
// taken back, the report and exit status 2 follow.

namespace tandem {

void install_signal_handlers();

}  // namespace tandem
