// A scan in parts: every part run as its own process, merged, is byte for byte the
// catalogue of one process, in CSV and in JSON Lines; and the merge refuses parts that do
// not make one whole scan, saying which file and why.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "scan_process.hpp"
#include "support/program_run.hpp"

namespace tandem::testing {
namespace {

namespace fs = std::filesystem;

// 4:3 3:2 5:3 2:1
std::vector<std::string> scan_options(const std::string& max_k2 = "5") {
  return {"--ratio", "1.3:2.1", "--max-k2", max_k2, "--threads", "1"};
}

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

class MergeTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_.write("tandem.inp", example_file("hilda-3-2", "tandem.inp")); }

  // Runs part i of n into part-<i>.<format>, or the file named.
  void run_part(int i, int n, const std::string& format, std::string output = {},
                const std::string& max_k2 = "5") {
    if (output.empty()) {
      output = "part-" + std::to_string(i) + "." + format;
    }
    const ScanOutcome o = run_scan(
        dir_.path(), with(scan_options(max_k2),
                          {"--format", format, "--shard",
                           std::to_string(i) + "/" + std::to_string(n), "--output", output}));
    ASSERT_EQ(o.status, 0) << o.err;
  }

  ScanOutcome merge(const std::vector<std::string>& parts) {
    return run_scan(dir_.path(), with({"merge"}, parts));
  }

  void expect_refused(const std::vector<std::string>& parts, const std::string& why) {
    const ScanOutcome o = merge(parts);
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(o.out.empty());
    EXPECT_NE(o.err.find("tandem-scan: merge refused: " + why), std::string::npos) << o.err;
  }

  ScratchDir dir_;
};

TEST_F(MergeTest, PartsMergedEqualOneProcess) {
  for (const std::string format : {"csv", "jsonl"}) {
    const ScanOutcome whole = run_scan(dir_.path(), with(scan_options(), {"--format", format}));
    ASSERT_EQ(whole.status, 0) << whole.err;
    ASSERT_EQ(lines_of(whole.out).size(), format == "csv" ? 5U : 4U) << whole.out;
    for (int i = 1; i <= 3; ++i) {  // 4 rows in 3 parts: 1 and 4, 2, 3
      run_part(i, 3, format);
    }
    // Given in any order, they make the same catalogue.
    const ScanOutcome merged = merge({"part-3." + format, "part-1." + format, "part-2." + format});
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out, whole.out);
    const ScanOutcome to_file =
        run_scan(dir_.path(), {"merge", "part-1." + format, "part-2." + format, "part-3." + format,
                               "--output", "atlas." + format});
    ASSERT_EQ(to_file.status, 0) << to_file.err;
    EXPECT_EQ(dir_.read("atlas." + format), whole.out);
  }
}

TEST_F(MergeTest, RefusesWhatIsNotOneWholeScan) {
  run_part(1, 3, "csv");
  run_part(2, 3, "csv");
  run_part(3, 3, "csv");
  expect_refused({"part-1.csv", "part-3.csv"}, "part 2/3 is missing");
  expect_refused({"part-1.csv", "part-2.csv", "part-3.csv", "part-2.csv"},
                 "part-2.csv: part 2/3 is given twice (also part-2.csv)");

  // A part whose run stopped early: one of its rows is gone.
  const std::string full = dir_.read("part-1.csv").value();
  dir_.write("short.csv", full.substr(0, full.rfind('\n', full.size() - 2) + 1));
  expect_refused({"short.csv", "part-2.csv", "part-3.csv"},
                 "short.csv: part 1/3 lacks 1 of its 2 rows, from index 4 on");

  // Parts of other scans: other options, another input, another format.
  run_part(2, 3, "csv", "other.csv", "4");
  expect_refused({"part-1.csv", "other.csv", "part-3.csv"},
                 "other.csv: not from the same scan as part-1.csv: the list of resonances "
                 "differs");
  const std::string input = dir_.read("tandem.inp").value();
  std::string heavier = input;  // Jupiter's mass in the fourth digit: other rows
  heavier.replace(heavier.find("9.5e-4"), 6, "9.6e-4");
  dir_.write("tandem.inp", heavier);
  run_part(2, 3, "csv", "changed.csv");
  dir_.write("tandem.inp", input);
  expect_refused({"part-1.csv", "changed.csv", "part-3.csv"},
                 "changed.csv: not from the same scan as part-1.csv: the input file differs");
  run_part(2, 3, "jsonl");
  expect_refused({"part-1.csv", "part-2.jsonl", "part-3.csv"},
                 "part-2.jsonl: not from the same scan as part-1.csv: the format differs");

  // A whole catalogue is not a part.
  const ScanOutcome whole = run_scan(dir_.path(), with(scan_options(), {"--output", "whole.csv"}));
  ASSERT_EQ(whole.status, 0);
  expect_refused({"whole.csv"}, "whole.csv: not a part of a tandem-scan run with --shard");
}

