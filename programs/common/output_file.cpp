#include "common/output_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

namespace tandem::common {
namespace {

namespace fs = std::filesystem;

std::string reason(int error_number) {
  return std::strerror(error_number);
}

// A name no other writer picks: the process id and random digits, retried on a clash.
// open(O_EXCL) with mode 0666 lets the umask decide the final file's permissions, as for
// any file the user's shell creates (mkstemp would leave it readable by the owner only).
int create_temporary(const fs::path& file, fs::path& temporary) {
  std::random_device seed;
  std::mt19937_64 draw(seed());
  const fs::path dir = file.has_parent_path() ? file.parent_path() : fs::path(".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = ".";
    name += file.filename().string();
    name += '.';
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(draw() % 1000000000);
    name += ".tmp";
    temporary = dir / name;
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) {
      return fd;
    }
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

fs::path OutputFile::partial_name(const fs::path& file) {
  fs::path partial = file;
  partial += ".partial";
  return partial;
}

OutputFile::OutputFile(const fs::path& file) : file_(file) {
  if (file_.empty()) {
    return;
  }
  std::error_code ec;
  if (fs::is_directory(file_, ec)) {
    throw OutputFailure(file_.string() + ": is a directory");
  }
  fd_ = create_temporary(file_, temporary_);
  if (fd_ < 0) {
    const int error_number = errno;
    throw OutputFailure(file_.string() +
                        ": cannot create a file beside it: " + reason(error_number));
  }
}

OutputFile::~OutputFile() {
  if (!temporary_.empty()) {
    ::close(fd_);
    ::unlink(temporary_.c_str());
  }
}

void OutputFile::write(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd_, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      const int error_number = errno;
      throw OutputFailure((file_.empty() ? std::string("standard output") : file_.string()) + ": " +
                          reason(error_number));
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

void OutputFile::close_temporary() {
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    const int error_number = errno;
    throw OutputFailure(file_.string() + ": " + reason(error_number));
  }
}

void OutputFile::commit() {
  if (temporary_.empty()) {
    return;
  }
  close_temporary();
  if (::rename(temporary_.c_str(), file_.c_str()) != 0) {
    const int error_number = errno;
    throw OutputFailure(file_.string() + ": cannot rename " + temporary_.string() +
                        " to it: " + reason(error_number));
  }
  temporary_.clear();
}

fs::path OutputFile::keep_partial() {
  if (temporary_.empty()) {
    return {};
  }
  const fs::path partial = partial_name(file_);
  close_temporary();
  if (::rename(temporary_.c_str(), partial.c_str()) != 0) {
    const int error_number = errno;
    throw OutputFailure(partial.string() + ": cannot rename " + temporary_.string() +
                        " to it: " + reason(error_number));
  }
  temporary_.clear();
  return partial;
}

}  // namespace tandem::common
