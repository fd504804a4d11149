#pragma once
// Reading the fields of one catalogue line: a CSV line split into its fields (RFC 4180
// quotes), and numbers read without the locale (std::from_chars), blanks around them and a
// leading plus sign allowed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tandem::bodies {

// std::nullopt when a quote is left open at the end of the line.
std::optional<std::vector<std::string>> split_csv(std::string_view line);

std::string_view trim(std::string_view s);

// The whole field as a finite number, or std::nullopt (empty, trailing text, not finite).
std::optional<double> read_number(std::string_view field);

}  // namespace tandem::bodies