// Rows are checked whole, the part line is untrusted JSON, and a scan is identified by the
// values read from its input, however the input came (a pipe) and however long the file.
TEST_F(MergeTest, RefusesPartsThatAreNotWholeOrNotWhatTheySay) {
  run_part(1, 3, "csv");
  run_part(2, 3, "csv");
  run_part(3, 3, "csv");
  const std::string part1 = dir_.read("part-1.csv").value();  // rows 1 (2:1) and 4 (4:3)
  const auto lines = lines_of(part1);
  ASSERT_EQ(lines.size(), 4U);
  const auto refused_as = [&](const std::string& text, const std::string& why) {
    dir_.write("bad.csv", text);
    expect_refused({"bad.csv", "part-2.csv", "part-3.csv"}, "bad.csv: " + why);
  };
  refused_as(part1.substr(0, part1.size() - 10), "line 4 is cut off: it has no line end");
  const std::string head = lines[0] + "\n" + lines[1] + "\n";
  refused_as(head + "1,garbage\n" + lines[3] + "\n",
             "line 3 is not a whole catalogue row of its scan: it has 2 of the 23 columns");
  std::string moved = lines[2];
  moved.replace(moved.find(",2,1,1,"), 7, ",3,2,1,");
  refused_as(head + moved + "\n" + lines[3] + "\n",
             "line 3 is not a whole catalogue row of its scan: it is not the row of 2:1");
  std::string not_real = lines[2];
  not_real.replace(not_real.find(",true,"), 6, ",yes,");
  refused_as(head + not_real + "\n" + lines[3] + "\n",
             "line 3 is not a whole catalogue row of its scan: its column detectable");
  std::string forged = part1;
  forged.replace(forged.find("\"format\":\"csv\""), 14, "\"format\":1");
  refused_as(forged, "its part line is not one tandem-scan writes");
  refused_as(
      "# tandem-scan part " + std::string(1'000'000, '[') + std::string(1'000'000, ']') + "\n",
      "not a part of a tandem-scan run with --shard");
  run_part(1, 3, "jsonl");
  const std::string jsonl = dir_.read("part-1.jsonl").value();
  dir_.write("bad.jsonl", jsonl.substr(0, jsonl.find('\n') + 1) + "{\"index\":1}\n");
  expect_refused({"bad.jsonl"},
                 "bad.jsonl: line 2 is not a whole catalogue row of its scan: it has 1 of the 23 "
                 "columns");

  // Part 2 of another system read through a FIFO is refused; of this one, merged.
  const fs::path fifo = dir_.path() / "input.fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string example : {"trojan-1-1", "hilda-3-2"}) {
    std::thread writer([&] { std::ofstream(fifo) << example_file(example, "tandem.inp"); });
    const ScanOutcome piped =
        run_scan(dir_.path(), with(scan_options(), {"--input", "input.fifo", "--shard", "2/3",
                                                    "--output", "piped-" + example + ".csv"}));
    writer.join();
    ASSERT_EQ(piped.status, 0) << piped.err;
  }
  expect_refused({"part-1.csv", "piped-trojan-1-1.csv", "part-3.csv"},
                 "piped-trojan-1-1.csv: not from the same scan as part-1.csv: the input file "
                 "differs");
  const ScanOutcome merged = merge({"part-1.csv", "piped-hilda-3-2.csv", "part-3.csv"});
  EXPECT_EQ(merged.status, 0) << merged.err;

  // Two megabytes of junk after line 5 change no value: a short part line, the same scan.
  dir_.write("tandem.inp", example_file("hilda-3-2", "tandem.inp") + std::string(2 << 20, 'x'));
  run_part(2, 3, "csv", "long-input.csv");
  EXPECT_LT(lines_of(dir_.read("long-input.csv").value())[0].size(), 1000U);
  EXPECT_EQ(merge({"part-1.csv", "long-input.csv", "part-3.csv"}).out, merged.out);
}

}  // namespace
}  // namespace tandem::testing
