#pragma once
// Where a tandem program writes its catalogue: standard output, or a file that appears
// whole or not at all.
//
// A regular file (or a name not yet taken) is written under a temporary name beside it
// (".<name>.<random>.tmp", so that the rename stays on one file system) and renamed to its
// name by commit(); a file it replaces keeps its permissions. A symbolic link is followed:
// its target is the file replaced, and the link stays a link. A run that stops early keeps
// what it wrote with keep_partial(), under "<name>.partial" beside the file, never under
// the final name. A temporary left by neither is removed by the destructor.
//
// What is not a regular file (a device such as /dev/null, a FIFO, a terminal) and the
// program's own standard output, also when named as a file (/dev/stdout), are written
// through: no temporary, no rename; commit() and keep_partial() only close.
//
// An output that is the same file as one the run reads (its input, a part being merged)
// is refused before anything is written. Failures throw OutputFailure, whose what()
// names the file and the system's reason, on one line.

#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace tandem::common {

class OutputFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class OutputFile {
 public:
  // An empty path means standard output. Creates the temporary (or opens the device) at
  // once, so that an unwritable place is reported before any work is done. `reads`: the
  // files the run reads, which the output must not be.
  explicit OutputFile(const std::filesystem::path& file,
                      const std::vector<std::filesystem::path>& reads = {});
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void write(std::string_view text);
  void commit();
  // Returns the name the partial output is kept under (empty when written through).
  std::filesystem::path keep_partial();

  const std::filesystem::path& file() const { return file_; }  // empty: standard output
  // True where nothing is held back: standard output, a device, a FIFO.
  bool written_through() const { return temporary_.empty(); }
  static std::filesystem::path partial_name(const std::filesystem::path& file);

 private:
  void close_fd();
  std::string label() const;

  std::filesystem::path file_;
  std::filesystem::path target_;  // the regular file replaced: file_, or a link's target
  std::filesystem::path temporary_;
  int fd_ = 1;
  bool owns_fd_ = false;
};

}  // namespace tandem::common
