// Every catalogue row against the two things it must equal: a console run of the same
// resonance (the digits resonance.dat and rsigma.dat print), and tandem::solve on the same
// system (every real to the last bit), in CSV and in JSON Lines. The cases have stable and
// unstable points, equilibria inside close-encounter bands, and a band through 0 degrees.
// The tables of --curves are the console's rsigma.dat.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "catalogue_reading.hpp"
#include "scan_process.hpp"
#include "support/exact.hpp"
#include "support/program_run.hpp"
#include "tandem/tandem.hpp"

namespace tandem::testing {
namespace {

// x with n significant digits, as the console's correctly rounded fields show it.
std::string digits(double x, int n) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", n - 1, x);
  return buf;
}

std::vector<std::string> words_after(const std::string& line, char mark) {
  std::istringstream in(line.substr(line.find(mark) + 1));
  std::vector<std::string> words;
  for (std::string w; in >> w;) {
    words.push_back(w);
  }
  return words;
}

struct ConsoleRun {
  std::map<std::string, std::vector<std::string>> records;  // by the text before '='
  std::vector<std::pair<int, std::string>> periods;         // equilibrium lines: sigma, P
  std::set<int> stable, unstable, close;                    // from the rsigma.dat labels
  std::string table;                                        // rsigma.dat as written
};

ConsoleRun console_run(const std::string& input, int k2, int k1) {
  ScratchDir dir;
  dir.write("tandem.inp", input);
  const ProgramResult run = dir.run(std::to_string(k2) + " " + std::to_string(k1) + "\n");
  EXPECT_EQ(run.status, 0) << run.err;
  ConsoleRun c;
  for (const std::string& line : lines_of(dir.read("resonance.dat").value_or(""))) {
    if (line.rfind(" sigma=", 0) == 0) {
      c.periods.emplace_back(std::atoi(line.c_str() + 7), line.substr(25, 16));
    } else if (line.find('=') != std::string::npos) {
      c.records[line.substr(0, line.find('='))] = words_after(line, '=');
    }
  }
  c.table = dir.read("rsigma.dat").value_or("");
  const auto rows = lines_of(c.table);
  EXPECT_EQ(rows.size(), 361U);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const std::string& row = rows[i];
    const int sigma = std::atoi(row.substr(0, 7).c_str());
    if (row.substr(24, 9) == "CLOSE ENC") {
      c.close.insert(sigma);
    }
    if (row.size() > 34 && row.substr(34, 9) == "E. STABLE") {
      c.stable.insert(sigma);
    }
    if (row.size() > 34 && row.substr(34, 9) == " UNSTABLE") {
      c.unstable.insert(sigma);
    }
  }
  return c;
}

struct Equilibrium {
  double sigma = 0;
  double period = 0;
  bool close = false;
};

// "343:343.9*;156" into its entries.
std::vector<Equilibrium> csv_equilibria(const std::string& text) {
  std::vector<Equilibrium> out;
  std::istringstream in(text);
  for (std::string entry; std::getline(in, entry, ';');) {
    Equilibrium e;
    e.close = !entry.empty() && entry.back() == '*';
    if (e.close) {
      entry.pop_back();
    }
    const auto colon = entry.find(':');
    e.sigma = real_of(entry.substr(0, colon));
    e.period = colon == std::string::npos ? 0 : real_of(entry.substr(colon + 1));
    out.push_back(e);
  }
  return out;
}

std::vector<Equilibrium> json_equilibria(const nlohmann::json& list) {
  std::vector<Equilibrium> out;
  for (const auto& e : list) {
    out.push_back({e["sigma"].get<double>(), e["period_years"].get<double>(),
                   e["close_encounter"].get<bool>()});
  }
  return out;
}

// The grid points of "102-170;350-5" (a range with lo > hi runs through 0).
std::set<int> csv_range_points(const std::string& text) {
  std::set<int> points;
  std::istringstream in(text);
  for (std::string range; std::getline(in, range, ';');) {
    const int lo = std::atoi(range.c_str());
    const int hi = std::atoi(range.c_str() + range.find('-') + 1);
    for (int s = lo; s != (hi + 1) % 360; s = (s + 1) % 360) {
      points.insert(s);
    }
  }
  return points;
}

// One row in the form both formats share, for the comparisons.
struct Row {
  int k2 = 0, k1 = 0, index = 0, total = 0;
  std::string name;
  std::map<std::string, double> reals;
  bool detectable = false;
  std::vector<Equilibrium> stable, unstable;
  std::set<int> close;
};

