// tandem-scan used as a careless user or a flaky cluster would: outputs that are devices,
// FIFOs, links or the input itself; a file-size limit; hangups, repeated and ignored
// interrupts; arguments at their edges. Real processes throughout; the device node and
// the links are made in a scratch directory.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "scan_process.hpp"
#include "support/program_run.hpp"
#include "tandem/solve.hpp"

namespace tandem::testing {
namespace {

namespace fs = std::filesystem;

class HostileUse : public ::testing::Test {
 protected:
  void SetUp() override { dir_.write("tandem.inp", example_file("hilda-3-2", "tandem.inp")); }
  std::vector<std::string> names(const fs::path& where) const {
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(where)) {
      out.push_back(entry.path().filename().string());
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  ScratchDir dir_;
};

// Reads a FIFO to its end on a thread of its own, while a scan writes into it.
class FifoReader {
 public:
  explicit FifoReader(const fs::path& fifo)
      : thread_([this, fifo] {
          std::ifstream in(fifo, std::ios::binary);
          text_.assign(std::istreambuf_iterator<char>(in), {});
        }) {}
  std::string text() {
    thread_.join();
    return text_;
  }

 private:
  std::string text_;
  std::thread thread_;
};

TEST_F(HostileUse, OutputWritesThroughDevicesFollowsLinksAndSparesTheInput) {
  const fs::path d = dir_.path();
  const std::string whole = run_scan(d, {"2:1", "--threads", "1"}).out;
  ASSERT_FALSE(whole.empty());

  // A FIFO stays a FIFO and gets the catalogue.
  ASSERT_EQ(::mkfifo((d / "pipe").c_str(), 0600), 0);
  FifoReader reader(d / "pipe");
  EXPECT_EQ(run_scan(d, {"2:1", "--threads", "1", "--output", "pipe"}).status, 0);
  EXPECT_EQ(reader.text(), whole);
  EXPECT_TRUE(fs::is_fifo(d / "pipe"));

  // A device node (the null device's numbers, made here) stays a device.
  std::vector<std::string> left = {"part.csv", "pipe",       "same.inp",
                                   "sub",      "tandem.inp", "target.csv"};
  if (::mknod((d / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
    left.insert(left.begin(), "null");
    EXPECT_EQ(run_scan(d, {"2:1", "--threads", "1", "--output", "null"}).status, 0);
    EXPECT_TRUE(fs::is_character_file(d / "null"));
  } else {
    std::cout << "no device node made (not root): that case is not checked\n";
  }

  // A link is followed: its target is replaced, keeping its mode; the link stays.
  dir_.write("target.csv", "old\n");
  ASSERT_EQ(::chmod((d / "target.csv").c_str(), 0600), 0);
  fs::create_directory(d / "sub");
  fs::create_symlink("../target.csv", d / "sub" / "link.csv");
  EXPECT_EQ(run_scan(d, {"2:1", "--threads", "1", "--output", "sub/link.csv"}).status, 0);
  EXPECT_TRUE(fs::is_symlink(d / "sub" / "link.csv"));
  EXPECT_EQ(dir_.read("target.csv"), whole);
  EXPECT_EQ(fs::status(d / "target.csv").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  // The input (here through a hard link) and a part being merged are refused.
  fs::create_hard_link(d / "tandem.inp", d / "same.inp");
  const ScanOutcome onto_input = run_scan(d, {"2:1", "--output", "same.inp"});
  EXPECT_EQ(onto_input.status, 2);
  EXPECT_EQ(onto_input.err,
            "tandem-scan: same.inp: is the file tandem.inp this run reads; the output must be "
            "another file\n");
  EXPECT_EQ(dir_.read("tandem.inp"), example_file("hilda-3-2", "tandem.inp"));
  ASSERT_EQ(run_scan(d, {"2:1", "--shard", "1/1", "--output", "part.csv"}).status, 0);
  const std::string part = dir_.read("part.csv").value();
  const ScanOutcome onto_part = run_scan(d, {"merge", "part.csv", "--output", "part.csv"});
  EXPECT_EQ(onto_part.status, 2);
  EXPECT_EQ(dir_.read("part.csv"), part);
  EXPECT_EQ(names(d), left);
}

TEST_F(HostileUse, FileSizeLimitEndsInOneLineAndKeepsWhatCanBeKept) {
  const fs::path d = dir_.path();
  ChildSetup small;
  small.file_size_limit = 600;  // the header and one row, not three rows
  const ScanOutcome catalogue =
      run_scan(d, {"2:1", "3:2", "5:3", "--threads", "1", "--output", "atlas.csv"}, small);
  EXPECT_EQ(catalogue.status, 2);
  EXPECT_EQ(catalogue.err, "tandem-scan: atlas.csv: File too large\n");
  EXPECT_EQ(names(d), std::vector<std::string>{"tandem.inp"});

  // A curve that cannot be written stops the scan; the rows finished are kept.
  small.file_size_limit = 4096;  // a row, not a curve of 360 lines
  const ScanOutcome curves = run_scan(
      d, {"2:1", "3:2", "--threads", "1", "--output", "atlas.csv", "--curves", "c"}, small);
  EXPECT_EQ(curves.status, 2);
  EXPECT_NE(curves.err.find("tandem-scan: c/"), std::string::npos) << curves.err;
  EXPECT_NE(curves.err.find(".dat: cannot write the curve: File too large; 1 of 2 rows finished "
                            "are kept in atlas.csv.partial\n"),
            std::string::npos)
      << curves.err;
  EXPECT_EQ(lines_of(dir_.read("atlas.csv.partial").value_or("")).size(), 2U);
  EXPECT_EQ(names(d), (std::vector<std::string>{"atlas.csv.partial", "c", "tandem.inp"}));
  EXPECT_TRUE(names(d / "c").empty());

  ASSERT_EQ(run_scan(d, {"2:1", "3:2", "--shard", "1/1", "--output", "part.csv"}).status, 0);
  small.file_size_limit = 300;
  const ScanOutcome merged = run_scan(d, {"merge", "part.csv", "--output", "all.csv"}, small);
  EXPECT_EQ(merged.status, 2);
  EXPECT_EQ(merged.err, "tandem-scan: all.csv: File too large\n");
  EXPECT_FALSE(dir_.exists("all.csv"));
}

// A curve file appears as soon as its resonance is finished.
void wait_for_a_row(const fs::path& curves) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
  for (;;) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(curves, ec)) {
      if (entry.path().extension() == ".dat") {
        return;
      }
    }
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no row within 3 minutes";
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

TEST_F(HostileUse, HangupsAndRepeatedInterruptsKeepTheRowsIgnoredOnesStayIgnored) {
  const std::vector<std::string> args = {"2:1",       "3:2",      "5:3",       "7:4", "9:5",
                                         "11:6",      "13:7",     "--threads", "1",   "--output",
                                         "atlas.csv", "--curves", "c"};
  for (const std::vector<int>& signals :
       {std::vector<int>{SIGHUP}, std::vector<int>{SIGINT, SIGINT, SIGINT}}) {
    SCOPED_TRACE(signals.size());
    fs::remove_all(dir_.path() / "c");
    fs::remove(dir_.path() / "atlas.csv.partial");
    BackgroundScan scan(dir_.path(), args);
    wait_for_a_row(dir_.path() / "c");
    for (const int sig : signals) {
      ASSERT_EQ(::kill(scan.pid(), sig), 0);
    }
    const ScanOutcome stopped = scan.wait();
    EXPECT_EQ(stopped.status, 1) << stopped.err;
    EXPECT_NE(stopped.err.find(" are kept in atlas.csv.partial"), std::string::npos) << stopped.err;
    EXPECT_GE(lines_of(dir_.read("atlas.csv.partial").value_or("")).size(), 2U);
    EXPECT_EQ(names(dir_.path()),
              (std::vector<std::string>{"atlas.csv.partial", "c", "tandem.inp"}));
  }

  // Started with interrupts ignored (a background job of a shell), it ignores them.
  ChildSetup nohup;
  nohup.ignored_signals = {SIGINT, SIGHUP};
  fs::remove_all(dir_.path() / "c");
  BackgroundScan scan(dir_.path(),
                      {"7:4", "9:5", "--threads", "1", "--output", "whole.csv", "--curves", "c"},
                      nohup);
  wait_for_a_row(dir_.path() / "c");
  ASSERT_EQ(::kill(scan.pid(), SIGINT), 0);
  ASSERT_EQ(::kill(scan.pid(), SIGHUP), 0);
  const ScanOutcome went_on = scan.wait();
  EXPECT_EQ(went_on.status, 0) << went_on.err;
  EXPECT_EQ(lines_of(dir_.read("whole.csv").value_or("")).size(), 3U);
}

TEST_F(HostileUse, ArgumentsAtTheirEdges) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
      {{"--ratio", "1:2", "--max-k2", "0"}, "--max-k2 0: K2 runs from 1"},
      {{"3:2", "--max-k2", "5"}, "give either resonances (3:2 5:3) or an enumeration"},
      {{"3:2", "--threads", "0"}, "--threads 0: give a whole number of threads from 1 on"},
      {{"3:2", "--threads", "-1"}, "--threads -1: give a whole number of threads from 1 on"},
      {{"3:2", "--threads", "two"}, "--threads two: give a whole number of threads from 1 on"}};
  for (const auto& [args, why] : refused) {
    const ScanOutcome o = run_scan(dir_.path(), args);
    EXPECT_EQ(o.status, 2) << why;
    const std::string first = o.err.substr(0, o.err.find('\n'));
    EXPECT_EQ(first.rfind("tandem-scan: " + why, 0), 0U) << first;
    EXPECT_LT(first.size(), 160U) << first;
  }

  // A million threads asked for: no more are started than there are processors.
  BackgroundScan many(dir_.path(), {"41:40", "--threads", "1000000", "--quiet"});
  std::size_t most = 0;
  for (int look = 0; look < 20; ++look) {
    std::ifstream status("/proc/" + std::to_string(many.pid()) + "/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("Threads:", 0) == 0) {
        most = std::max<std::size_t>(most, std::stoul(line.substr(8)));
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_GE(most, 1U);
  // The main thread, the scan's worker, and the solve's threads.
  EXPECT_LE(most, available_processors() + 2);

  // On a terminal shared by the rows and the progress line, each row starts a line.
  const ScanOutcome shared =
      run_scan_on_terminal(dir_.path(), {"2:1", "3:2", "--threads", "1"}, true);
  ASSERT_EQ(shared.status, 0);
  for (const std::string row : {"1,2,Hilda", "2,2,Hilda"}) {
    const auto at = shared.err.find(row);
    ASSERT_NE(at, std::string::npos) << shared.err;
    EXPECT_TRUE(shared.err.compare(at - 4, 4, "\r\033[K") == 0 || shared.err[at - 1] == '\n')
        << shared.err;
  }
}

}  // namespace
}  // namespace tandem::testing
