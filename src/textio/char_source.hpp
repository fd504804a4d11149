#pragma once
// A stream of characters with lookahead, read by the list-directed input scanner: either a
// unit's input or a value held in memory (a repeated value given again).

#include <cstddef>
#include <string>

namespace tandem::textio {

class CharSource {
 public:
  static constexpr int kEnd = -1;

  virtual ~CharSource() = default;
  // The character `ahead` places after the current one (as unsigned char), or kEnd.
  virtual int peek(std::size_t ahead = 0) = 0;
  virtual void advance() = 0;

  // A line feed, or a carriage return directly before one (a line written on Windows).
  bool at_line_end() { return peek() == '\n' || (peek() == '\r' && peek(1) == '\n'); }
  void skip_line_end() {
    if (peek() == '\r') {
      advance();
    }
    advance();
  }
};

class StringSource : public CharSource {
 public:
  explicit StringSource(std::string text) : text_(std::move(text)) {}
  int peek(std::size_t ahead = 0) override {
    const std::size_t at = pos_ + ahead;
    return at < text_.size() ? static_cast<unsigned char>(text_[at]) : kEnd;
  }
  void advance() override { ++pos_; }

 private:
  std::string text_;
  std::size_t pos_ = 0;
};

}  // namespace tandem::textio
