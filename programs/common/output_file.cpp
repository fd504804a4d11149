#include "common/output_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
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

[[noreturn]] void fail(const fs::path& file, const std::string& what, int error_number) {
  throw OutputFailure(file.string() + ": " + what + reason(error_number));
}

bool same_file(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A name no other writer picks: the process id and random digits, retried on a clash.
// open(O_EXCL) with mode 0666 lets the umask decide a new file's permissions, as for any
// file the user's shell creates (mkstemp would leave it readable by the owner only).
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

// Where a link that leads nowhere points: the file it would create, as a shell's ">" does.
fs::path dangling_target(fs::path link) {
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(link, ec))) {
      return link;
    }
    const fs::path to = fs::read_symlink(link, ec);
    if (ec) {
      return link;
    }
    link = to.is_absolute() ? to : link.parent_path() / to;
  }
  return link;
}

}  // namespace

fs::path OutputFile::partial_name(const fs::path& file) {
  fs::path partial = file;
  partial += ".partial";
  return partial;
}

OutputFile::OutputFile(const fs::path& file, const std::vector<fs::path>& reads)
    : file_(file), target_(file) {
  if (file_.empty()) {
    return;
  }
  struct stat st {};
  if (::stat(file_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      throw OutputFailure(file_.string() + ": is a directory");
    }
    if (S_ISREG(st.st_mode)) {
      for (const fs::path& read : reads) {
        struct stat in {};
        if (::stat(read.c_str(), &in) == 0 && same_file(st, in)) {
          throw OutputFailure(file_.string() + ": is " +
                              (read == file_ ? std::string("read by this run")
                                             : "the file " + read.string() + " this run reads") +
                              "; the output must be another file");
        }
      }
    }
    struct stat out {};
    if (::fstat(STDOUT_FILENO, &out) == 0 && same_file(st, out)) {
      return;  // our own standard output, under another name
    }
    if (!S_ISREG(st.st_mode)) {
      fd_ = ::open(file_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
      if (fd_ < 0) {
        fail(file_, "cannot open: ", errno);
      }
      owns_fd_ = true;
      return;
    }
    // A regular file, perhaps through links: the file itself is replaced.
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(file_, ec))) {
      target_ = fs::canonical(file_, ec);
      if (ec) {
        fail(file_, "cannot follow the link: ", ec.value());
      }
    }
  } else if (errno == ENOENT) {
    target_ = dangling_target(file_);
  } else {
    fail(file_, "", errno);
  }
  fd_ = create_temporary(target_, temporary_);
  if (fd_ < 0) {
    const int error_number = errno;
    temporary_.clear();
    fail(target_, "cannot create a file beside it: ", error_number);
  }
  owns_fd_ = true;
  struct stat old {};
  if (::stat(target_.c_str(), &old) == 0) {
    ::fchmod(fd_, old.st_mode & 07777);  // the file replaced keeps its permissions
  }
}

OutputFile::~OutputFile() {
  if (owns_fd_ && fd_ >= 0) {
    ::close(fd_);
  }
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
  }
}

std::string OutputFile::label() const {
  return file_.empty() ? std::string("standard output") : file_.string();
}

void OutputFile::write(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd_, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      const int error_number = errno;
      throw OutputFailure(label() + ": " + reason(error_number));
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

void OutputFile::close_fd() {
  if (!owns_fd_) {
    return;
  }
  const int fd = fd_;
  fd_ = -1;
  owns_fd_ = false;
  if (::close(fd) != 0) {
    const int error_number = errno;
    throw OutputFailure(label() + ": " + reason(error_number));
  }
}

void OutputFile::commit() {
  close_fd();
  if (temporary_.empty()) {
    return;
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const int error_number = errno;
    throw OutputFailure(target_.string() + ": cannot rename " + temporary_.string() +
                        " to it: " + reason(error_number));
  }
  temporary_.clear();
}

fs::path OutputFile::keep_partial() {
  close_fd();
  if (temporary_.empty()) {
    return {};
  }
  const fs::path partial = partial_name(target_);
  if (::rename(temporary_.c_str(), partial.c_str()) != 0) {
    const int error_number = errno;
    throw OutputFailure(partial.string() + ": cannot rename " + temporary_.string() +
                        " to it: " + reason(error_number));
  }
  temporary_.clear();
  return partial;
}

}  // namespace tandem::common
