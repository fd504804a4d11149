#include "catalogue_reading.hpp"

#include <charconv>
#include <sstream>
#include <stdexcept>

namespace tandem::testing {

std::vector<std::string> csv_fields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::vector<CsvRow> csv_rows(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  std::getline(in, line);
  const std::vector<std::string> names = csv_fields(line);
  std::vector<CsvRow> rows;
  while (std::getline(in, line)) {
    const std::vector<std::string> fields = csv_fields(line);
    if (fields.size() != names.size()) {
      throw std::runtime_error("a row of " + std::to_string(fields.size()) + " fields: " + line);
    }
    CsvRow row;
    for (std::size_t i = 0; i < names.size(); ++i) {
      row[names[i]] = fields[i];
    }
    rows.push_back(row);
  }
  return rows;
}

double real_of(const std::string& text) {
  double x = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), x);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    throw std::runtime_error("not a real: '" + text + "'");
  }
  return x;
}

}  // namespace tandem::testing
