#pragma once
// The scanner of one list-directed read statement: values separated by blanks, tabs,
// commas or line ends; a comma alone is a null value, a slash ends the statement, and
// r*v / r* give r copies of a value or r null values.

#include <optional>
#include <string>

#include "textio/char_source.hpp"
#include "textio/record_layer.hpp"

namespace tandem::textio {

class ListReader {
 public:
  explicit ListReader(CharSource& in) : in_(in) {}

  // Gives the destination its value. Returns false when a slash has ended the statement.
  // Throws IoFailure on malformed input or when the input ends before a value.
  bool read_into(const ReadTarget& target);
  // Skips the rest of the line. Returns true when the input ended before a line end.
  bool finish();

 private:
  enum class Kind { real, text };
  // One value as it stands in the input: none for a null value, otherwise the number's
  // characters or the string's contents.
  using Value = std::optional<std::string>;

  std::optional<Value> next_value(Kind kind);  // empty when a slash ends the statement
  void skip_separators();
  Value read_item(Kind kind);
  std::optional<int> repeat_count(Kind kind);
  Value read_real();
  Value read_quoted();
  Value read_undelimited();
  bool at_value_end();
  void skip_value_separator();

  CharSource& in_;
  int copies_left_ = 0;
  Value repeated_;
};

}  // namespace tandem::textio
