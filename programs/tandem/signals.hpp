#pragma once
// Termination by signal: floating-point exception, abort, interrupt, termination request
// and hangup each write their message on standard error, cut every file whose last
// statement wrote back to its last whole record (no torn line), and end the run; SIGPIPE
// and SIGXFSZ are ignored so that the failed write gets the record layer's fatal report.
// The messages, the statuses and what each signal leaves: docs/failures.md.

namespace tandem {

void install_signal_handlers();

}  // namespace tandem