const std::vector<std::string> real_columns = {
    "a1_au",     "a2_au",       "period_ratio", "mean_r",           "rmin", "rmax", "strength",
    "amplitude", "width_a1_au", "width_a2_au",  "min_distance_hill"};

std::vector<Row> rows_of_csv(const std::string& text) {
  std::vector<Row> rows;
  for (const CsvRow& r : csv_rows(text)) {
    Row row;
    row.k2 = std::stoi(r.at("k2"));
    row.k1 = std::stoi(r.at("k1"));
    row.index = std::stoi(r.at("index"));
    row.total = std::stoi(r.at("total"));
    row.name = r.at("name");
    for (const std::string& c : real_columns) {
      row.reals[c] = real_of(r.at(c));
    }
    EXPECT_TRUE(r.at("detectable") == "true" || r.at("detectable") == "false");
    row.detectable = r.at("detectable") == "true";
    row.stable = csv_equilibria(r.at("stable"));
    row.unstable = csv_equilibria(r.at("unstable"));
    row.close = csv_range_points(r.at("close_encounters"));
    EXPECT_EQ(std::stoi(r.at("order")), row.k2 - row.k1);
    EXPECT_EQ(r.at("placed"), "planet1");
    rows.push_back(row);
  }
  return rows;
}

std::vector<Row> rows_of_jsonl(const std::string& text) {
  std::vector<Row> rows;
  for (const std::string& line : lines_of(text)) {
    const auto j = nlohmann::json::parse(line);
    Row row;
    row.k2 = j["k2"].get<int>();
    row.k1 = j["k1"].get<int>();
    row.index = j["index"].get<int>();
    row.total = j["total"].get<int>();
    row.name = j["name"].get<std::string>();
    for (const std::string& c : real_columns) {
      row.reals[c] = j[c].get<double>();
    }
    row.detectable = j["detectable"].get<bool>();
    row.stable = json_equilibria(j["stable"]);
    row.unstable = json_equilibria(j["unstable"]);
    for (const auto& range : j["close_encounters"]) {
      const std::string text =
          std::to_string(range[0].get<int>()) + "-" + std::to_string(range[1].get<int>());
      const std::set<int> points = csv_range_points(text);
      row.close.insert(points.begin(), points.end());
    }
    rows.push_back(row);
  }
  return rows;
}

void expect_same_as_solve(const Row& row, const System& system) {
  const Result r = solve(system, {static_cast<double>(row.k2), static_cast<double>(row.k1)});
  const Analysis& a = r.analysis;
  const std::map<std::string, double> expected = {
      {"a1_au", r.orbit.a1},
      {"a2_au", r.orbit.a2},
      {"period_ratio", static_cast<double>(row.k2) / row.k1},
      {"mean_r", a.mean},
      {"rmin", a.rmin},
      {"rmax", a.rmax},
      {"strength", a.strength},
      {"amplitude", a.amplitude},
      {"width_a1_au", a.width_a1},
      {"width_a2_au", a.width_a2},
      {"min_distance_hill",
       *std::min_element(r.curve.min_distance.begin(), r.curve.min_distance.end())}};
  for (const auto& [column, value] : expected) {
    EXPECT_TRUE(same(row.reals.at(column), value)) << column;
  }
  EXPECT_EQ(row.detectable, a.detectable);
  std::vector<Equilibrium> stable, unstable;
  for (const auto& e : a.equilibria) {
    auto& list = e.kind == EquilibriumKind::stable ? stable : unstable;
    list.push_back({e.sigma, e.period_years, e.close_encounter});
  }
  for (const auto& [got, want] : {std::pair{&row.stable, &stable}, {&row.unstable, &unstable}}) {
    ASSERT_EQ(got->size(), want->size());
    for (std::size_t i = 0; i < got->size(); ++i) {
      EXPECT_TRUE(same((*got)[i].sigma, (*want)[i].sigma));
      EXPECT_TRUE(same((*got)[i].period, (*want)[i].period));
      EXPECT_EQ((*got)[i].close, (*want)[i].close);
    }
  }
  std::set<int> close;
  for (int i = 0; i < grid_points; ++i) {
    if (r.curve.close_encounter[i]) {
      close.insert(i);
    }
  }
  EXPECT_EQ(row.close, close);
}

