#include "textio/list_reader.hpp"

#include <algorithm>
#include <climits>

#include "textio/fatal_report.hpp"

namespace tandem::textio {
namespace {

const char* const kIncomprehensible = "incomprehensible list input";

bool is_blank(int c) {
  return c == ' ' || c == '\t';
}

void keep_char(std::string& text, int c, std::size_t keep) {
  if (text.size() < keep) {
    text += static_cast<char>(c);
  }
}

void assign(const TextTarget& target, const std::string& value) {
  std::string fixed = value.substr(0, target.length);
  fixed.resize(target.length, ' ');
  *target.value = std::move(fixed);
}

// Leading digits that may turn out to be a repeat count: their value, saturated just
// above the largest count.
class CountDigits {
 public:
  void add(int c) {
    ++digits_;
    value_ = std::min<long long>(value_ * 10 + (c - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  bool any() const { return digits_ > 0; }
  // The count before an asterisk; zero or too long is an error.
  long long count() const {
    if (value_ == 0 || value_ > INT_MAX) {
      throw IoFailure("bad repetition count", kIncomprehensible);
    }
    return value_;
  }

 private:
  std::size_t digits_ = 0;
  long long value_ = 0;
};

// Passes a source through, keeping the first `keep` characters consumed: the text of a
// repeated number, for copies that go to text destinations.
class Recorder : public CharSource {
 public:
  Recorder(CharSource& in, std::string& out, std::size_t keep) : in_(in), out_(out), keep_(keep) {}
  int peek(std::size_t ahead) override { return in_.peek(ahead); }
  void advance() override {
    keep_char(out_, in_.peek(), keep_);
    in_.advance();
  }

 private:
  CharSource& in_;
  std::string& out_;
  std::size_t keep_;
};

}  // namespace

bool ListReader::read_into(const ReadTarget& target) {
  const auto* real = std::get_if<std::optional<double>*>(&target);
  const auto* text = std::get_if<TextTarget>(&target);
  const std::optional<Item> item =
      next_value(real != nullptr ? Kind::real : Kind::text, text != nullptr ? text->length : 0);
  if (!item) {
    return false;
  }
  if (!item->has_value()) {
    return true;  // a null value: the destination keeps what it held
  }
  const Value& value = **item;
  if (real != nullptr) {
    // A value first read as text is read as a number from its characters.
    if (value.real) {
      **real = to_double(*value.real);
    } else {
      StringSource source(value.text);
      **real = to_double(lex_real(source));
    }
  } else {
    assign(*text, value.text);
  }
  return true;
}

bool ListReader::finish(std::string* rest, std::size_t keep) {
  while (in_.peek() != CharSource::kEnd) {
    if (rest != nullptr && !in_.at_line_end()) {
      keep_char(*rest, in_.peek(), keep);
    }
    const bool line_feed = in_.peek() == '\n';
    in_.advance();
    if (line_feed) {
      return false;
    }
  }
  return true;
}

std::optional<ListReader::Item> ListReader::next_value(Kind kind, std::size_t keep) {
  if (copies_left_ > 0) {
    --copies_left_;
    return repeated_;
  }
  skip_separators();
  if (in_.peek() == ',') {
    in_.advance();
    return Item();
  }
  if (in_.peek() == '/') {
    return std::nullopt;
  }
  Item item = kind == Kind::real ? read_real_item() : read_text_item(keep);
  skip_value_separator();
  return item;
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

// A number, or a repeat count: the sign and the leading digits are read once, and only the
// character after them tells which. A sign or a missing number in front of the asterisk
// is an error, not the start of a value.
ListReader::Item ListReader::read_real_item() {
  RealText text;
  const bool is_signed = in_.peek() == '+' || in_.peek() == '-';
  if (is_signed) {
    text.negative = in_.peek() == '-';
    in_.advance();
  }
  CountDigits count;
  for (; is_digit(in_.peek()); in_.advance()) {
    count.add(in_.peek());
    text.add_integer_digit(static_cast<char>(in_.peek()));
  }
  if (in_.peek() == '*') {
    if (is_signed || !count.any()) {
      throw IoFailure("bad repetition count", kIncomprehensible);
    }
    const long long copies = count.count();
    in_.advance();
    return repeat(copies, Kind::real, 0);
  }
  lex_real_rest(in_, text);
  return Value{std::string(), text};
}

// A quoted string, an undelimited one, or a repeat count (digits and an asterisk).
ListReader::Item ListReader::read_text_item(std::size_t keep) {
  if (in_.peek() == '\'' || in_.peek() == '"') {
    return Value{read_quoted(keep), std::nullopt};
  }
  std::string text;
  CountDigits count;
  for (; is_digit(in_.peek()); in_.advance()) {
    count.add(in_.peek());
    keep_char(text, in_.peek(), keep);
  }
  if (count.any() && in_.peek() == '*') {
    const long long copies = count.count();
    in_.advance();
    return repeat(copies, Kind::text, keep);
  }
  read_undelimited(text, keep);  // the digits began the value
  return Value{std::move(text), std::nullopt};
}

// After "r*": the value that follows directly, or r null values when none does.
ListReader::Item ListReader::repeat(long long count, Kind kind, std::size_t keep) {
  Item value;
  if (!at_value_end()) {
    keep = std::max(keep, kRepeatedKeep);
    if (kind == Kind::real) {
      std::string written;
      Recorder recorder(in_, written, keep);
      RealText number = lex_real(recorder);
      value = Value{std::move(written), std::move(number)};
    } else if (in_.peek() == '\'' || in_.peek() == '"') {
      value = Value{read_quoted(keep), std::nullopt};
    } else {
      std::string text;
      read_undelimited(text, keep);
      value = Value{std::move(text), std::nullopt};
    }
  }
  copies_left_ = count - 1;
  repeated_ = value;
  return value;
}

std::string ListReader::read_quoted(std::size_t keep) {
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
    keep_char(text, c, keep);
    in_.advance();
    if (c == quote) {
      in_.advance();  // the second of a doubled quote
    }
  }
}

void ListReader::read_undelimited(std::string& text, std::size_t keep) {
  while (!at_value_end()) {
    keep_char(text, in_.peek(), keep);
    in_.advance();
  }
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
