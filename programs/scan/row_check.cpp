#include "scan/row_check.hpp"

#include <charconv>
#include <map>

#include "common/untrusted_json.hpp"
#include "tandem/verify.hpp"

namespace tandem::scan {
namespace {

using nlohmann::ordered_json;

enum class Kind { integer, real, boolean, text, placed, equilibria, ranges, checks, any };

Kind kind_of(const std::string& column) {
  static const std::map<std::string, Kind> kinds = {{"index", Kind::integer},
                                                    {"total", Kind::integer},
                                                    {"name", Kind::text},
                                                    {"k2", Kind::integer},
                                                    {"k1", Kind::integer},
                                                    {"order", Kind::integer},
                                                    {"a1_au", Kind::real},
                                                    {"a2_au", Kind::real},
                                                    {"period_ratio", Kind::real},
                                                    {"mean_r", Kind::real},
                                                    {"rmin", Kind::real},
                                                    {"rmax", Kind::real},
                                                    {"strength", Kind::real},
                                                    {"amplitude", Kind::real},
                                                    {"detectable", Kind::boolean},
                                                    {"width_a1_au", Kind::real},
                                                    {"width_a2_au", Kind::real},
                                                    {"stable", Kind::equilibria},
                                                    {"unstable", Kind::equilibria},
                                                    {"close_encounters", Kind::ranges},
                                                    {"min_distance_hill", Kind::real},
                                                    {"placed", Kind::placed},
                                                    {"verify", Kind::checks}};
  const auto found = kinds.find(column);
  return found == kinds.end() ? Kind::any : found->second;
}

std::optional<long long> csv_integer(std::string_view text) {
  long long n = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return n;
}

bool csv_real(std::string_view text) {
  if (text == "nan" || text == "inf" || text == "-inf") {
    return true;
  }
  double x = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), x);
  return !text.empty() && res.ec == std::errc() && res.ptr == text.data() + text.size() &&
         text.find_first_not_of("0123456789-.e") == std::string_view::npos;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> out;
  if (text.empty()) {
    return out;
  }
  for (;;) {
    const auto at = text.find(separator);
    out.push_back(text.substr(0, at));
    if (at == std::string_view::npos) {
      return out;
    }
    text.remove_prefix(at + 1);
  }
}

bool a_verdict(std::string_view text) {
  return text == name(Verdict::confirmed) || text == name(Verdict::shifted) ||
         text == name(Verdict::not_confirmed);
}

// "343:344.2*;156" — sigma, then :period where set, then * inside a close-encounter band.
bool csv_equilibria(std::string_view text) {
  for (std::string_view entry : split(text, ';')) {
    if (!entry.empty() && entry.back() == '*') {
      entry.remove_suffix(1);
    }
    const auto parts = split(entry, ':');
    if (parts.empty() || parts.size() > 2 || !csv_real(parts[0]) ||
        (parts.size() == 2 && !csv_real(parts[1]))) {
      return false;
    }
  }
  return true;
}

bool a_degree(std::optional<long long> n) {
  return n && *n >= 0 && *n < 360;
}

bool csv_ranges(std::string_view text) {
  for (const std::string_view entry : split(text, ';')) {
    const auto parts = split(entry, '-');
    if (parts.size() != 2 || !a_degree(csv_integer(parts[0])) || !a_degree(csv_integer(parts[1]))) {
      return false;
    }
  }
  return true;
}

bool csv_checks(std::string_view text) {
  for (const std::string_view entry : split(text, ';')) {
    const auto parts = split(entry, ':');
    if (parts.size() != 4 || !csv_real(parts[0]) || !a_verdict(parts[1]) || !csv_real(parts[2]) ||
        !csv_real(parts[3])) {
      return false;
    }
  }
  return true;
}

bool json_real(const ordered_json& v) {
  return v.is_number() || v.is_null();
}

// An object with exactly these keys, in this order, each value passing its test.
template <typename Test>
bool json_record(const ordered_json& v, const std::vector<std::string>& keys, Test test) {
  if (!v.is_object() || v.size() != keys.size()) {
    return false;
  }
  std::size_t i = 0;
  for (const auto& [key, value] : v.items()) {
    if (key != keys[i] || !test(key, value)) {
      return false;
    }
    ++i;
  }
  return true;
}

bool json_equilibria(const ordered_json& v) {
  if (!v.is_array()) {
    return false;
  }
  for (const auto& e : v) {
    const bool ok = json_record(e, {"sigma", "period_years", "close_encounter"},
                                [](const std::string& key, const ordered_json& x) {
                                  return key == "close_encounter" ? x.is_boolean() : json_real(x);
                                });
    if (!ok) {
      return false;
    }
  }
  return true;
}

bool json_ranges(const ordered_json& v) {
  if (!v.is_array()) {
    return false;
  }
  for (const auto& r : v) {
    if (!r.is_array() || r.size() != 2) {
      return false;
    }
    for (const auto& end : r) {
      if (!end.is_number_integer() || !a_degree(end.get<long long>())) {
        return false;
      }
    }
  }
  return true;
}

