#pragma once
// The files a signal handler must cut before the run ends.
//
// At the end of a run, normal or after a fatal error, every file whose last statement
// wrote is cut at its current position (RecordLayer::close_all). A run ended by a signal
// never gets there, so the layer also keeps the descriptors of those files in a fixed
// table that a handler may walk: cut_written_files() cuts each one where writing stopped,
// so that rsigma.dat, which is written from its start over an older table, never keeps
// old rows after the new ones. Only regular files are kept: a device or a pipe has no
// length to cut.
//
// cut_written_files() is async-signal-safe: it reads lock-free atomics and calls only
// lseek(2) and ftruncate(2). The other two are called by the layer (watch when a write
// statement starts on a file it opened, forget when a read starts or before the
// descriptor is closed, so that a handler never cuts a descriptor number that the system
// has handed out again).

namespace tandem::textio {

void watch_written_file(int fd) noexcept;
void forget_written_file(int fd) noexcept;
void cut_written_files() noexcept;

}  // namespace tandem::textio
