// What tandem-scan refuses, and how: a bad argument is one line naming it and the usage,
// status 2, nothing on standard output; a refused input file is named with the reader's
// words, status 2, and no catalogue appears.

#include <gtest/gtest.h>

#include "scan_process.hpp"
#include "support/program_run.hpp"
#include "tandem/files.hpp"

namespace tandem::testing {
namespace {

struct BadArguments {
  std::vector<std::string> args;
  std::string reason;  // a part of the one-line reason
};

class RefusalTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_.write("tandem.inp", example_file("hilda-3-2", "tandem.inp")); }
  ScratchDir dir_;
};

TEST_F(RefusalTest, BadArgumentsAreOneLineAndTheUsage) {
  const std::vector<BadArguments> cases = {
      {{}, "nothing to compute: give resonances"},
      {{"2:3"}, "resonance '2:3': K2 must be at least K1"},
      {{"3:0"}, "resonance '3:0': K1 must be at least 1"},
      {{"3.5:2"}, "resonance '3.5:2': K2 and K1 must be whole numbers"},
      {{"3,2"}, "resonance '3,2' is not of the form K2:K1"},
      {{"51:50"}, "K2 must be at most 50"},
      {{"3:2", "5:3", "3:2"}, "resonance 3:2 is given twice"},
      {{"3:2", "--order", "1-2"}, "not both"},
      {{"--order", "1-3"}, "an enumeration needs a window"},
      {{"--a1", "3:4", "--ratio", "1:2"}, "give one window"},
      {{"--a1", "4:3"}, "--a1 '4:3': the window needs 0 < LO <= HI"},
      {{"--ratio", "1.5"}, "--ratio '1.5' is not of the form LO:HI"},
      {{"--a1", "3:4", "--order", "3-1"}, "--order '3-1': the orders need 0 <= MIN <= MAX"},
      {{"--a1", "3:4", "--max-k2", "60"}, "--max-k2 60: K2 runs from 1 to at most 50"},
      {{"--place", "planet2", "--a1", "3:4"}, "with --place planet2 give --a2"},
      {{"--a2", "3:4"}, "--a2 bounds planet 2 placed at resonance: it needs --place planet2"},
      {{"--place", "planet3", "3:2"}, "the placed planet is planet1 or planet2"},
      {{"--shard", "3/2", "3:2"}, "--shard '3/2': the part needs 1 <= I <= N"},
      {{"--format", "xml", "3:2"}, "--format"},
      {{"--threads", "0", "3:2"}, "--threads"},
      {{"--no-such-option"}, "--no-such-option"},
      {{"merge"}, "parts"},
      {{"--verify-offset", "10", "1:1"}, "--verify-offset requires --verify"},
      {{"--verify", "--verify-periods", "0", "1:1"}, "--verify-periods 0: the run needs"},
  };
  for (const BadArguments& c : cases) {
    std::string shown;
    for (const auto& a : c.args) {
      shown += a + " ";
    }
    SCOPED_TRACE(shown);
    const ScanOutcome o = run_scan(dir_.path(), c.args);
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(o.out.empty()) << o.out;
    const auto lines = lines_of(o.err);
    ASSERT_GE(lines.size(), 2U) << o.err;
    EXPECT_EQ(lines[0].rfind("tandem-scan: ", 0), 0U) << lines[0];
    EXPECT_NE(lines[0].find(c.reason), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1].rfind("Usage: tandem-scan ", 0), 0U) << lines[1];
    EXPECT_EQ(lines.back(), "Try 'tandem-scan --help' for more information.");
  }
}

TEST_F(RefusalTest, HelpShowsAnExampleForEveryOption) {
  const ScanOutcome help = run_scan(dir_.path(), {"--help"});
  EXPECT_EQ(help.status, 0);
  // An option's entry is its line and the indented lines that continue it.
  std::vector<std::string> entries;
  for (const std::string& line : lines_of(help.out)) {
    if (line.rfind("  --", 0) == 0) {
      entries.push_back(line);
    } else if (!entries.empty() && line.rfind("        ", 0) == 0) {
      entries.back() += line;
    } else if (!entries.empty() && line.empty()) {
      break;
    }
  }
  EXPECT_EQ(entries.size(), 18U);  // --version and 17 options of the scan
  for (const std::string& entry : entries) {
    if (entry.rfind("  --version", 0) != 0) {
      EXPECT_NE(entry.find("(e.g. "), std::string::npos) << entry;
    }
  }
  EXPECT_NE(help.out.find("Examples:\n"), std::string::npos);
  const ScanOutcome version = run_scan(dir_.path(), {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("tandem-scan ", 0), 0U);
}

TEST_F(RefusalTest, InputFileRefusedWithTheReadersWordsAndNoCatalogue) {
  const struct {
    std::string file;
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {"", {"--input", "none.inp", "3:2"}, "tandem-scan: none.inp: open: No such file"},
      {"case\n1.0\nelements\n3.97 1.5 5 100 30 1e-9\n5.2 0.048 1.3 100.5 14.7 9.5e-4\n",
       {"--input", "bad.inp", "3:2"},
       "tandem-scan: bad.inp: line 4: the eccentricity of planet 1 must lie in 0 <= e < 1, but it "
       "is 1.5"},
      {"case\n1.0\nelements\n0 0.1 5 100 30 1e-9\n5.2 0.048 1.3 100.5 14.7 9.5e-4\n",
       {"--input", "bad.inp", "--place", "planet2", "3:2"},
       "tandem-scan: bad.inp: with --place planet2 planet 1 keeps the semi-major axis of the "
       "file, which must be positive, but it is 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    if (!c.file.empty()) {
      dir_.write("bad.inp", c.file);
    }
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--output", "atlas.csv"});
    const ScanOutcome o = run_scan(dir_.path(), args);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err.rfind(c.message, 0), 0U) << o.err;
    EXPECT_EQ(lines_of(o.err).size(), 1U) << o.err;
    EXPECT_FALSE(dir_.exists("atlas.csv"));
  }
}

// A decimal comma splits a number: "6,6e-9" is read as a mass of 6 and a value left over.
TEST_F(RefusalTest, ValuesLeftOverOnAPlanetLineAreWarnedAbout) {
  dir_.write("comma.inp",
             "case\n1.0\nelements\n3.97 0.10 5.0 100.0 30.0 6,6e-9\n"
             "5.2 0.048 1.3 100.5 14.7 9.5e-4\n");
  if (read_input(dir_.path() / "comma.inp").warnings.empty()) {
    GTEST_SKIP() << "the library's reader does not warn about values left over yet";
  }
  const ScanOutcome o = run_scan(dir_.path(), {"--input", "comma.inp", "--list", "1:1"});
  EXPECT_EQ(o.status, 0);
  EXPECT_NE(o.err.find("tandem-scan: warning: "), std::string::npos) << o.err;
  EXPECT_NE(o.err.find("left over"), std::string::npos) << o.err;
}

}  // namespace
}  // namespace tandem::testing