bool json_checks(const ordered_json& v) {
  if (!v.is_array()) {
    return false;
  }
  for (const auto& c : v) {
    const bool ok = json_record(
        c,
        {"sigma_deg", "verdict", "measured_centre_deg", "measured_period_years", "amplitude_deg",
         "energy_error"},
        [](const std::string& key, const ordered_json& x) {
          return key == "verdict" ? x.is_string() && a_verdict(x.get<std::string>()) : json_real(x);
        });
    if (!ok) {
      return false;
    }
  }
  return true;
}

// A value as it was read: the CSV field, or the JSON value.
struct Value {
  const std::string* csv = nullptr;
  const ordered_json* json = nullptr;
};

std::optional<long long> integer_of(const Value& v) {
  if (v.csv) {
    return csv_integer(*v.csv);
  }
  if (v.json->is_number_integer()) {
    return v.json->get<long long>();
  }
  return std::nullopt;
}

std::optional<std::string> text_of(const Value& v) {
  if (v.csv) {
    return *v.csv;
  }
  if (v.json->is_string()) {
    return v.json->get<std::string>();
  }
  return std::nullopt;
}

bool of_kind(const Value& v, Kind kind) {
  switch (kind) {
    case Kind::integer:
      return integer_of(v).has_value();
    case Kind::real:
      return v.csv ? csv_real(*v.csv) : json_real(*v.json);
    case Kind::boolean:
      return v.csv ? (*v.csv == "true" || *v.csv == "false") : v.json->is_boolean();
    case Kind::text:
    case Kind::placed:
      return text_of(v).has_value();
    case Kind::equilibria:
      return v.csv ? csv_equilibria(*v.csv) : json_equilibria(*v.json);
    case Kind::ranges:
      return v.csv ? csv_ranges(*v.csv) : json_ranges(*v.json);
    case Kind::checks:
      return v.csv ? csv_checks(*v.csv) : json_checks(*v.json);
    case Kind::any:
      break;
  }
  return true;
}

// The row of index i must be the i-th resonance of the scan, of its size and placement.
std::string against_scan(const std::map<std::string, Value>& values, const RowRules& rules,
                         CheckedRow& row) {
  const auto integer = [&](const char* column) -> std::optional<long long> {
    const auto at = values.find(column);
    return at == values.end() ? std::nullopt : integer_of(at->second);
  };
  const auto index = integer("index");
  const std::size_t total = rules.resonances.size();
  if (!index || *index < 1 || static_cast<std::size_t>(*index) > total) {
    return "its index is not one of 1.." + std::to_string(total);
  }
  row.index = static_cast<int>(*index);
  const ResonancePair& r = rules.resonances[static_cast<std::size_t>(*index - 1)];
  if (const auto t = integer("total"); t && *t != static_cast<long long>(total)) {
    return "its total is " + std::to_string(*t) + ", not the scan's " + std::to_string(total);
  }
  const auto k2 = integer("k2");
  const auto k1 = integer("k1");
  const auto order = integer("order");
  if ((k2 && *k2 != r.k2) || (k1 && *k1 != r.k1) || (order && *order != r.k2 - r.k1)) {
    return "it is not the row of " + resonance_text(r) + ", which index " + std::to_string(*index) +
           " stands for";
  }
  if (const auto at = values.find("placed");
      at != values.end() && text_of(at->second) && *text_of(at->second) != rules.placed) {
    return "its placed planet is not the scan's " + rules.placed;
  }
  return {};
}

}  // namespace

CheckedRow check_row(std::string_view line, const RowRules& rules) {
  CheckedRow row;
  std::optional<std::vector<std::string>> fields;
  std::optional<ordered_json> object;
  std::map<std::string, Value> values;
  const std::size_t wanted = rules.columns.size();
  if (rules.format == common::Format::csv) {
    fields = common::csv_fields(line);
    if (!fields) {
      row.error = "it is not a CSV row (a quote out of place)";
      return row;
    }
    if (fields->size() != wanted) {
      row.error = "it has " + std::to_string(fields->size()) + " of the " + std::to_string(wanted) +
                  " columns";
      return row;
    }
    for (std::size_t i = 0; i < wanted; ++i) {
      values[rules.columns[i]].csv = &(*fields)[i];
    }
  } else {
    // Rows nest three deep (a row, its list of equilibria, one equilibrium).
    object = common::parse_untrusted_json(line, 4);
    if (!object || !object->is_object()) {
      row.error = "it is not one JSON object (or nests deeper than a row does)";
      return row;
    }
    std::size_t i = 0;
    for (const auto& [key, value] : object->items()) {
      if (i >= wanted || key != rules.columns[i]) {
        row.error = "its keys are not the catalogue's columns, in order";
        return row;
      }
      values[key].json = &value;
      ++i;
    }
    if (i != wanted) {
      row.error = "it has " + std::to_string(i) + " of the " + std::to_string(wanted) + " columns";
      return row;
    }
  }
  for (const std::string& column : rules.columns) {
    if (!of_kind(values[column], kind_of(column))) {
      row.error = "its column " + column + " does not hold what that column holds";
      return row;
    }
  }
  row.error = against_scan(values, rules, row);
  return row;
}

}  // namespace tandem::scan
