#include "textio/list_reader.hpp"

#include <climits>

#include "textio/fatal_report.hpp"
#include "textio/real_lexer.hpp"

namespace tandem::textio {
namespace {

const char* const kIncomprehensible = "incomprehensible list input";

bool is_blank(int c) {
  return c == ' ' || c == '\t';
}

void assign(const TextTarget& target, const std::string& value) {
  std::string fixed = value.substr(0, target.length);
  fixed.resize(target.length, ' ');
  *target.value = std::move(fixed);
}

// A repeated value may meet a destination of the other kind, so the number is read again
// from its characters for every real destination.
double real_value(const std::string& characters) {
  StringSource source(characters);
  return to_double(lex_real(source));
}

// Passes a source through, keeping the characters consumed: a number is kept as written so
// that later copies of a repeated value can be given to destinations of either kind.
class Recorder : public CharSource {
 public:
  Recorder(CharSource& in, std::string& out) : in_(in), out_(out) {}
  int peek(std::size_t ahead) override { return in_.peek(ahead); }
  void advance() override {
    out_ += static_cast<char>(in_.peek());
    in_.advance();
  }

 private:
  CharSource& in_;
  std::string& out_;
};

}  // namespace

bool ListReader::read_into(const ReadTarget& target) {
  const auto* real = std::get_if<std::optional<double>*>(&target);
  const std::optional<Value> value = next_value(real != nullptr ? Kind::real : Kind::text);
  if (!value) {
    return false;
  }
  if (!value->has_value()) {
    return true;  // a null value: the destination keeps what it held
  }
  if (real != nullptr) {
    **real = real_value(**value);
  } else {
    assign(std::get<TextTarget>(target), **value);
  }
  return true;
}

bool ListReader::finish() {
  while (in_.peek() != CharSource::kEnd) {
    const bool line_feed = in_.peek() == '\n';
    in_.advance();
    if (line_feed) {
      return false;
    }
  }
  return true;
}

std::optional<ListReader::Value> ListReader::next_value(Kind kind) {
  if (copies_left_ > 0) {
    --copies_left_;
    return repeated_;
  }
  skip_separators();
  if (in_.peek() == ',') {
    in_.advance();
    return Value();
  }
  if (in_.peek() == '/') {
    return std::nullopt;
  }
  Value value = read_item(kind);
  skip_value_separator();
  return value;
}

void ListReader::skip_separators() {
  for (;;) {
    if (in_.peek() == CharSource::kEnd) {
      throw IoFailure("list in", "end of file");
    }
    if (in_.at_line_end()) {
      in_.skip_line_end();
    } else if (is_blank(in_.peek())) {
      in_.advance();
    } else {
      return;
    }
  }
}

ListReader::Value ListReader::read_item(Kind kind) {
  const std::optional<int> count = repeat_count(kind);
  Value value;
  if (!count || !at_value_end()) {
    if (kind == Kind::real) {
      value = read_real();
    } else {
      value = in_.peek() == '\'' || in_.peek() == '"' ? read_quoted() : read_undelimited();
    }
  }
  if (count) {
    copies_left_ = *count - 1;
    repeated_ = value;
  }
  return value;
}

// Leading digits directly followed by an asterisk. For a real destination a sign or a
// missing number in front of the asterisk is an error, not the start of a value.
std::optional<int> ListReader::repeat_count(Kind kind) {
  std::size_t ahead = 0;
  const bool signed_count = kind == Kind::real && (in_.peek() == '+' || in_.peek() == '-');
  if (signed_count) {
    ++ahead;
  }
  const std::size_t first_digit = ahead;
  long long count = 0;
  bool too_long = false;
  for (; is_digit(in_.peek(ahead)); ++ahead) {
    count = count * 10 + (in_.peek(ahead) - '0');
    too_long = too_long || count > INT_MAX;
    count = too_long ? INT_MAX : count;
  }
  if (in_.peek(ahead) != '*' || (kind == Kind::text && ahead == 0)) {
    return std::nullopt;
  }
  if (signed_count || ahead == first_digit || count == 0 || too_long) {
    throw IoFailure("bad repetition count", kIncomprehensible);
  }
  for (std::size_t i = 0; i <= ahead; ++i) {
    in_.advance();
  }
  return static_cast<int>(count);
}

ListReader::Value ListReader::read_real() {
  std::string characters;
  Recorder recorder(in_, characters);
  lex_real(recorder);
  return characters;
}

ListReader::Value ListReader::read_quoted() {
  const int quote = in_.peek();
  in_.advance();
  std::string text;
  for (;;) {
    const int c = in_.peek();
    if (c == CharSource::kEnd) {
      throw IoFailure("list in", "end of file");
    }
    if (c == quote && in_.peek(1) != quote) {
      in_.advance();
      return text;
    }
    if (in_.at_line_end()) {
      in_.skip_line_end();
      continue;
    }
    text += static_cast<char>(c);
    in_.advance();
    if (c == quote) {
      in_.advance();  // the second of a doubled quote
    }
  }
}

ListReader::Value ListReader::read_undelimited() {
  std::string text;
  while (!at_value_end()) {
    text += static_cast<char>(in_.peek());
    in_.advance();
  }
  return text;
}

bool ListReader::at_value_end() {
  const int c = in_.peek();
  return c == CharSource::kEnd || is_blank(c) || c == ',' || c == '/' || in_.at_line_end();
}

void ListReader::skip_value_separator() {
  while (is_blank(in_.peek())) {
    in_.advance();
  }
  if (in_.peek() == ',') {
    in_.advance();
  }
}

}  // namespace tandem::textio
