// The catalogue readers behind tandem::BodyReader: one line at a time, a row that cannot
// be read reported with its line and field and left out.

#include <deque>
#include <map>
#include <string>

#include "bodies/designation.hpp"
#include "bodies/fields.hpp"
#include "tandem/bodies.hpp"

namespace tandem {
namespace {

// No orbit catalogue has a line this long; a stream without line ends (a device such as
// /dev/zero, a binary file) is refused rather than read into memory without bound.
constexpr std::size_t longest_line = std::size_t{1} << 20;

bool bounded_getline(std::istream& in, std::string& line, std::size_t number) {
  line.clear();
  std::istream::int_type c = 0;
  while ((c = in.get()) != std::istream::traits_type::eof()) {
    if (c == '\n') {
      return true;
    }
    if (line.size() == longest_line) {
      throw BodiesError("line " + std::to_string(number) +
                        " is longer than 1 MiB: not an orbit catalogue");
    }
    line.push_back(static_cast<char>(c));
  }
  return !line.empty();
}

using bodies::read_number;
using bodies::trim;

// Sun's GM in km^3/s^2 (IAU 2009 / DE430 value), for the SBDB's GM column.
constexpr double gm_sun_km3_s2 = 1.32712440018e11;

// The MPC columns, 1-based inclusive as the MPC documents them.
struct MpcField {
  const char* name;
  std::size_t first;
  std::size_t last;
};
constexpr MpcField mpc_designation{"designation", 1, 7};
constexpr MpcField mpc_epoch{"epoch", 21, 25};
constexpr MpcField mpc_m{"M", 27, 35};
constexpr MpcField mpc_peri{"peri", 38, 46};
constexpr MpcField mpc_node{"node", 49, 57};
constexpr MpcField mpc_incl{"incl", 60, 68};
constexpr MpcField mpc_e{"e", 71, 79};
constexpr MpcField mpc_a{"a", 93, 103};
constexpr MpcField mpc_readable{"designation", 167, 194};

std::string_view column(std::string_view line, const MpcField& f) {
  if (line.size() < f.first) {
    return {};
  }
  return line.substr(f.first - 1, f.last - f.first + 1);
}

struct RowError {
  std::string field;
  std::string reason;
};

// The checks every format shares, on a body whose numbers were all read.
std::optional<RowError> check_orbit(const Body& b, const char* a_name, const char* e_name,
                                    const char* i_name) {
  if (!(b.a > 0)) {
    return RowError{a_name, "the semi-major axis must be positive (an elliptic orbit)"};
  }
  if (!(b.e >= 0 && b.e < 1)) {
    return RowError{e_name, "the eccentricity must lie in 0 <= e < 1"};
  }
  if (!(b.i >= 0 && b.i <= 180)) {
    return RowError{i_name, "the inclination must lie in 0..180 degrees"};
  }
  if (b.mass && !(*b.mass >= 0)) {
    return RowError{"mass", "a mass cannot be negative"};
  }
  return std::nullopt;
}

bool is_dashes(std::string_view line) {
  return line.size() >= 5 && line.substr(0, 5) == "-----";
}

bool blank(std::string_view line) {
  return trim(line).empty();
}

}  // namespace

struct BodyReader::Impl {
  std::istream& in;
  BodiesFormat format = BodiesFormat::detect;
  std::size_t line_number = 0;
  std::deque<std::pair<std::size_t, std::string>> held;  // lines read ahead, with numbers
  std::map<std::string, std::size_t> columns;            // CSV: name -> field index

  explicit Impl(std::istream& s) : in(s) {}

  bool read_line(std::size_t& number, std::string& line) {
    if (!held.empty()) {
      number = held.front().first;
      line = std::move(held.front().second);
      held.pop_front();
      return true;
    }
    if (!bounded_getline(in, line, line_number + 1)) {
      return false;
    }
    number = ++line_number;
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    return true;
  }

  bool read_ahead() {
    std::string line;
    if (!bounded_getline(in, line, line_number + 1)) {
      return false;
    }
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    held.emplace_back(++line_number, std::move(line));
    return true;
  }

