// Runs ended by an interrupt, a hangup, a termination request or SIGKILL: during the
// computation no file is touched; during the writing of the reports the records written
// remain, and rsigma.dat, written over an older and longer table, keeps none of that
// table's rows.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "support/console_text.hpp"
#include "support/program_run.hpp"

namespace tandem {
namespace {

namespace fs = std::filesystem;
using testing::BackgroundRun;
using testing::record;
using testing::ScratchDir;
using Clock = std::chrono::steady_clock;

constexpr auto kPatience = std::chrono::seconds(120);  // sanitised builds are slow

struct Pipe {
  int read_end = -1;
  int write_end = -1;
  Pipe() {
    int ends[2];
    if (::pipe(ends) == 0) {
      read_end = ends[0];
      write_end = ends[1];
    }
  }
  ~Pipe() {
    for (int fd : {read_end, write_end}) {
      if (fd >= 0) {
        ::close(fd);
      }
    }
  }
  void close_write_end() {
    ::close(write_end);
    write_end = -1;
  }
};

// Reads the console until `text` has appeared; false if the run ended or took too long.
bool read_until(int fd, const std::string& text, std::string& console) {
  const auto deadline = Clock::now() + kPatience;
  while (console.find(text) == std::string::npos) {
    if (Clock::now() > deadline) {
      return false;
    }
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 1000) <= 0) {
      continue;
    }
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) {
      return false;
    }
    console.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

// The end of the critical-angle line and the line of three blanks, after which the run
// computes (built by appending: g++ 12 gives a false -Wrestrict for "\n" + string).
std::string three_blanks() {
  return std::string("\n").append(record("   "));
}

const std::string older_summary = "catalogue of earlier runs\n";
const std::string older_table = std::string(100000, 'z') + "\n";

std::string stop_message(int sig) {
  return sig == SIGINT ? "Interrupt\n" : sig == SIGHUP ? "Hangup\n" : "Killed\n";
}

// K2 = 50 takes 50000 samples per resonant cycle: seconds of computation.
TEST(Signals, DuringTheComputationNoFileIsTouched) {
  for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
    ScratchDir dir;
    dir.write("tandem.inp", testing::hilda_input);
    dir.write("resonance.dat", older_summary);
    dir.write("rsigma.dat", older_table);
    Pipe console;
    BackgroundRun run(dir, "50 49\n", console.write_end);
    console.close_write_end();
    std::string text;
    ASSERT_TRUE(read_until(console.read_end, three_blanks(), text)) << text;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::kill(run.pid(), sig);
    const auto r = run.wait();
    ASSERT_NE(r.status, 0) << "the computation ended before the signal came";
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, stop_message(sig));
    EXPECT_EQ(dir.read("resonance.dat"), older_summary);
    EXPECT_EQ(dir.read("rsigma.dat"), older_table);
  }
}

// The position of the run in the open rsigma.dat, or -1 while it has none open.
long table_position(pid_t pid) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
    std::error_code link_error;
    const fs::path target = fs::read_symlink(entry.path(), link_error);
    if (link_error || target.filename() != "rsigma.dat") {
      continue;
    }
    std::ifstream info("/proc/" + std::to_string(pid) + "/fdinfo/" +
                       entry.path().filename().string());
    std::string key;
    long position = -1;
    if (info >> key >> position && key == "pos:") {
      return position;
    }
  }
  return -1;
}

// The run is held in the middle of the table: its console is a pipe that the test has
// filled, but for the room of the lines before the computation, so the run blocks on the
// first equilibrium line, which comes right after that row of rsigma.dat. Then it is
// interrupted, hung up or killed outright. rsigma.dat, over an older and longer table,
// holds exactly the rows written, even after SIGKILL, which no handler sees.
TEST(Signals, DuringTheReportsWrittenRecordsRemainAndNoOlderRowFollows) {
  ScratchDir normal;
  normal.write("tandem.inp", testing::hilda_input);
  const auto undisturbed = normal.run("3 2\n");
  ASSERT_EQ(undisturbed.status, 0);
  const std::string table = normal.read("rsigma.dat").value_or("");
  const std::string summary = normal.read("resonance.dat").value_or("");
  const std::string console_before_tables =
      undisturbed.out.substr(0, undisturbed.out.find(three_blanks()) + three_blanks().size());
  // The table through the first row with a libration period, the one 59 characters long.
  std::size_t rows_through_equilibrium = 0;
  for (std::size_t start = 0, end; (end = table.find('\n', start)) != std::string::npos;
       start = end + 1) {
    if (end - start == 59) {
      rows_through_equilibrium = end + 1;
      break;
    }
  }
  ASSERT_GT(rows_through_equilibrium, 0u) << "the Hilda case has a stable equilibrium";

  for (const int sig : {SIGINT, SIGHUP, SIGKILL}) {
    Pipe console;
    ASSERT_GE(::fcntl(console.write_end, F_SETPIPE_SZ, 4096), 0);
    const int room = ::fcntl(console.write_end, F_GETPIPE_SZ);
    const std::string filler(static_cast<std::size_t>(room) - console_before_tables.size(), '#');
    ASSERT_EQ(::write(console.write_end, filler.data(), filler.size()),
              static_cast<ssize_t>(filler.size()));

    ScratchDir dir;
    dir.write("tandem.inp", testing::hilda_input);
    dir.write("resonance.dat", older_summary);
    dir.write("rsigma.dat", older_table);
    BackgroundRun run(dir, "3 2\n", console.write_end);
    const auto deadline = Clock::now() + kPatience;
    while (table_position(run.pid()) != static_cast<long>(rows_through_equilibrium) &&
           Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_EQ(table_position(run.pid()), static_cast<long>(rows_through_equilibrium))
        << "the run did not stop at the first equilibrium line";
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::kill(run.pid(), sig);
    const auto r = run.wait();
    if (sig == SIGKILL) {
      EXPECT_EQ(r.signal, SIGKILL);
      EXPECT_EQ(r.err, "");
    } else {
      EXPECT_EQ(r.status, 1) << sig;
      EXPECT_EQ(r.err, stop_message(sig));
    }
    const std::string written = dir.read("rsigma.dat").value_or("");
    EXPECT_EQ(written.size(), rows_through_equilibrium) << "rows of the older table follow";
    EXPECT_TRUE(written == table.substr(0, rows_through_equilibrium))
        << "the rows written are not those of the undisturbed run";
    EXPECT_EQ(dir.read("resonance.dat"), older_summary + summary.substr(0, summary.find(" sigma=")))
        << sig;
  }
}

}  // namespace
}  // namespace tandem
