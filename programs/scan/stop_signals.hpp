#pragma once
// Ctrl-C (SIGINT) and SIGTERM during a scan: the handler only notes the request, and the
// scan's own thread, which looks at least every tick, keeps the rows finished so far and
// ends the program. The handler is reset by its first signal, so that a second Ctrl-C ends
// the program at once if it does not respond. SIGPIPE is ignored: a reader that has gone
// is reported as a failed write.

namespace tandem::scan {

void watch_stop_signals();
bool stop_requested();

}  // namespace tandem::scan
