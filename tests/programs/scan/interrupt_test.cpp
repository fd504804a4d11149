// The scan as the user sees it run: progress on a terminal only, and Ctrl-C (a real
// SIGINT to a real process) that keeps the rows finished in <output>.partial, leaves no
// catalogue under the final name, and ends with status 1.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "scan_process.hpp"
#include "support/program_run.hpp"

namespace tandem::testing {
namespace {

namespace fs = std::filesystem;

class RunningScan : public ::testing::Test {
 protected:
  void SetUp() override { dir_.write("tandem.inp", example_file("hilda-3-2", "tandem.inp")); }
  ScratchDir dir_;
};

TEST_F(RunningScan, ProgressOnlyOnATerminal) {
  const std::vector<std::string> args = {"2:1", "3:2", "--threads", "1"};
  const ScanOutcome shown = run_scan_on_terminal(dir_.path(), args);
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_NE(shown.err.find("\rtandem-scan: 1/2 resonances, 0:0"), std::string::npos) << shown.err;
  EXPECT_NE(shown.err.find("2/2 resonances"), std::string::npos) << shown.err;
  EXPECT_EQ(shown.err.substr(shown.err.size() - 4), "\r\033[K");  // the line erased at the end
  EXPECT_EQ(lines_of(shown.out).size(), 3U);

  std::vector<std::string> quiet = args;
  quiet.push_back("--quiet");
  const ScanOutcome hushed = run_scan_on_terminal(dir_.path(), quiet);
  EXPECT_EQ(hushed.status, 0);
  EXPECT_EQ(hushed.err, "");
  const ScanOutcome piped = run_scan(dir_.path(), args);
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.err, "");
  EXPECT_EQ(piped.out, shown.out);
}

// A curve file appears as soon as its resonance is finished.
bool a_curve_is_written(const fs::path& dir) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    if (entry.path().extension() == ".dat") {
      return true;
    }
  }
  return false;
}

TEST_F(RunningScan, InterruptKeepsTheFinishedRowsInAPartialFile) {
  const std::vector<std::string> resonances = {"2:1", "3:2", "5:3", "7:4", "9:5", "11:6"};
  std::vector<std::string> args = resonances;
  args.insert(args.end(), {"--threads", "1", "--output", "atlas.csv", "--curves", "curves"});
  std::optional<ScanOutcome> stopped;
  {
    BackgroundScan scan(dir_.path(), args);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    while (!a_curve_is_written(dir_.path() / "curves") &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(a_curve_is_written(dir_.path() / "curves")) << "no row within 3 minutes";
    ASSERT_EQ(::kill(scan.pid(), SIGINT), 0);
    stopped = scan.wait();
  }
  EXPECT_EQ(stopped->status, 1) << stopped->err;
  EXPECT_NE(stopped->err.find("tandem-scan: interrupted; "), std::string::npos) << stopped->err;
  EXPECT_NE(stopped->err.find(" rows finished are kept in atlas.csv.partial"), std::string::npos)
      << stopped->err;
  EXPECT_FALSE(dir_.exists("atlas.csv"));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir_.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"atlas.csv.partial", "curves", "tandem.inp"}));

  // The rows kept are rows of the whole scan, as they are, the header first.
  const auto kept = lines_of(dir_.read("atlas.csv.partial").value_or(""));
  ASSERT_GE(kept.size(), 2U);
  EXPECT_LT(kept.size(), resonances.size() + 1);
  std::size_t curves = 0;
  for (const auto& entry : fs::directory_iterator(dir_.path() / "curves")) {
    EXPECT_EQ(entry.path().extension(), ".dat") << entry.path();  // no scratch left
    ++curves;
  }
  EXPECT_GE(curves, kept.size() - 1);
  std::vector<std::string> whole_args = resonances;
  whole_args.insert(whole_args.end(), {"--threads", "2"});
  const auto whole = lines_of(run_scan(dir_.path(), whole_args).out);
  EXPECT_EQ(kept[0], whole[0]);
  for (std::size_t i = 1; i < kept.size(); ++i) {
    EXPECT_NE(std::find(whole.begin() + 1, whole.end(), kept[i]), whole.end()) << kept[i];
  }
}

}  // namespace
}  // namespace tandem::testing
