#pragma once
// The console program's files, read and written by the same code as the program.
//
// read_input reads a tandem.inp (a comment line, the star mass, a comment line, then for
// planet 1 and planet 2: a, e, i, node, perihelion, mass) with the program's free-format
// reader, and refuses what the program refuses. write_files writes what one run of the
// program leaves in its directory: rsigma.dat rewritten, one block appended to
// resonance.dat, byte for byte, waiting for another run that writes there at the time.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tandem/problem.hpp"
#include "tandem/result.hpp"
#include "tandem/system.hpp"

namespace tandem {

struct InputFile {
  System system;
  std::string name;                   // line 1 of the file, without its line end
  std::vector<std::string> warnings;  // e.g. values left over on a planet line
};

// A tandem.inp that cannot be read, is malformed, or holds a value solve refuses.
// what() names the file, the line and the item where they are known.
class InputFileError : public std::runtime_error {
 public:
  enum class Kind { unreadable, malformed, refused };
  InputFileError(Kind kind, const std::string& file, const std::string& text, int error_number,
                 int line, std::optional<Item> item, std::optional<Problem> problem);
  Kind kind() const noexcept { return kind_; }
  const std::string& file() const noexcept { return file_; }
  int error_number() const noexcept { return error_number_; }  // errno for unreadable, else 0
  int line() const noexcept { return line_; }                  // 1-based; 0 when not known
  const std::optional<Item>& item() const noexcept { return item_; }
  const std::optional<Problem>& problem() const noexcept { return problem_; }

 private:
  Kind kind_;
  std::string file_;
  int error_number_;
  int line_;
  std::optional<Item> item_;
  std::optional<Problem> problem_;
};

InputFile read_input(const std::filesystem::path& file);

// A write that failed; what() is the record layer's report (operation, unit, file).
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Rewrites dir/rsigma.dat and appends one block to dir/resonance.dat, exactly as a run of
// the console program in dir with the same system and answer does.
void write_files(const Result& result, const std::filesystem::path& dir);

}  // namespace tandem