  void start(BodiesFormat wanted) {
    // The first line that is not blank tells the format and, for CSV, holds the header.
    while (read_ahead() && blank(held.back().second)) {
    }
    std::string first = held.empty() ? std::string() : held.back().second;
    const bool csv_like = first.find(',') != std::string::npos;
    format = wanted;
    if (format == BodiesFormat::detect) {
      if (held.empty()) {
        format = BodiesFormat::mpc;  // an empty file is an empty catalogue
      } else if (!csv_like) {
        format = BodiesFormat::mpc;
      } else if (first.find("pdes") != std::string::npos ||
                 first.find("full_name") != std::string::npos) {
        format = BodiesFormat::sbdb;
      } else if (first.find("epoch_jd") != std::string::npos) {
        format = BodiesFormat::csv;
      } else {
        throw BodiesError(
            "not a catalogue this reader knows: a CSV header needs pdes or full_name (JPL's "
            "Small-Body Database) or name,epoch_jd,a_au,... (plain CSV)");
      }
    }
    if (format == BodiesFormat::mpc) {
      start_mpc();
    } else if (!held.empty()) {
      start_csv();
    }
  }

  void start_mpc() {
    // MPCORB.DAT opens with some forty lines of text ending in a line of dashes.
    constexpr std::size_t header_lines = 100;
    while (held.size() < header_lines && read_ahead()) {
      if (is_dashes(held.back().second)) {
        held.clear();
        return;
      }
    }
  }

  void start_csv() {
    // Drop the blank lines and the header read ahead; keep what follows it.
    while (!held.empty() && blank(held.front().second)) {
      held.pop_front();
    }
    const auto header = bodies::split_csv(held.front().second);
    held.pop_front();
    if (!header) {
      throw BodiesError("the header row has an unclosed quote");
    }
    for (std::size_t k = 0; k < header->size(); ++k) {
      columns.emplace(std::string(trim((*header)[k])), k);
    }
    const std::vector<std::string> needed =
        format == BodiesFormat::sbdb
            ? std::vector<std::string>{"epoch", "a", "e", "i", "om", "w", "ma"}
            : std::vector<std::string>{"name",  "epoch_jd", "a_au",        "e",
                                       "i_deg", "node_deg", "argperi_deg", "mean_anomaly_deg"};
    for (const std::string& name : needed) {
      if (!columns.count(name)) {
        throw BodiesError("the header row has no column " + name);
      }
    }
    if (format == BodiesFormat::sbdb && !columns.count("pdes") && !columns.count("full_name")) {
      throw BodiesError("the header row has neither pdes nor full_name");
    }
  }

  BodyRow skip(std::size_t line, RowError e) {
    BodyRow row;
    row.skipped = SkippedRow{line, std::move(e.field), std::move(e.reason)};
    return row;
  }

  BodyRow mpc_row(std::size_t number, std::string_view line) {
    const std::string_view packed = column(line, mpc_designation);
    const auto designation = bodies::unpack_designation(packed);
    if (!designation) {
      return skip(number, {mpc_designation.name, "not a packed designation"});
    }
    Body b;
    const auto epoch = bodies::unpack_epoch(column(line, mpc_epoch));
    if (!epoch) {
      return skip(number, {mpc_epoch.name, "not a packed epoch"});
    }
    b.epoch_jd = *epoch;
    const std::pair<const MpcField*, double*> numbers[] = {
        {&mpc_m, &b.mean_anomaly}, {&mpc_peri, &b.argperi}, {&mpc_node, &b.node},
        {&mpc_incl, &b.i},         {&mpc_e, &b.e},          {&mpc_a, &b.a}};
    for (const auto& [field, value] : numbers) {
      // A line that stops inside a field (a file cut off in the middle of a row) would
      // give the leading digits of the number as if they were all of it.
      if (line.size() < field->last) {
        return skip(number, {field->name, "the line ends inside this field (cut off?)"});
      }
      const auto x = read_number(column(line, *field));
      if (!x) {
        return skip(number, {field->name, "not a number"});
      }
      *value = *x;
    }
    const std::string_view readable = trim(column(line, mpc_readable));
    b.name = readable.empty() ? *designation : std::string(readable);
    if (auto e = check_orbit(b, mpc_a.name, mpc_e.name, mpc_incl.name)) {
      return skip(number, std::move(*e));
    }
    BodyRow row;
    row.body = std::move(b);
    return row;
  }

