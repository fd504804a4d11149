#pragma once
// The text record layer: every line the program reads or writes goes through here.
//
// Units are small integers naming a connection: 0 is standard error, 5 standard input,
// 6 standard output; the program connects 1 (tandem.inp, later rsigma.dat) and 2
// (resonance.dat) by open. Three kinds of statement act on a unit:
//   - list-directed write: strings, integers and reals laid out by fixed default rules
//     (nine significant digits, three-digit exponents, the 80-column record limit);
//   - format-directed write: items laid out by a format such as "(F7.2,E16.8,2A10)";
//   - list-directed read: values separated by blanks, tabs, commas or line ends, with
//     null values, the slash, repeat counts and quoted strings.
// Every failure is fatal: the layer throws FatalIoError carrying the complete report for
// standard error; the caller writes it, closes all units and ends the run. The reports,
// what each fault leaves in the files, and the non-finite numbers' texts are listed in
// docs/failures.md and docs/tandem.md.
//
// Records are handed to the operating system one whole record at a time (no user-space
// buffering), so a record that has been written survives an abrupt end of the run. The
// files whose last statement wrote are also kept where a signal handler can cut them
// (textio/signal_cut.hpp), as close_all would at a normal end. A unit's file is cut at
// close only when it is a regular file. How each status and access obtains its file, and
// how a record that fails part way is taken back: textio/unit_file.hpp. Bounded input
// (at most 16 MiB per read statement from a stream that is not a regular file):
// textio/input_buffer.hpp and textio/list_reader.hpp. Non-finite reals:
// textio/list_render.hpp.
//
// Opening a connected unit closes its former file first, as close does. close of unit 0,
// 5 or 6 disconnects it without closing the process's descriptor.

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tandem::textio {

// How open finds the file: "old" requires it to exist; "UNKNOWN" creates it if missing.
enum class Status { old, unknown };
// Where writing starts: at the start of the file, or after its last byte ("APPEND").
enum class Access { sequential, append };

// A fatal input/output error. report() is the full text for standard error, every line
// ended by a line feed, e.g.
//   open: No such file or directory
//   apparent state: unit 1 named tandem.inp
//   last format: list io
//   lately writing sequential formatted external IO
class FatalIoError : public std::runtime_error {
 public:
  explicit FatalIoError(std::string report, int error_number = 0);
  const std::string& report() const noexcept { return report_; }
  // The system's error number behind the report (ENOENT, ENOSPC, ...); 0 for the layer's
  // own failures (end of file, incomprehensible input, ...).
  int error_number() const noexcept { return error_number_; }

 private:
  std::string report_;
  int error_number_;
};

// One item of a list-directed write. A float is widened to double before rendering.
using ListItem = std::variant<std::string_view, int, double, float>;
// One item of a format-directed write: F and E take reals, A takes strings.
using FormatItem = std::variant<std::string_view, double, float>;

// A character variable of fixed declared length: a value read into it is blank-filled
// on the right or cut to `length`.
struct TextTarget {
  std::string* value;
  std::size_t length;
};
// A destination of a list-directed read. A real destination that meets a null value or a
// slash keeps what it held, so an empty optional marks "never given a value".
using ReadTarget = std::variant<std::optional<double>*, TextTarget>;

// Where a list-directed read statement found its values, for messages that point into the
// input (the library's reader names the line and the item). Filling it changes nothing
// of what the statement reads. Lines are counted from 1 on the unit since it was opened.
struct ReadDetails {
  static constexpr std::size_t kKept = 120;  // characters kept of `text` and of `rest`
  int failed_target = -1;                    // index of the destination being read when it failed
  int line = 0;                              // the line where the statement ended, or failed
  std::vector<int> value_lines;              // the line of each destination given a value or a null
  std::string text;                          // the first characters the statement consumed
  std::string rest;  // the first characters after its last value, to the line end
};

// Holds each of the descriptors 0, 1 and 2 that is closed when the program starts with
// /dev/null opened the wrong way round (for writing on 0, for reading on 1 and 2): a file
// opened later can then never take one of these numbers (a fatal report meant for a closed
// standard error would otherwise land in resonance.dat), and every statement on that
// console unit fails with "Bad file descriptor", as on the closed descriptor.
void hold_closed_standard_descriptors() noexcept;

class RecordLayer {
 public:
  // Units 0, 5 and 6 on the process's standard error, input and output.
  RecordLayer();
  // Units 0, 5 and 6 on the given descriptors (tests use pipes and files).
  RecordLayer(int err_fd, int in_fd, int out_fd);
  ~RecordLayer();
  RecordLayer(const RecordLayer&) = delete;
  RecordLayer& operator=(const RecordLayer&) = delete;

  void open(int unit, const std::string& name, Status status, Access access = Access::sequential);
  // Cuts the file after the last record written (if the unit's last statement wrote),
  // then disconnects the unit.
  void close(int unit);
  // The closing of every connected file unit at the end of the run: as close, but a
  // failure to cut the file is ignored. Never throws.
  void close_all() noexcept;

  void write_list(int unit, std::initializer_list<ListItem> items);
  void write_format(int unit, std::string_view format, std::initializer_list<FormatItem> items);
  void read_list(int unit, std::initializer_list<ReadTarget> targets);
  // The same, telling where the values were (also when it fails).
  void read_list(int unit, std::initializer_list<ReadTarget> targets, ReadDetails& details);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tandem::textio
