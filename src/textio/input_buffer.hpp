#pragma once
// The input side of a unit: its own buffer over read(2). Reads ahead by whole chunks; the
// layer gives back what was read ahead (discard) before it writes on the same file, so
// that writing starts at the position reached by reading.
//
// The buffer holds at most one chunk (4 KiB) beyond the farthest lookahead a scanner asks
// for, whatever the length of a line. A stream that is not a regular file (a device, a
// pipe, a terminal) may deliver without end (tandem.inp a link to /dev/zero): one read
// statement may take at most kStatementLimit bytes from it, beyond which the statement
// fails ("list in", kEndlessInput). A regular file has a length, and is read to its end.

#include <cstddef>
#include <string>
#include <vector>

#include "textio/char_source.hpp"

namespace tandem::textio {

inline constexpr std::size_t kStatementLimit = std::size_t{16} << 20;  // 16 MiB
inline constexpr const char* kEndlessInput =
    "more than 16 MiB in one read statement from a stream that is not a regular file";

class InputBuffer : public CharSource {
 public:
  explicit InputBuffer(int fd = -1) : fd_(fd) {}
  // `regular`: the descriptor is a regular file, read without the statement limit.
  void set_descriptor(int fd, bool regular) {
    fd_ = fd;
    bounded_ = !regular;
  }

  // Throws IoFailure ("list in" with the system's text) if the descriptor cannot be read,
  // or with kEndlessInput past the limit of one statement.
  int peek(std::size_t ahead = 0) override;
  void advance() override;

  // A read statement starts: its count of bytes taken from the stream begins at zero.
  void start_statement() { taken_ = 0; }

  // The line of the next character (1 for the first), counting line feeds consumed.
  int line() const { return line_; }
  // Copies the next characters consumed into *sink, up to `limit` of them (nullptr: stop).
  void capture(std::string* sink, std::size_t limit) {
    sink_ = sink;
    sink_limit_ = limit;
  }

  // Characters read from the descriptor but not yet consumed.
  std::size_t unread() const { return data_.size() - pos_; }
  // Forgets the characters read ahead, and that the end was met.
  void discard();

 private:
  bool fill();

  int fd_;
  bool bounded_ = true;
  std::size_t taken_ = 0;  // bytes read(2) returned during the current statement
  std::vector<char> data_;
  std::size_t pos_ = 0;
  // Once read(2) has reported the end, it is not asked again within the same stretch of
  // reading: on a terminal a second call would wait for more typing.
  bool end_met_ = false;
  int line_ = 1;
  std::string* sink_ = nullptr;
  std::size_t sink_limit_ = 0;
};

}  // namespace tandem::textio
