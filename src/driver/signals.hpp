#pragma once
// Termination by signal. Each handler writes its message and a line end on standard error:
//   floating-point exception  "Floating Exception"  then abnormal termination
//   abort                     "IOT Trap"            then abnormal termination
//   interrupt                 "Interrupt"           then exit status 1 (only installed
//                                                   when the interrupt was not ignored)
//   termination request       "Killed"              then exit status 1
// Records already written are in the files, since the record layer hands every record to
// the system whole; nothing is written in the handlers but the message.

namespace tandem {

void install_signal_handlers();

}  // namespace tandem
