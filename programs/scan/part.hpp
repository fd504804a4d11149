#pragma once
// The parts of a scan run in pieces (--shard I/N), and their merge into the catalogue a
// single process writes.
//
// A part opens with a line that says which scan it belongs to: the JSON object
// {"tandem_scan_part": {...}} in JSON Lines, the same object after "# tandem-scan part " in
// CSV (whose header row follows it). The object holds the program's version, the format,
// the placed planet, the system as read from the input file ("input": its name and the
// thirteen values, in shortest round-trip form), the whole list of resonances in catalogue
// order and, for a scan with --verify only, the options of the check ("verify":
// {"offset_deg", "periods"}): everything that decides the rows and their columns, in a
// line whose size does not grow with the input file. Rows are copied by the merge as they
// were written, so the merged catalogue is byte for byte the one a single process writes.
//
// A part is untrusted input: its part line must be well-formed (JSON nested at most a few
// deep, every member of its type), and every line after it a whole row of that scan
// (scan/row_check.hpp) ending with its line end; otherwise the part is refused, naming the
// file and the line.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "common/catalogue.hpp"
#include "scan/request.hpp"
#include "tandem/system.hpp"
#include "tandem/verify.hpp"

namespace tandem::scan {

struct ScanIdentity {
  std::string version;
  common::Format format = common::Format::csv;
  Placement placement = Placement::planet1;
  std::string name;                       // line 1 of the input file
  System system;                          // the values read from it
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

// One part as read: its scan (the part line without the shard), its place, its rows.
struct PartFile {
  std::filesystem::path file;
  nlohmann::ordered_json scan;
  int shard = 0;
  int shards = 0;
  common::Format format = common::Format::csv;
  std::vector<std::pair<int, std::string>> rows;  // index, line with its end
};

// Reads and checks one part from `in`; `file` names it in a refusal (MergeRefused).
PartFile read_part(std::istream& in, const std::filesystem::path& file);

// Reads the parts, checks that they are the N parts of one scan, each once and complete,
// and returns the catalogue's text: the CSV header row, then every row in index order.
std::string merge_parts(const std::vector<std::filesystem::path>& parts);

}  // namespace tandem::scan
