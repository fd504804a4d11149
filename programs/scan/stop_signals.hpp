#pragma once
// Ctrl-C (SIGINT), a hangup (SIGHUP: the terminal or the session gone) and SIGTERM during
// a scan: the handler only notes the request, and the scan's own thread, which looks at
// least every tick, keeps the rows finished so far and ends the program. Every such signal,
// the first or a later one, is handled so: a second Ctrl-C does not throw the finished
// rows away. A signal that was ignored when the program started (nohup, a shell's
// background job) stays ignored. SIGPIPE is ignored: a reader that has gone is reported as
// a failed write.

namespace tandem::scan {

void watch_stop_signals();
bool stop_requested();

}  // namespace tandem::scan