  BodyRow csv_row(std::size_t number, std::string_view line) {
    const auto fields = bodies::split_csv(line);
    if (!fields) {
      return skip(number, {"row", "a quote is left open"});
    }
    const auto text = [&](const std::string& name) -> std::optional<std::string_view> {
      const auto at = columns.find(name);
      if (at == columns.end()) {
        return std::nullopt;
      }
      if (at->second >= fields->size()) {
        return std::string_view();
      }
      return trim((*fields)[at->second]);
    };
    const bool sbdb = format == BodiesFormat::sbdb;
    Body b;
    if (sbdb) {
      const auto pdes = text("pdes");
      const auto full = text("full_name");
      b.name = std::string(pdes && !pdes->empty() ? *pdes : full.value_or(""));
    } else {
      b.name = std::string(*text("name"));
    }
    if (b.name.empty()) {
      return skip(number, {sbdb ? "pdes" : "name", "no name"});
    }
    const std::pair<const char*, double*> numbers[] = {
        {sbdb ? "epoch" : "epoch_jd", &b.epoch_jd},
        {sbdb ? "a" : "a_au", &b.a},
        {"e", &b.e},
        {sbdb ? "i" : "i_deg", &b.i},
        {sbdb ? "om" : "node_deg", &b.node},
        {sbdb ? "w" : "argperi_deg", &b.argperi},
        {sbdb ? "ma" : "mean_anomaly_deg", &b.mean_anomaly}};
    for (const auto& [name, value] : numbers) {
      const auto x = read_number(*text(name));
      if (!x) {
        return skip(number, {name, text(name)->empty() ? "empty" : "not a number"});
      }
      *value = *x;
    }
    const char* mass_column = sbdb ? "GM" : "mass_msun";
    if (const auto m = text(mass_column); m && !m->empty()) {
      const auto x = read_number(*m);
      if (!x) {
        return skip(number, {mass_column, "not a number"});
      }
      b.mass = sbdb ? *x / gm_sun_km3_s2 : *x;
    }
    if (auto e = check_orbit(b, sbdb ? "a" : "a_au", "e", sbdb ? "i" : "i_deg")) {
      return skip(number, std::move(*e));
    }
    BodyRow row;
    row.body = std::move(b);
    return row;
  }
};

BodyReader::BodyReader(std::istream& in, BodiesFormat format) : impl_(std::make_unique<Impl>(in)) {
  impl_->start(format);
}

BodyReader::~BodyReader() = default;

BodiesFormat BodyReader::format() const {
  return impl_->format;
}

BodyRow BodyReader::next() {
  std::size_t number = 0;
  std::string line;
  while (impl_->read_line(number, line)) {
    if (blank(line)) {
      continue;
    }
    return impl_->format == BodiesFormat::mpc ? impl_->mpc_row(number, line)
                                              : impl_->csv_row(number, line);
  }
  return {};
}

const char* bodies_format_name(BodiesFormat format) {
  switch (format) {
    case BodiesFormat::mpc:
      return "mpc";
    case BodiesFormat::sbdb:
      return "sbdb";
    case BodiesFormat::csv:
      return "csv";
    case BodiesFormat::detect:
      break;
  }
  return "detect";
}

std::optional<BodiesFormat> parse_bodies_format(const std::string& word) {
  for (BodiesFormat f :
       {BodiesFormat::detect, BodiesFormat::mpc, BodiesFormat::sbdb, BodiesFormat::csv}) {
    if (word == bodies_format_name(f)) {
      return f;
    }
  }
  return std::nullopt;
}

}  // namespace tandem
