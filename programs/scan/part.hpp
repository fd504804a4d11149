#pragma once
// The parts of a scan run in pieces (--shard I/N), and their merge into the catalogue a
// single process writes.
//
// A part opens with a line that says which scan it belongs to: the JSON object
// {"tandem_scan_part": {...}} in JSON Lines, the same object after "# tandem-scan part " in
// CSV (whose header row follows it). The object holds the program's version, the format,
// the placed planet, the input file's text, the whole list of resonances in catalogue
// order and, for a scan with --verify only, the options of the check ("verify":
// {"offset_deg", "periods"}): everything that decides the rows and their columns. Rows are copied
// by the merge as they were written, so the merged catalogue is byte for byte the one a single
// process writes.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/catalogue.hpp"
#include "scan/request.hpp"
#include "tandem/verify.hpp"

namespace tandem::scan {

struct ScanIdentity {
  std::string version;
  common::Format format = common::Format::csv;
  Placement placement = Placement::planet1;
  std::string input;                      // the input file's bytes
  std::vector<ResonancePair> resonances;  // the whole scan, in catalogue order
  std::optional<VerifyOptions> verify;    // the rows' N-body check, when asked for
};

// The first line of part `shard`, with its line end.
std::string part_line(const ScanIdentity& scan, const Shard& shard);

// A merge that cannot be done; what() says why, naming the file.
class MergeRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the parts, checks that they are the N parts of one scan, each once and complete,
// and returns the catalogue's text: the CSV header row, then every row in index order.
std::string merge_parts(const std::vector<std::filesystem::path>& parts);

}  // namespace tandem::scan
