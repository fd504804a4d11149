#pragma once
// Runs the built tandem program in a fresh temporary directory, with a given tandem.inp
// and standard input, and collects its standard output, standard error, exit status and
// the files it leaves.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tandem::testing {

struct ProgramResult {
  int status = -1;  // exit status, or -1 when the process did not exit normally
  int signal = 0;   // terminating signal, or 0
  std::string out;
  std::string err;
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
  ProgramResult run(const std::string& input) const;

 private:
  std::filesystem::path path_;
};

std::string read_file(const std::filesystem::path& file);

// The lines of a text, without their line ends.
std::vector<std::string> lines_of(const std::string& text);

// The source tree's copy of a bundled example file, e.g. example_file("hilda-3-2", "tandem.inp").
std::string example_file(const std::string& example, const std::string& name);

}  // namespace tandem::testing
