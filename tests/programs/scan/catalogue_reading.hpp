#pragma once
// Reading a catalogue back in tests: CSV rows split by the RFC 4180 rules, by column name.

#include <map>
#include <string>
#include <vector>

namespace tandem::testing {

std::vector<std::string> csv_fields(const std::string& line);

using CsvRow = std::map<std::string, std::string>;

// The rows of a CSV catalogue (header row first), each by column name.
std::vector<CsvRow> csv_rows(const std::string& text);

// A real as written in a catalogue, read back exactly.
double real_of(const std::string& text);

}  // namespace tandem::testing
