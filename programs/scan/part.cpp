#include "scan/part.hpp"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "common/untrusted_json.hpp"
#include "scan/row_check.hpp"
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

ordered_json planet_json(const Planet& p) {
  return ordered_json::array({p.a, p.e, p.i, p.node, p.peri, p.mass});
}

ordered_json identity_json(const ScanIdentity& scan, const Shard& shard) {
  ordered_json list = ordered_json::array();
  for (const ResonancePair& r : scan.resonances) {
    list.push_back(resonance_text(r));
  }
  const ordered_json input = {{"name", scan.name},
                              {"star_mass", scan.system.star_mass},
                              {"planet1", planet_json(scan.system.planet1)},
                              {"planet2", planet_json(scan.system.planet2)}};
  ordered_json identity = {{"shard", shard.index},
                           {"shards", shard.count},
                           {"version", scan.version},
                           {"format", format_text(scan.format)},
                           {"placed", placement_text(scan.placement)},
                           {"input", input},
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

[[noreturn]] void refuse(const fs::path& file, const std::string& why) {
  throw MergeRefused(file.string() + ": " + why);
}

bool numbers(const ordered_json& list, std::size_t count) {
  if (!list.is_array() || list.size() != count) {
    return false;
  }
  for (const auto& x : list) {
    if (!x.is_number()) {
      return false;
    }
  }
  return true;
}

bool member_is(const ordered_json& object, const char* key, bool (ordered_json::*test)() const) {
  return object.contains(key) && (object[key].*test)();
}

// Why a part line's scan is not one this program writes; empty when it is.
std::string malformed(const ordered_json& scan) {
  using J = ordered_json;
  for (const char* key : {"shard", "shards"}) {
    if (!member_is(scan, key, &J::is_number_integer) || scan[key].get<long long>() < 1 ||
        scan[key].get<long long>() > 1'000'000'000) {
      return std::string("its ") + key + " is not a whole number from 1 on";
    }
  }
  if (scan["shard"].get<long long>() > scan["shards"].get<long long>()) {
    return "it names part " + std::to_string(scan["shard"].get<long long>()) + "/" +
           std::to_string(scan["shards"].get<long long>());
  }
  if (!member_is(scan, "version", &J::is_string) || !member_is(scan, "format", &J::is_string) ||
      (scan["format"] != "csv" && scan["format"] != "jsonl")) {
    return "its version or format is missing or not of this program";
  }
  if (!member_is(scan, "placed", &J::is_string) ||
      (scan["placed"] != "planet1" && scan["placed"] != "planet2")) {
    return "its placed planet is not planet1 or planet2";
  }
  const J* input = scan.contains("input") ? &scan["input"] : nullptr;
  if (!input || !input->is_object() || !member_is(*input, "name", &J::is_string) ||
      !member_is(*input, "star_mass", &J::is_number) || !input->contains("planet1") ||
      !numbers((*input)["planet1"], 6) || !input->contains("planet2") ||
      !numbers((*input)["planet2"], 6)) {
    return "its input is not the system read (name, star_mass, planet1, planet2)";
  }
  if (!member_is(scan, "resonances", &J::is_array)) {
    return "it has no list of resonances";
  }
  for (const auto& r : scan["resonances"]) {
    if (!r.is_string() ||
        std::holds_alternative<std::string>(parse_resonance(r.get<std::string>()))) {
      return "its list of resonances holds one that is not K2:K1";
    }
  }
  if (scan.contains("verify") &&
      (!scan["verify"].is_object() || !member_is(scan["verify"], "offset_deg", &J::is_number) ||
       !member_is(scan["verify"], "periods", &J::is_number))) {
    return "its options of --verify are not offset_deg and periods";
  }
  return {};
}

RowRules rules_of(const PartFile& part) {
  RowRules rules;
  rules.format = part.format;
  rules.columns = columns_of(part.scan);
  for (const auto& r : part.scan["resonances"]) {
    rules.resonances.push_back(std::get<ResonancePair>(parse_resonance(r.get<std::string>())));
  }
  rules.placed = part.scan["placed"].get<std::string>();
  return rules;
}

// A line and whether it ended with its line end.
bool next_line(std::istream& in, std::string& line, bool& whole) {
  if (!std::getline(in, line)) {
    return false;
  }
  whole = !in.eof();
  return true;
}

}  // namespace

PartFile read_part(std::istream& in, const fs::path& file) {
  PartFile part;
  part.file = file;
  std::string first;
  bool whole = false;
  next_line(in, first, whole);
  std::string_view json = first;
  if (first.rfind(csv_prefix, 0) == 0) {
    json.remove_prefix(std::string_view(csv_prefix).size());
  }
  // A part line nests four deep: the line, its scan, the input, its planets.
  const auto head = common::parse_untrusted_json(json, 4);
  if (!head || !head->is_object() || !head->contains(part_key) || !(*head)[part_key].is_object()) {
    refuse(file,
           "not a part of a tandem-scan run with --shard (its first line does not say "
           "which scan it belongs to)");
  }
  part.scan = (*head)[part_key];
  if (const std::string why = malformed(part.scan); !why.empty()) {
    refuse(file, "its part line is not one tandem-scan writes: " + why);
  }
  part.shard = part.scan["shard"].get<int>();
  part.shards = part.scan["shards"].get<int>();
  part.scan.erase("shard");
  part.format = part.scan["format"] == "jsonl" ? common::Format::jsonl : common::Format::csv;
  if ((part.format == common::Format::csv) != (json.size() != first.size())) {
    refuse(file, "its part line does not match its format");
  }
  const RowRules rules = rules_of(part);
  int line_number = 1;
  if (part.format == common::Format::csv) {
    std::string header;
    ++line_number;
    if (!next_line(in, header, whole) || !whole ||
        header + "\n" != common::Catalogue(common::Format::csv, rules.columns).header()) {
      refuse(file, "its second line is not the catalogue's header row");
    }
  }
  for (std::string line; next_line(in, line, whole);) {
    ++line_number;
    const std::string where = "line " + std::to_string(line_number);
    if (!whole) {
      refuse(file, where + " is cut off: it has no line end (was its run stopped?)");
    }
    const CheckedRow row = check_row(line, rules);
    if (!row.error.empty()) {
      refuse(file, where + " is not a whole catalogue row of its scan: " + row.error);
    }
    part.rows.emplace_back(row.index, line + "\n");
  }
  return part;
}

namespace {

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

void check_rows(const PartFile& part, std::size_t total) {
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
  std::vector<PartFile> parts;
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      refuse(file, "cannot be read");
    }
    parts.push_back(read_part(in, file));
  }
  const PartFile& first = parts.front();
  std::map<int, const PartFile*> by_shard;
  for (const PartFile& part : parts) {
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
  for (const PartFile& part : parts) {
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
