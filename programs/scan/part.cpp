#include "scan/part.hpp"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "scan/rows.hpp"

namespace tandem::scan {
namespace {

using nlohmann::ordered_json;
namespace fs = std::filesystem;

constexpr const char* csv_prefix = "# tandem-scan part ";
constexpr const char* part_key = "tandem_scan_part";

std::string format_text(common::Format f) {
  return f == common::Format::csv ? "csv" : "jsonl";
}

ordered_json identity_json(const ScanIdentity& scan, const Shard& shard) {
  ordered_json list = ordered_json::array();
  for (const ResonancePair& r : scan.resonances) {
    list.push_back(resonance_text(r));
  }
  ordered_json identity = {{"shard", shard.index},
                           {"shards", shard.count},
                           {"version", scan.version},
                           {"format", format_text(scan.format)},
                           {"placed", placement_text(scan.placement)},
                           {"input", scan.input},
                           {"resonances", list}};
  // Absent without --verify, so that the part line of such a scan is what it always was.
  if (scan.verify) {
    identity["verify"] = {{"offset_deg", scan.verify->offset_deg},
                          {"periods", scan.verify->periods}};
  }
  return {{part_key, identity}};
}

// The catalogue's columns for a scan of this identity.
const std::vector<std::string>& columns_of(const ordered_json& scan) {
  return row_columns(scan.contains("verify"));
}

struct Part {
  fs::path file;
  ordered_json scan;  // the identity without the shard
  int shard = 0;
  int shards = 0;
  common::Format format = common::Format::csv;
  std::vector<std::pair<int, std::string>> rows;  // index, line with its end
};

[[noreturn]] void refuse(const fs::path& file, const std::string& why) {
  throw MergeRefused(file.string() + ": " + why);
}

// The integer that opens a CSV row, followed by its comma.
std::optional<int> leading_field(std::string_view text) {
  int n = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), n);
  if (res.ec != std::errc() || res.ptr == text.data() || res.ptr == text.data() + text.size() ||
      *res.ptr != ',') {
    return std::nullopt;
  }
  return n;
}

// The index of a row: the first CSV field, or the "index" member of the JSON object.
std::optional<int> row_index(const std::string& line, common::Format format) {
  if (format == common::Format::csv) {
    return leading_field(line);
  }
  const auto row = ordered_json::parse(line, nullptr, false);
  if (!row.is_object() || !row.contains("index") || !row["index"].is_number_integer()) {
    return std::nullopt;
  }
  return row["index"].get<int>();
}

Part read_part(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    refuse(file, "cannot be read");
  }
  Part part;
  part.file = file;
  std::string first;
  std::getline(in, first);
  std::string json = first;
  if (first.rfind(csv_prefix, 0) == 0) {
    json = first.substr(std::string(csv_prefix).size());
  }
  const auto head = ordered_json::parse(json, nullptr, false);
  if (!head.is_object() || !head.contains(part_key) || !head[part_key].is_object()) {
    refuse(file,
           "not a part of a tandem-scan run with --shard (its first line does not say "
           "which scan it belongs to)");
  }
  part.scan = head[part_key];
  if (!part.scan["shard"].is_number_integer() || !part.scan["shards"].is_number_integer()) {
    refuse(file, "its part line has no shard number");
  }
  part.shard = part.scan["shard"].get<int>();
  part.shards = part.scan["shards"].get<int>();
  if (part.shards < 1 || part.shard < 1 || part.shard > part.shards) {
    refuse(file, "its part line names part " + std::to_string(part.shard) + "/" +
                     std::to_string(part.shards));
  }
  part.scan.erase("shard");
  part.format =
      part.scan.value("format", "") == "jsonl" ? common::Format::jsonl : common::Format::csv;
  if (part.format == common::Format::csv) {
    std::string header;
    std::getline(in, header);
    if (header + "\n" != common::Catalogue(common::Format::csv, columns_of(part.scan)).header()) {
      refuse(file, "its second line is not the catalogue's header row");
    }
  }
  int line_number = part.format == common::Format::csv ? 2 : 1;
  for (std::string line; std::getline(in, line);) {
    ++line_number;
    const auto index = row_index(line, part.format);
    if (!index) {
      refuse(file, "line " + std::to_string(line_number) + " is not a catalogue row");
    }
    part.rows.emplace_back(*index, line + "\n");
  }
  return part;
}

