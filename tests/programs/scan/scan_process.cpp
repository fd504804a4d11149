#include "scan_process.hpp"

#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tandem::testing {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

fs::path side_file(const std::string& what) {
  static int counter = 0;
  return fs::temp_directory_path() / ("tandem-scan-test-" + std::to_string(::getpid()) + "-" +
                                      std::to_string(++counter) + "." + what);
}

// In the child: the arguments as execv wants them. Built before fork.
std::vector<char*> argv_of(std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (std::string& w : words) {
    argv.push_back(w.data());
  }
  argv.push_back(nullptr);
  return argv;
}

std::vector<std::string> command(const std::vector<std::string>& args) {
  std::vector<std::string> words{TANDEM_SCAN_EXE};
  words.insert(words.end(), args.begin(), args.end());
  return words;
}

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void exec_scan(const fs::path& dir, char* const* argv, const ChildSetup& setup = {}) {
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ}) {
    ::signal(sig, SIG_DFL);
  }
  for (int sig : setup.ignored_signals) {
    ::signal(sig, SIG_IGN);
  }
  if (setup.file_size_limit >= 0) {
    const rlimit limit{static_cast<rlim_t>(setup.file_size_limit),
                       static_cast<rlim_t>(setup.file_size_limit)};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  if (::chdir(dir.c_str()) != 0) {
    ::_exit(127);
  }
  ::execv(argv[0], argv);
  ::_exit(127);
}

int status_of(int raw) {
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

pid_t start(const fs::path& dir, const std::vector<std::string>& args, const fs::path& out,
            const fs::path& err, const ChildSetup& setup) {
  std::vector<std::string> words = command(args);
  std::vector<char*> argv = argv_of(words);
  const int in_fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int out_fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int err_fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::dup2(in_fd, 0) < 0 || ::dup2(out_fd, 1) < 0 || ::dup2(err_fd, 2) < 0) {
      ::_exit(127);
    }
    exec_scan(dir, argv.data(), setup);
  }
  ::close(in_fd);
  ::close(out_fd);
  ::close(err_fd);
  return pid;
}

}  // namespace

ScanOutcome run_scan(const fs::path& dir, const std::vector<std::string>& args,
                     const ChildSetup& setup) {
  BackgroundScan scan(dir, args, setup);
  return scan.wait();
}

ScanOutcome run_scan_on_terminal(const fs::path& dir, const std::vector<std::string>& args,
                                 bool output_on_terminal) {
  const fs::path out = side_file("out");
  std::vector<std::string> words = command(args);
  std::vector<char*> argv = argv_of(words);
  const int out_fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  int terminal = -1;
  const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid < 0) {
    throw std::runtime_error("forkpty failed");
  }
  if (pid == 0) {
    // The pseudo-terminal is standard input, output and error: keep it on error only,
    // unless the output is to share it.
    if (!output_on_terminal && ::dup2(out_fd, 1) < 0) {
      ::_exit(127);
    }
    exec_scan(dir, argv.data());
  }
  ::close(out_fd);
  ScanOutcome outcome;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(terminal, buf, sizeof buf);
    if (n > 0) {
      outcome.err.append(buf, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // EIO once the program has closed its side
    }
  }
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  ::close(terminal);
  outcome.status = status_of(raw);
  outcome.out = slurp(out);
  fs::remove(out);
  return outcome;
}

BackgroundScan::BackgroundScan(const fs::path& dir, const std::vector<std::string>& args,
                               const ChildSetup& setup)
    : out_(side_file("out")), err_(side_file("err")) {
  pid_ = start(dir, args, out_, err_, setup);
}

BackgroundScan::~BackgroundScan() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  std::error_code ignored;
  fs::remove(out_, ignored);
  fs::remove(err_, ignored);
}

ScanOutcome BackgroundScan::wait() {
  int raw = 0;
  ::waitpid(pid_, &raw, 0);
  pid_ = -1;
  return {status_of(raw), slurp(out_), slurp(err_)};
}

}  // namespace tandem::testing
