#pragma once
// Where a tandem program writes its catalogue: standard output, or a file that appears
// whole or not at all.
//
// A file is written under a temporary name in the same directory (".<name>.<random>.tmp",
// so that the rename stays on one file system) and renamed to its name by commit(). A
// run that stops early keeps what it wrote with keep_partial(), under "<name>.partial",
// never under the final name. A temporary left by neither is removed by the destructor.
// On standard output nothing is held back: commit() and keep_partial() only flush.
//
// Failures throw OutputFailure, whose what() names the file and the system's reason.

#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace tandem::common {

class OutputFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class OutputFile {
 public:
  // An empty path means standard output. Creates the temporary at once, so that an
  // unwritable directory is reported before any work is done.
  explicit OutputFile(const std::filesystem::path& file);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void write(std::string_view text);
  void commit();
  // Returns the name the partial output is kept under (empty on standard output).
  std::filesystem::path keep_partial();

  const std::filesystem::path& file() const { return file_; }  // empty: standard output
  static std::filesystem::path partial_name(const std::filesystem::path& file);

 private:
  void close_temporary();

  std::filesystem::path file_;
  std::filesystem::path temporary_;
  int fd_ = 1;
};

}  // namespace tandem::common
