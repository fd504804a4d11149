#pragma once
// The scanner of one list-directed read statement: values separated by blanks, tabs,
// commas or line ends; a comma alone is a null value, a slash ends the statement, and
// r*v / r* give r copies of a value or r null values.
//
// Memory does not grow with the input: a text value keeps only the characters its
// destination holds (the rest is read and dropped), a number only what rounding needs
// (textio/real_lexer.hpp), and no character is looked at more than one place ahead. A
// repeated value, which may meet destinations of either kind and any length, keeps its
// first kRepeatedKeep characters as written (or as many as its first destination holds,
// if more), besides the number read from it.

#include <cstddef>
#include <optional>
#include <string>

#include "textio/char_source.hpp"
#include "textio/real_lexer.hpp"
#include "textio/record_layer.hpp"

namespace tandem::textio {

inline constexpr std::size_t kRepeatedKeep = 1024;

class ListReader {
 public:
  explicit ListReader(CharSource& in) : in_(in) {}

  // Gives the destination its value. Returns false when a slash has ended the statement.
  // Throws IoFailure on malformed input or when the input ends before a value.
  bool read_into(const ReadTarget& target);
  // Skips the rest of the line, keeping its first `keep` characters (without the line
  // end) in *rest when given. Returns true when the input ended before a line end.
  bool finish(std::string* rest = nullptr, std::size_t keep = 0);

 private:
  enum class Kind { real, text };
  // One value as it stands in the input: its characters (a string's contents), as many
  // as are kept, and the number when it was read as one.
  struct Value {
    std::string text;
    std::optional<RealText> real;
  };
  // A value, or none for a null value.
  using Item = std::optional<Value>;

  std::optional<Item> next_value(Kind kind, std::size_t keep);  // empty after a slash
  void skip_separators();
  Item read_real_item();
  Item read_text_item(std::size_t keep);
  Item repeat(long long count, Kind kind, std::size_t keep);
  std::string read_quoted(std::size_t keep);
  void read_undelimited(std::string& text, std::size_t keep);
  bool at_value_end();
  void skip_value_separator();

  CharSource& in_;
  long long copies_left_ = 0;
  Item repeated_;
};

}  // namespace tandem::textio
