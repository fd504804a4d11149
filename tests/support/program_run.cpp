#include "support/program_run.hpp"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tandem::testing {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::string pattern = (fs::temp_directory_path() / "tandem-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  // A test may have made the directory read-only; give the permission back to clean up.
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void ScratchDir::write(const std::string& name, const std::string& content) const {
  std::ofstream f(path_ / name, std::ios::binary);
  f << content;
}

std::string read_file(const fs::path& file) {
  std::ifstream f(file, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream s(text);
  for (std::string line; std::getline(s, line);)
    lines.push_back(line);
  return lines;
}

std::optional<std::string> ScratchDir::read(const std::string& name) const {
  if (!fs::exists(path_ / name))
    return std::nullopt;
  return read_file(path_ / name);
}

bool ScratchDir::exists(const std::string& name) const {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path_ / name, ec));
}

namespace {

ProgramResult result_of(int wait_status) {
  ProgramResult result;
  if (WIFEXITED(wait_status)) {
    result.status = WEXITSTATUS(wait_status);
  } else if (WIFSIGNALED(wait_status)) {
    result.signal = WTERMSIG(wait_status);
  }
  return result;
}

}  // namespace

ProgramResult ScratchDir::run(const std::string& input, const Launch& launch) const {
  // The console streams live outside the working directory, so that the run sees only
  // the files a test put there.
  ScratchDir console;
  const fs::path in = console.path() / "stdin";
  const fs::path out = console.path() / "stdout";
  const fs::path err = console.path() / "stderr";
  console.write("stdin", input);
  const std::string command = "cd '" + path_.string() + "' && " + launch.launcher +
                              " '" TANDEM_EXE "' < '" + in.string() + "' > '" + out.string() +
                              "' 2> '" + err.string() + "' " + launch.redirections;
  ProgramResult result = result_of(std::system(command.c_str()));
  result.out = read_file(out);
  result.err = read_file(err);
  return result;
}

BackgroundRun::BackgroundRun(const ScratchDir& dir, const std::string& input, int out_fd) {
  console_.write("stdin", input);
  const std::string in = (console_.path() / "stdin").string();
  const std::string err = (console_.path() / "stderr").string();
  const std::string work = dir.path().string();
  pid_ = ::fork();
  if (pid_ != 0) {
    return;
  }
  // The child: only calls that are safe after fork in a process that may have threads.
  const int in_fd = ::open(in.c_str(), O_RDONLY);
  const int err_fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in_fd < 0 || err_fd < 0 || ::chdir(work.c_str()) != 0 || ::dup2(in_fd, 0) < 0 ||
      ::dup2(out_fd, 1) < 0 || ::dup2(err_fd, 2) < 0) {
    ::_exit(127);
  }
  for (int sig : {SIGINT, SIGHUP, SIGTERM, SIGPIPE}) {
    ::signal(sig, SIG_DFL);
  }
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::execl(TANDEM_EXE, TANDEM_EXE, static_cast<char*>(nullptr));
  ::_exit(127);
}

BackgroundRun::~BackgroundRun() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

ProgramResult BackgroundRun::wait() {
  int raw = 0;
  struct rusage usage {};
  const pid_t ended = ::wait4(pid_, &raw, 0, &usage);
  pid_ = -1;
  ProgramResult result = ended < 0 ? ProgramResult{} : result_of(raw);
  result.max_rss_kb = usage.ru_maxrss;
  result.err = read_file(console_.path() / "stderr");
  return result;
}

std::string example_file(const std::string& example, const std::string& name) {
  return read_file(fs::path(TANDEM_SOURCE_DIR) / "examples" / example / name);
}

}  // namespace tandem::testing
