// Whole runs of the program: the console transcript, both files, and their interplay.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <vector>

#include "support/console_text.hpp"
#include "support/program_run.hpp"

namespace tandem {
namespace {

using testing::banner_text;
using testing::lines_of;
using testing::prompt_text;
using testing::record;
using testing::ScratchDir;

const std::regex equilibrium_line(
    R"( sigma=[ 0-9]{3}\. (E\. STABLE|  UNSTABLE)  P=  0\.\d{8}E[-+]\d\d     years)");
const std::regex plain_row(
    R"([ 0-9]{4}\.00  0\.\d{8}E[-+]\d\d( {10}| CLOSE ENC)( {10}|  UNSTABLE))");
const std::regex period_row(
    R"([ 0-9]{4}\.00  0\.\d{8}E[-+]\d\d( {10}| CLOSE ENC)( E\. STABLE|  UNSTABLE)  0\.\d{8}E[-+]\d\d)");

struct RunFiles {
  testing::ProgramResult result;
  std::vector<std::string> console_tail;  // lines after the line of three blanks
  std::vector<std::string> table;
  std::vector<std::string> summary;
};

RunFiles run_case(ScratchDir& dir, const std::string& input, const std::string& answer) {
  dir.write("tandem.inp", input);
  RunFiles f;
  f.result = dir.run(answer);
  const std::string head = banner_text() + prompt_text();
  const std::string three_blanks = std::string("\n") + record("   ");
  const auto three = f.result.out.find(three_blanks);
  if (f.result.out.compare(0, head.size(), head) == 0 && three != std::string::npos) {
    f.console_tail = lines_of(f.result.out.substr(three + three_blanks.size()));
  }
  f.table = lines_of(dir.read("rsigma.dat").value_or(""));
  f.summary = lines_of(dir.read("resonance.dat").value_or(""));
  return f;
}

TEST(Run, HildaExampleGivesTheCompleteTranscriptAndFiles) {
  ScratchDir dir;
  const RunFiles f = run_case(dir, testing::example_file("hilda-3-2", "tandem.inp"),
                              testing::example_file("hilda-3-2", "answer.txt"));
  ASSERT_EQ(f.result.status, 0) << f.result.err;
  EXPECT_EQ(f.result.err, "");

  // Console: equilibrium lines of the stable equilibria, then the line of nine blanks.
  ASSERT_FALSE(f.console_tail.empty());
  EXPECT_EQ(f.console_tail.back(), std::string(9, ' '));
  const std::vector<std::string> console_equilibria(f.console_tail.begin(),
                                                    f.console_tail.end() - 1);
  ASSERT_FALSE(console_equilibria.empty()) << "a 3:2 Hilda orbit has a stable equilibrium";
  for (const auto& line : console_equilibria) {
    EXPECT_TRUE(std::regex_match(line, equilibrium_line)) << line;
  }

  // Table: header and 360 rows of 43 characters, 59 where a period is given.
  ASSERT_EQ(f.table.size(), 361u);
  EXPECT_EQ(f.table[0], "  sigma   R-R_min ");
  std::size_t period_rows = 0;
  for (std::size_t i = 1; i < f.table.size(); ++i) {
    const auto& row = f.table[i];
    char sigma[16];
    std::snprintf(sigma, sizeof sigma, "%4d.00", static_cast<int>(i - 1) % 1000);
    EXPECT_EQ(row.substr(0, 7), sigma);
    if (row.size() == 59) {
      ++period_rows;
      EXPECT_TRUE(std::regex_match(row, period_row)) << row;
    } else {
      EXPECT_TRUE(std::regex_match(row, plain_row)) << row;
    }
  }
  EXPECT_EQ(period_rows, console_equilibria.size());
  std::size_t minima = 0;
  for (std::size_t i = 1; i < f.table.size(); ++i) {
    minima += f.table[i].substr(7, 16) == "  0.00000000E+00";
  }
  EXPECT_GE(minima, 1u);

  // Summary: 13 records, the equilibrium lines as on the console, the critical angle, blanks.
  ASSERT_EQ(f.summary.size(), 15 + console_equilibria.size());
  EXPECT_EQ(f.summary[0], " Star mass =    1.");
  EXPECT_EQ(f.summary[1], " Planet masses=    1.E-009  0.00095");
  EXPECT_TRUE(f.summary[2].rfind(" Planet a1, a2 =    3.9", 0) == 0) << f.summary[2];
  EXPECT_TRUE(f.summary[2].find("  5.2 Poincare system") != std::string::npos) << f.summary[2];
  EXPECT_EQ(f.summary[3], " Planet e1, e2 =    0.1  0.048");
  EXPECT_EQ(f.summary[4], " Planet i1, i2 =    5.  1.3");
  EXPECT_EQ(f.summary[5], " Planet LN1, LN2 =    100.  100.5");
  EXPECT_EQ(f.summary[6], " Planet LP1, LP2 =    30.  14.7");
  EXPECT_EQ(f.summary[7], " Resonance =   3: 2");
  EXPECT_EQ(f.summary[11], " Close enc. dist. =   3. RHill");
  for (std::size_t i = 0; i < console_equilibria.size(); ++i) {
    EXPECT_EQ(f.summary[13 + i], console_equilibria[i]);
  }
  EXPECT_EQ(f.summary[f.summary.size() - 2], " sigma = 2*lambda1 -3*lambda2 + 1*varpi1");
  EXPECT_EQ(f.summary.back(), std::string(9, ' '));
}

TEST(Run, SummaryGrowsByOneBlockPerRunWhileTheTableIsReplaced) {
  ScratchDir dir;
  dir.write("resonance.dat", "catalogue of earlier runs\n");
  dir.write("rsigma.dat", std::string(100000, 'z') + "\n");
  const RunFiles first = run_case(dir, testing::hilda_input, "3 2\n");
  ASSERT_EQ(first.result.status, 0);
  const std::string after_first = *dir.read("resonance.dat");
  const RunFiles second = run_case(dir, testing::hilda_input, "2 1\n");
  ASSERT_EQ(second.result.status, 0);
  const std::string after_second = *dir.read("resonance.dat");

  EXPECT_EQ(after_second.compare(0, after_first.size(), after_first), 0);
  EXPECT_EQ(after_first.rfind("catalogue of earlier runs\n Star mass =", 0), 0u);
  const std::string second_block = after_second.substr(after_first.size());
  EXPECT_EQ(second_block.rfind(" Star mass =", 0), 0u);
  EXPECT_NE(second_block.find(" Resonance =   2: 1\n"), std::string::npos);
  EXPECT_EQ(second.table.size(), 361u);
  EXPECT_EQ(first.table.size(), 361u);
}

TEST(Run, CircularCoplanarOrbitsAreAnUndetectableResonance) {
  ScratchDir dir;
  const RunFiles f = run_case(dir, "flat\n1.0\nc\n1 0 0 0 0 1e-6\n2 0 0 0 0 1e-3\n", "2 1\n");
  ASSERT_EQ(f.result.status, 0) << f.result.err;
  EXPECT_EQ(f.console_tail,
            (std::vector<std::string>{" *** undetectable resonance ***", std::string(9, ' ')}));
  ASSERT_EQ(f.table.size(), 361u);
  for (std::size_t i = 1; i < f.table.size(); ++i) {
    EXPECT_EQ(f.table[i].size(), 43u);
    EXPECT_EQ(f.table[i].substr(23), std::string(20, ' '));
  }
  ASSERT_EQ(f.summary.size(), 15u);
  EXPECT_EQ(f.summary[10], " Rmax-Rmin =   0.");
  EXPECT_EQ(f.summary[12], " stable full width Da1, Da2=   0.  0.");
  EXPECT_EQ(f.summary[13], " sigma = 1*lambda1 -2*lambda2 + 1*varpi1");
}

}  // namespace
}  // namespace tandem

namespace tandem {
namespace {

// A guard against unnoticed change: the bundled example's console, table and summary as
// they stood when the independent evaluation in tests/reference agreed with them.
TEST(Run, HildaExampleMatchesItsSnapshot) {
  const std::filesystem::path snapshots =
      std::filesystem::path(TANDEM_SOURCE_DIR) / "tests" / "snapshots" / "hilda-3-2";
  ScratchDir dir;
  dir.write("tandem.inp", testing::example_file("hilda-3-2", "tandem.inp"));
  const auto r = dir.run(testing::example_file("hilda-3-2", "answer.txt"));
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out, testing::read_file(snapshots / "console.txt"));
  EXPECT_EQ(dir.read("rsigma.dat"), testing::read_file(snapshots / "rsigma.dat"));
  EXPECT_EQ(dir.read("resonance.dat"), testing::read_file(snapshots / "resonance.dat"));
}

}  // namespace
}  // namespace tandem
