#pragma once
// Runs the built tandem program in a fresh temporary directory, with a given tandem.inp
// and standard input, and collects its standard output, standard error, exit status and
// the files it leaves.

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tandem::testing {

struct ProgramResult {
  int status = -1;      // exit status, or -1 when the process did not exit normally
  int signal = 0;       // terminating signal, or 0
  long max_rss_kb = 0;  // peak resident memory of a BackgroundRun, in KiB
  std::string out;
  std::string err;
};

// How a run is started: shell words put before the program (a setpriv or unshare call),
// and shell redirections put after the usual ones, which they override (">/dev/full",
// "2>&-").
struct Launch {
  std::string launcher;
  std::string redirections;
};

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  void write(const std::string& name, const std::string& content) const;
  std::optional<std::string> read(const std::string& name) const;
  bool exists(const std::string& name) const;
  // Runs the program here with `input` on its standard input.
  ProgramResult run(const std::string& input, const Launch& launch = {}) const;

 private:
  std::filesystem::path path_;
};

// A run started in the background, for tests that act on it while it works: send it a
// signal, or let its console pipe fill up. Standard input holds `input`, standard output
// is `out_fd` (the caller keeps its own end of the pipe and reads it), standard error is
// collected. The interrupt, hangup, termination and broken-pipe signals are back at their
// defaults in the program, whatever the test runner's were.
class BackgroundRun {
 public:
  BackgroundRun(const ScratchDir& dir, const std::string& input, int out_fd);
  ~BackgroundRun();  // a run still going is killed
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;

  pid_t pid() const { return pid_; }
  // Waits for the end of the run; `out` stays empty.
  ProgramResult wait();

 private:
  ScratchDir console_;
  pid_t pid_ = -1;
};

std::string read_file(const std::filesystem::path& file);

// The lines of a text, without their line ends.
std::vector<std::string> lines_of(const std::string& text);

// The source tree's copy of a bundled example file, e.g. example_file("hilda-3-2", "tandem.inp").
std::string example_file(const std::string& example, const std::string& name);

}  // namespace tandem::testing
