#pragma once
// Catalogue rows of the tandem programs, as CSV (a header row of column names, then one
// row per record) or as JSON Lines (one object per record, keys in column order).
//
// Reals are written in the shortest form that reads back to the same double
// (std::to_chars without a precision: 1e-09, 0.1, 343); a value that is not finite is
// nan, inf or -inf in CSV and null in JSON, which has no such numbers. Strings are
// quoted in CSV where they hold a comma, a quote or a line end (RFC 4180), and escaped by
// nlohmann-json in JSON, bytes that are not UTF-8 replaced. A cell holds both of its
// forms, because where JSON has a list or an object CSV joins the values into one field.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tandem::common {

enum class Format { csv, jsonl };

// The shortest text that reads back as x; nan, inf, -inf when x is not finite.
std::string real_text(double x);

// A JSON value serialised compactly, its reals written by real_text (null when not finite).
std::string json_text(const nlohmann::ordered_json& value);

struct Cell {
  // What the value is, for a reader that takes cells without text (Python's DataFrames).
  enum class Kind { real, integer, boolean, text, composite };
  std::string csv;   // the field as it reads, before CSV quoting
  std::string json;  // a serialised JSON value
  Kind kind = Kind::text;
};

Cell real_cell(double x);
Cell integer_cell(long long n);
Cell bool_cell(bool b);  // true / false in both forms
Cell text_cell(std::string_view text);
// A list or an object in JSON, and the same values joined into one field for CSV.
Cell composite_cell(std::string csv, const nlohmann::ordered_json& json);

// The columns of a catalogue and the lines of its file, each with its line end.
class Catalogue {
 public:
  Catalogue(Format format, std::vector<std::string> columns);
  Format format() const { return format_; }
  const std::vector<std::string>& columns() const { return columns_; }
  // The CSV header row; empty for JSON Lines.
  std::string header() const;
  // One record; cells in column order, as many as there are columns.
  std::string line(const std::vector<Cell>& cells) const;

 private:
  Format format_;
  std::vector<std::string> columns_;
};

// A CSV field quoted where it must be.
std::string csv_field(std::string_view text);

// The fields of one CSV row (without its line end), unquoted; nothing when the row is not
// well-formed RFC 4180 (a quote inside an unquoted field, an unclosed quote, text after a
// closing quote).
std::optional<std::vector<std::string>> csv_fields(std::string_view row);

}  // namespace tandem::common
