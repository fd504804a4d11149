#pragma once
// A connected unit and the operating-system steps on its descriptor: obtaining a file,
// making it writable, writing whole records, cutting and closing it. Every failure is
// thrown as IoFailure with the operation word of the step that met it.
//
// How files are obtained:
//   - status "old" (the input file): for reading only; the first write, if any, reopens
//     it for reading and writing at the same position.
//   - status "UNKNOWN", sequential (rsigma.dat): written from its start; a regular file
//     obtained for writing is cut to zero length at once, so that an older table never
//     shows through, even after a kill no handler sees. One obtained read-only keeps its
//     content (its first write fails).
//   - access "APPEND" (resonance.dat): opened with O_APPEND, then an exclusive advisory
//     lock (flock) is waited for and held until the unit is closed. The catalogue is opened
//     before rsigma.dat and closed after it, so the lock covers a run's whole output, and
//     runs started together in one directory append whole blocks one after another. A file
//     system without locks (ENOLCK, EOPNOTSUPP, EINVAL) is no error: the run goes on
//     unlocked. An APPEND unit is never cut at its position at close: under another run's
//     appends that position is not the end of this run's records.
// A record that fails part way (a full disk, the file-size limit) is taken back: the file
// is cut to the end of the last whole record written (for an unlocked APPEND unit only
// when nothing was appended after it), so no torn line stays behind.

#include <optional>
#include <string>
#include <string_view>

#include "textio/input_buffer.hpp"
#include "textio/record_layer.hpp"

namespace tandem::textio {

enum class Mode { read_write, read_only, write_only };

struct Unit {
  int fd = -1;
  std::optional<std::string> name;  // none for the standard streams
  Mode mode = Mode::read_write;
  bool owned = false;        // the layer opened the descriptor and must close it
  bool regular = false;      // a regular file, which has a length to cut
  bool at_end = false;       // a read statement met the end of the stream
  bool last_wrote = false;   // the last statement on the unit was a write
  bool append = false;       // opened with access "APPEND": O_APPEND, never cut at close
  bool locked = false;       // holds the exclusive lock on its file
  long long record_end = 0;  // file offset after the last whole record (regular files)
  InputBuffer input;
};

Unit standard_unit(int fd);
// Obtains the file by the rules above ("open" with the system's text on failure; "can't
// append to file" when an APPEND unit cannot be positioned at the end).
Unit open_file(const std::string& name, Status status, Access access);

// Gives back input read ahead and, for a file obtained read-only, reopens it for reading
// and writing at the same position. `start_word` names the statement in a failure.
void make_writable(Unit& unit, const char* start_word);
// Hands the record and its line end to write(2) whole; on failure takes back what of it
// reached the file.
void write_record(Unit& unit, std::string_view record, const char* out_word);
// Cuts a regular file at the current position ("endfile" on failure); a device or a pipe
// (rsigma.dat may be a link to /dev/null) has no length and is left alone.
void truncate_here(Unit& unit);
// Closes the descriptor ("close" on failure); the unit must not be used afterwards.
void close_descriptor(Unit& unit);

}  // namespace tandem::textio