// The first member in which two identities differ, in words, for the refusal. A member
// that only one of them has (verify) differs too.
std::string first_difference(const ordered_json& a, const ordered_json& b) {
  static const std::map<std::string, std::string> nouns = {
      {"shards", "number of parts"}, {"version", "program version"},
      {"format", "format"},          {"placed", "placed planet"},
      {"input", "input file"},       {"resonances", "list of resonances"}};
  for (const auto& [key, value] : a.items()) {
    if (key != "verify" && (!b.contains(key) || b[key] != value)) {
      const auto noun = nouns.find(key);
      return "the " + (noun == nouns.end() ? key : noun->second) + " differs";
    }
  }
  if (a.contains("verify") != b.contains("verify")) {
    return a.contains("verify") ? "it was made without --verify, the other with it"
                                : "it was made with --verify, the other without it";
  }
  if (a.contains("verify") && a["verify"] != b["verify"]) {
    return "the options of --verify differ";
  }
  return "its part line differs";
}

void check_rows(const Part& part, std::size_t total) {
  std::vector<int> expected;
  for (std::size_t i = static_cast<std::size_t>(part.shard); i <= total;
       i += static_cast<std::size_t>(part.shards)) {
    expected.push_back(static_cast<int>(i));
  }
  std::vector<int> got;
  for (const auto& row : part.rows) {
    got.push_back(row.first);
  }
  std::sort(got.begin(), got.end());
  if (const auto twice = std::adjacent_find(got.begin(), got.end()); twice != got.end()) {
    refuse(part.file, "the row of index " + std::to_string(*twice) + " appears twice");
  }
  std::vector<int> missing;
  std::set_difference(expected.begin(), expected.end(), got.begin(), got.end(),
                      std::back_inserter(missing));
  std::vector<int> foreign;
  std::set_difference(got.begin(), got.end(), expected.begin(), expected.end(),
                      std::back_inserter(foreign));
  const std::string which =
      "part " + std::to_string(part.shard) + "/" + std::to_string(part.shards);
  if (!foreign.empty()) {
    refuse(part.file, "holds the row of index " + std::to_string(foreign.front()) +
                          ", which is not one of " + which);
  }
  if (!missing.empty()) {
    refuse(part.file, which + " lacks " + std::to_string(missing.size()) + " of its " +
                          std::to_string(expected.size()) + " rows, from index " +
                          std::to_string(missing.front()) + " on (was its run interrupted?)");
  }
}

}  // namespace

std::string part_line(const ScanIdentity& scan, const Shard& shard) {
  const std::string json = common::json_text(identity_json(scan, shard));
  return (scan.format == common::Format::csv ? csv_prefix + json : json) + "\n";
}

std::string merge_parts(const std::vector<fs::path>& files) {
  if (files.empty()) {
    throw MergeRefused("no parts to merge");
  }
  std::vector<Part> parts;
  for (const fs::path& file : files) {
    parts.push_back(read_part(file));
  }
  const Part& first = parts.front();
  std::map<int, const Part*> by_shard;
  for (const Part& part : parts) {
    if (part.scan != first.scan) {
      refuse(part.file, "not from the same scan as " + first.file.string() + ": " +
                            first_difference(first.scan, part.scan));
    }
    const auto [at, fresh] = by_shard.emplace(part.shard, &part);
    if (!fresh) {
      refuse(part.file, "part " + std::to_string(part.shard) + "/" + std::to_string(part.shards) +
                            " is given twice (also " + at->second->file.string() + ")");
    }
  }
  for (int shard = 1; shard <= first.shards; ++shard) {
    if (by_shard.count(shard) == 0) {
      throw MergeRefused("part " + std::to_string(shard) + "/" + std::to_string(first.shards) +
                         " is missing");
    }
  }
  const std::size_t total = first.scan["resonances"].size();
  std::vector<const std::string*> rows(total, nullptr);
  for (const Part& part : parts) {
    check_rows(part, total);
    for (const auto& [index, line] : part.rows) {
      rows[static_cast<std::size_t>(index - 1)] = &line;
    }
  }
  std::string out = common::Catalogue(first.format, columns_of(first.scan)).header();
  for (const std::string* line : rows) {
    out += *line;
  }
  return out;
}

}  // namespace tandem::scan
