#pragma once
// Runs the built tandem-scan as a real process in a directory: with its standard error on
// a file, or on a pseudo-terminal, or in the background to be signalled.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tandem::testing {

// What the child process gets besides the usual: a file-size limit (ulimit -f, bytes) and
// signals it starts with ignored (as under nohup, or as a shell's background job).
struct ChildSetup {
  long long file_size_limit = -1;  // none
  std::vector<int> ignored_signals;
};

struct ScanOutcome {
  int status = -1;  // exit status, -1 when ended by a signal
  std::string out;
  std::string err;
};

// tandem-scan ARGS in dir; standard input is the null device.
ScanOutcome run_scan(const std::filesystem::path& dir, const std::vector<std::string>& args,
                     const ChildSetup& setup = {});

// The same with standard error on a pseudo-terminal (standard output on a file, or on the
// terminal too, where it then also lands in err).
ScanOutcome run_scan_on_terminal(const std::filesystem::path& dir,
                                 const std::vector<std::string>& args,
                                 bool output_on_terminal = false);

// A scan left running; killed by the destructor if still going.
class BackgroundScan {
 public:
  BackgroundScan(const std::filesystem::path& dir, const std::vector<std::string>& args,
                 const ChildSetup& setup = {});
  ~BackgroundScan();
  BackgroundScan(const BackgroundScan&) = delete;
  BackgroundScan& operator=(const BackgroundScan&) = delete;
  pid_t pid() const { return pid_; }
  ScanOutcome wait();

 private:
  std::filesystem::path out_;
  std::filesystem::path err_;
  pid_t pid_ = -1;
};

}  // namespace tandem::testing
