#pragma once
// A connected unit and the operating-system steps on its descriptor: obtaining a file,
// making it writable, writing whole records, cutting and closing it. Every failure is
// thrown as IoFailure with the operation word of the step that met it.

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
  bool owned = false;       // the layer opened the descriptor and must close it
  bool regular = false;     // a regular file, which has a length to cut
  bool at_end = false;      // a read statement met the end of the stream
  bool last_wrote = false;  // the last statement on the unit was a write
  InputBuffer input;
};

Unit standard_unit(int fd);
Unit open_file(const std::string& name, Status status, Access access);

// Gives back input read ahead and, for a file obtained read-only, reopens it for reading
// and writing at the same position. `start_word` names the statement in a failure.
void make_writable(Unit& unit, const char* start_word);
// Hands the record and its line end to write(2) whole.
void write_record(Unit& unit, std::string_view record, const char* out_word);
// Cuts a regular file at the current position ("endfile" on failure); a device or a pipe
// (rsigma.dat may be a link to /dev/null) has no length and is left alone.
void truncate_here(Unit& unit);
// Closes the descriptor ("close" on failure); the unit must not be used afterwards.
void close_descriptor(Unit& unit);

}  // namespace tandem::textio
