#include "bodies/fields.hpp"

#include <charconv>
#include <cmath>

namespace tandem::bodies {

std::optional<std::vector<std::string>> split_csv(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t k = 0; k < line.size(); ++k) {
    const char c = line[k];
    if (quoted) {
      if (c == '"' && k + 1 < line.size() && line[k + 1] == '"') {
        fields.back() += '"';
        ++k;
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
  if (quoted) {
    return std::nullopt;
  }
  return fields;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

std::optional<double> read_number(std::string_view field) {
  std::string_view s = trim(field);
  if (!s.empty() && s.front() == '+') {
    s.remove_prefix(1);
  }
  double x = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), x);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(x)) {
    return std::nullopt;
  }
  return x;
}

}  // namespace tandem::bodies
