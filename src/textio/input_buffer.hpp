#pragma once
// The input side of a unit: its own buffer over read(2). Reads ahead by whole chunks; the
// layer gives back what was read ahead (discard) before it writes on the same file, so
// that writing starts at the position reached by reading.

#include <cstddef>
#include <vector>

#include "textio/char_source.hpp"

namespace tandem::textio {

class InputBuffer : public CharSource {
 public:
  explicit InputBuffer(int fd = -1) : fd_(fd) {}
  void set_descriptor(int fd) { fd_ = fd; }

  // Throws IoFailure ("list in" with the system's text) if the descriptor cannot be read.
  int peek(std::size_t ahead = 0) override;
  void advance() override;

  // Characters read from the descriptor but not yet consumed.
  std::size_t unread() const { return data_.size() - pos_; }
  // Forgets the characters read ahead, and that the end was met.
  void discard();

 private:
  bool fill();

  int fd_;
  std::vector<char> data_;
  std::size_t pos_ = 0;
  // Once read(2) has reported the end, it is not asked again within the same stretch of
  // reading: on a terminal a second call would wait for more typing.
  bool end_met_ = false;
};

}  // namespace tandem::textio
