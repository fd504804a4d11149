#pragma once
// Termination by signal. Each handler writes its message and a line end on standard error:
//   floating-point exception  "Floating Exception"  then abnormal termination
//   abort                     "IOT Trap"            then abnormal termination
//   interrupt                 "Interrupt"           then exit status 1 (only installed
//                                                   when the interrupt was not ignored)
//   termination request       "Killed"              then exit status 1
// Records already written are in the files, since the record layer hands every record to
// the system whole. Before it ends the run, every handler cuts each file whose last
// statement wrote at the position writing reached, as the closing of the units would:
// rsigma.dat is written from its start over the table of an earlier run, and must not keep
// that table's tail after the rows of this one.
//
// A write on a pipe whose reader has gone (tandem | head) must not kill the run silently:
// SIGPIPE is ignored, the write fails with "Broken pipe", and the record layer's fatal
// report and exit status 2 follow.

namespace tandem {

void install_signal_handlers();

}  // namespace tandem
