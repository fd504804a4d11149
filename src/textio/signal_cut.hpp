#pragma once
// The files a signal handler must cut before the run ends.
//
// At the end of a run, normal or after a fatal error, every file whose last statement
// wrote is cut where its records end (RecordLayer::close_all). A run ended by a signal
// never gets there, so the layer also keeps, for each such file, its descriptor and the
// offset after its last whole record in a fixed table that a handler may walk:
// cut_written_files() cuts each file back to that offset, so that neither rsigma.dat nor
// resonance.dat ends in a torn line when the signal came in the middle of a record. Only
// regular files the layer opened are kept: a device or a pipe has no length to cut.
//
// cut_written_files() is async-signal-safe: it reads lock-free atomics and calls only
// ftruncate(2). The other two are called by the layer (watch after each whole record and
// when a write statement starts, forget when a read starts or before the descriptor is
// closed, so that a handler never cuts a descriptor number that the system has handed out
// again). Offsets of 2^43 bytes (8 TiB) and more are not kept.

namespace tandem::textio {

void watch_written_file(int fd, long long records_end) noexcept;
void forget_written_file(int fd) noexcept;
void cut_written_files() noexcept;

}  // namespace tandem::textio
