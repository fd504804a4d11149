#include "textio/format_parse.hpp"

#include <cctype>
#include <stdexcept>
#include <string>

namespace tandem::textio {
namespace {

// Bounds every number in a format, so a mistyped format cannot overflow or exhaust memory.
constexpr int kLargestNumber = 100000;

class FormatScanner {
 public:
  explicit FormatScanner(std::string_view text) : text_(text) {}

  std::vector<EditDescriptor> descriptors() {
    expect('(');
    std::vector<EditDescriptor> result;
    if (peek() == ')') {
      ++pos_;
    } else {
      do {
        append_group(result);
      } while (take_comma_or_close());
    }
    if (peek() != '\0') {
      fail("text after the closing parenthesis");
    }
    return result;
  }

 private:
  char peek() {
    while (pos_ < text_.size() && text_[pos_] == ' ') {
      ++pos_;
    }
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }

  [[noreturn]] void fail(const std::string& what) const {
    throw std::invalid_argument("bad format \"" + std::string(text_) + "\": " + what);
  }

  void expect(char c) {
    if (peek() != c) {
      fail(std::string("expected '") + c + "'");
    }
    ++pos_;
  }

  bool has_number() { return std::isdigit(static_cast<unsigned char>(peek())) != 0; }

  int number() {
    if (!has_number()) {
      fail("expected a number");
    }
    int value = 0;
    while (has_number()) {
      value = value * 10 + (text_[pos_++] - '0');
      if (value > kLargestNumber) {
        fail("number too large");
      }
    }
    return value;
  }

  void append_group(std::vector<EditDescriptor>& out) {
    const int repeat = has_number() ? number() : 1;
    if (repeat < 1) {
      fail("repeat count below one");
    }
    const EditDescriptor d = descriptor();
    out.insert(out.end(), static_cast<std::size_t>(repeat), d);
  }

  EditDescriptor descriptor() {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(peek())));
    ++pos_;
    if (letter == 'A') {
      return {'A', has_number() ? positive_width() : -1, 0};
    }
    if (letter != 'F' && letter != 'E') {
      fail("unknown edit descriptor");
    }
    EditDescriptor d{letter, positive_width(), 0};
    expect('.');
    d.decimals = number();
    if (letter == 'E' && d.decimals < 1) {
      fail("E needs at least one digit");
    }
    return d;
  }

  int positive_width() {
    const int width = number();
    if (width < 1) {
      fail("zero field width");
    }
    return width;
  }

  bool take_comma_or_close() {
    const char c = peek();
    ++pos_;
    if (c == ',') {
      return true;
    }
    if (c != ')') {
      fail("expected ',' or ')'");
    }
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<EditDescriptor> parse_format(std::string_view format) {
  return FormatScanner(format).descriptors();
}

}  // namespace tandem::textio
