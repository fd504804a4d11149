// --place planet2, for bodies outside a planet: planet 1 keeps the file's a, planet 2 goes
// to exact resonance. The row is what solve computes for the file with planet 2's a
// replaced by the a2 the row prints, and a console run of that file prints the same digits.

#include <gtest/gtest.h>

#include <cmath>

#include "catalogue_reading.hpp"
#include "scan_process.hpp"
#include "support/exact.hpp"
#include "support/program_run.hpp"
#include "tandem/tandem.hpp"

namespace tandem::testing {
namespace {

// Neptune and a trans-Neptunian object; the object's a (45) is what gets replaced.
std::string input_with_a2(const std::string& a2) {
  return "Neptune and a trans-Neptunian object\n1.0\na e i node peri mass\n"
         "30.07 0.009 1.77 131.8 44.97 5.15e-5\n" +
         a2 + " 0.25 17.0 110.0 224.0 1e-12\n";
}

TEST(PlacePlanet2, RowIsTheFileWithPlanet2AtResonance) {
  ScratchDir dir;
  dir.write("tandem.inp", input_with_a2("45.0"));
  const ScanOutcome o = run_scan(dir.path(), {"--place", "planet2", "3:2", "2:1"});
  ASSERT_EQ(o.status, 0) << o.err;
  const auto rows = csv_rows(o.out);
  ASSERT_EQ(rows.size(), 2U);
  double previous_a2 = 0;
  for (const CsvRow& row : rows) {
    const int k2 = std::stoi(row.at("k2"));
    const int k1 = std::stoi(row.at("k1"));
    SCOPED_TRACE(row.at("k2") + ":" + row.at("k1"));
    EXPECT_EQ(row.at("placed"), "planet2");
    const double a2 = real_of(row.at("a2_au"));
    // Kepler's third law for both bodies: a2 = a1 ((M + m2)/(M + m1) (K2/K1)^2)^(1/3).
    const double ratio = static_cast<double>(k2) / k1;
    EXPECT_NEAR(a2, 30.07 * std::cbrt((1 + 1e-12) / (1 + 5.15e-5) * ratio * ratio), 1e-12 * a2);
    EXPECT_GT(a2, previous_a2);
    previous_a2 = a2;
    EXPECT_TRUE(same(real_of(row.at("a1_au")), 30.07));  // the file's a, to the bit

    const std::string a2_text = row.at("a2_au");
    ScratchDir placed;
    placed.write("tandem.inp", input_with_a2(a2_text));
    const Result r = solve(read_input(placed.path() / "tandem.inp").system,
                           {static_cast<double>(k2), static_cast<double>(k1)});
    EXPECT_TRUE(same(real_of(row.at("a2_au")), r.orbit.a2));
    EXPECT_TRUE(same(real_of(row.at("mean_r")), r.analysis.mean));
    EXPECT_TRUE(same(real_of(row.at("strength")), r.analysis.strength));
    EXPECT_TRUE(same(real_of(row.at("width_a2_au")), r.analysis.width_a2));

    const ProgramResult console = placed.run(row.at("k2") + " " + row.at("k1") + "\n");
    ASSERT_EQ(console.status, 0) << console.err;
    const std::string block = placed.read("resonance.dat").value();
    EXPECT_NE(block.find(" Planet a1, a2 =    30.07  "), std::string::npos) << block;
    // <R> as the console prints it, nine digits: the same digits as the row's.
    const std::string record = block.substr(block.find(" <R> =") + 6);
    char printed[40];
    char rows[40];
    std::snprintf(printed, sizeof printed, "%.8e", std::stod(record));
    std::snprintf(rows, sizeof rows, "%.8e", real_of(row.at("mean_r")));
    EXPECT_STREQ(rows, printed) << block;
  }
}

TEST(PlacePlanet2, WindowInPlanet2sAxis) {
  ScratchDir dir;
  dir.write("tandem.inp", input_with_a2("45.0"));
  const ScanOutcome o =
      run_scan(dir.path(), {"--place", "planet2", "--a2", "36:48", "--max-k2", "5", "--list"});
  ASSERT_EQ(o.status, 0) << o.err;
  // 4:3 (36.4 au), 3:2 (39.4), 5:3 (42.3), 2:1 (47.7): increasing a2 is increasing K2/K1.
  std::vector<std::string> resonances;
  for (const std::string& line : lines_of(o.out)) {
    resonances.push_back(line.substr(line.find(' ') + 1, line.find(" order") - line.find(' ') - 1));
  }
  EXPECT_EQ(resonances, (std::vector<std::string>{"4:3", "3:2", "5:3", "2:1"}));
}

}  // namespace
}  // namespace tandem::testing
