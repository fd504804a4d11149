#include "support/program_run.hpp"

#include <sys/wait.h>
#include <unistd.h>

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

ProgramResult ScratchDir::run(const std::string& input) const {
  // The console streams live outside the working directory, so that the run sees only
  // the files a test put there.
  ScratchDir console;
  const fs::path in = console.path() / "stdin";
  const fs::path out = console.path() / "stdout";
  const fs::path err = console.path() / "stderr";
  console.write("stdin", input);
  const std::string command = "cd '" + path_.string() + "' && '" TANDEM_EXE "' < '" + in.string() +
                              "' > '" + out.string() + "' 2> '" + err.string() + "'";
  const int raw = std::system(command.c_str());
  ProgramResult result;
  if (WIFEXITED(raw)) {
    result.status = WEXITSTATUS(raw);
  } else if (WIFSIGNALED(raw)) {
    result.signal = WTERMSIG(raw);
  }
  result.out = read_file(out);
  result.err = read_file(err);
  return result;
}

std::string example_file(const std::string& example, const std::string& name) {
  return read_file(fs::path(TANDEM_SOURCE_DIR) / "examples" / example / name);
}

}  // namespace tandem::testing
