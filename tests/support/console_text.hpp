#pragma once
// Console texts that end-to-end tests expect, built from the record rule that a
// list-directed record holding one text item starts with one blank.

#include <string>
#include <string_view>

#include "banner.hpp"

namespace tandem::testing {

inline std::string record(std::string_view text) {
  std::string line(" ");
  line.append(text).append("\n");
  return line;
}

inline std::string banner_text() {
  std::string s;
  for (auto line : banner_lines)
    s += record(line);
  return s;
}

inline std::string prompt_text() {
  return record("RESONANCE K2:K1 ? (K2 >= K1)") +
         record("(ex. 3,2 for hildas or plutinos, <50,50)");
}

inline const std::string hilda_input =
    "star\n1.0\na e i node peri mass\n3.97 0.10 5.0 100.0 30.0 1.0e-9\n"
    "5.2 0.048 1.3 100.5 14.7 9.5e-4\n";

// The fatal report of a list-directed statement on the given unit: its first line, then
// the state lines.
inline std::string fatal_report(std::string_view first_line, std::string_view unit,
                                std::string_view lately) {
  std::string text(first_line);
  text.append("apparent state: unit ").append(unit);
  text.append("\nlast format: list io\nlately ").append(lately);
  text.append(" sequential formatted external IO\n");
  return text;
}

}  // namespace tandem::testing