void expect_same_as_console(const Row& row, const ConsoleRun& c) {
  const auto& rec = c.records;
  EXPECT_EQ(digits(row.reals.at("a1_au"), 9), digits(real_of(rec.at(" Planet a1, a2 ")[0]), 9));
  EXPECT_EQ(digits(row.reals.at("a2_au"), 9), digits(real_of(rec.at(" Planet a1, a2 ")[1]), 9));
  EXPECT_EQ(digits(row.reals.at("mean_r"), 9), digits(std::stod(rec.at(" <R> ")[0]), 9));
  EXPECT_EQ(digits(row.reals.at("strength"), 9),
            digits(std::stod(rec.at(" Strength (<R>-Rmin) ")[0]), 9));
  EXPECT_EQ(digits(row.reals.at("amplitude"), 9), digits(std::stod(rec.at(" Rmax-Rmin ")[0]), 9));
  const auto& widths = rec.at(" stable full width Da1, Da2");
  EXPECT_EQ(digits(row.reals.at("width_a1_au"), 9), digits(std::stod(widths[0]), 9));
  EXPECT_EQ(digits(row.reals.at("width_a2_au"), 9), digits(std::stod(widths[1]), 9));
  // The console prints a line for every point with a period, relabelled ones included.
  std::vector<std::pair<int, std::string>> periods;
  std::set<int> stable, unstable;
  std::vector<Equilibrium> all = row.stable;
  all.insert(all.end(), row.unstable.begin(), row.unstable.end());
  std::sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.sigma < b.sigma; });
  for (const Equilibrium& e : all) {
    if (e.period != 0) {
      periods.emplace_back(static_cast<int>(e.sigma), digits(e.period, 8));
    }
  }
  for (const Equilibrium& e : row.stable) {
    stable.insert(static_cast<int>(e.sigma));
  }
  for (const Equilibrium& e : row.unstable) {
    unstable.insert(static_cast<int>(e.sigma));
  }
  ASSERT_EQ(periods.size(), c.periods.size());
  for (std::size_t i = 0; i < periods.size(); ++i) {
    EXPECT_EQ(periods[i].first, c.periods[i].first);
    EXPECT_EQ(periods[i].second, digits(std::stod(c.periods[i].second), 8));
  }
  EXPECT_EQ(stable, c.stable);
  EXPECT_EQ(unstable, c.unstable);
  EXPECT_EQ(row.close, c.close);
}

class RowsAgainstRuns : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(RowsAgainstRuns, EqualTheConsoleAndSolve) {
  const auto [example, resonances] = GetParam();
  const std::string input = example_file(example, "tandem.inp");
  ScratchDir dir;
  dir.write("tandem.inp", input);
  std::vector<std::string> list;
  std::istringstream words(resonances);
  for (std::string w; words >> w;) {
    list.push_back(w);
  }
  std::vector<std::string> csv_args = list;
  csv_args.insert(csv_args.end(), {"--curves", "curves"});
  const ScanOutcome csv = run_scan(dir.path(), csv_args);
  ASSERT_EQ(csv.status, 0) << csv.err;
  std::vector<std::string> jsonl_args = list;
  jsonl_args.insert(jsonl_args.end(), {"--format", "jsonl"});
  const ScanOutcome jsonl = run_scan(dir.path(), jsonl_args);
  ASSERT_EQ(jsonl.status, 0) << jsonl.err;
  const System system = read_input(dir.path() / "tandem.inp").system;
  const std::string name = lines_of(input)[0];
  for (const auto& rows : {rows_of_csv(csv.out), rows_of_jsonl(jsonl.out)}) {
    ASSERT_EQ(rows.size(), list.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const Row& row = rows[i];
      SCOPED_TRACE(std::string(example) + " " + list[i]);
      EXPECT_EQ(std::to_string(row.k2) + ":" + std::to_string(row.k1), list[i]);
      EXPECT_EQ(row.index, static_cast<int>(i + 1));
      EXPECT_EQ(row.total, static_cast<int>(list.size()));
      EXPECT_EQ(row.name, name);
      expect_same_as_solve(row, system);
      const ConsoleRun console = console_run(input, row.k2, row.k1);
      expect_same_as_console(row, console);
      // --curves: the console program's rsigma.dat, byte for byte.
      EXPECT_EQ(read_file(dir.path() / "curves" /
                          (std::to_string(row.k2) + "-" + std::to_string(row.k1) + ".dat")),
                console.table);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, RowsAgainstRuns,
                         ::testing::Values(std::pair{"eccentric-inclined-3-2", "3:2 1:1 2:1"},
                                           std::pair{"trojan-1-1", "1:1 7:2"},
                                           std::pair{"earths-7-2-undetectable", "7:2"}),
                         [](const auto& info) {
                           std::string name = info.param.first;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace tandem::testing
