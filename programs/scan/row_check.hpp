#pragma once
// Whether a line of a part is a whole catalogue row of its scan, before the merge copies it.
//
// A CSV row must have every column (RFC 4180 quoting), a JSON Lines row must be one object
// with every column as key, in order. Each value must be of its column's kind: whole
// numbers for index, total, k2, k1 and order; a real (nan, inf, -inf in CSV, null in JSON)
// for the reals; true or false for detectable; the equilibria, ranges and checks in the
// catalogue's notation. The row must also be the one its index stands for in the scan: its
// total, its resonance and order, its placed planet. A column this reader does not know is
// only required to be present.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/catalogue.hpp"
#include "scan/request.hpp"

namespace tandem::scan {

struct RowRules {
  common::Format format = common::Format::csv;
  std::vector<std::string> columns;
  std::vector<ResonancePair> resonances;  // the whole scan, in catalogue order
  std::string placed;                     // "planet1" or "planet2"
};

struct CheckedRow {
  int index = 0;      // 1-based, within 1..resonances.size()
  std::string error;  // empty when the row is whole; else why not
};

// The line without its line end.
CheckedRow check_row(std::string_view line, const RowRules& rules);

}  // namespace tandem::scan
