#include "textio/unit_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "textio/fatal_report.hpp"

namespace tandem::textio {
namespace {

// A directory opens read-only on POSIX but holds no records: it counts as a failure.
int open_non_directory(const std::string& name, int flags, int& error) {
  const int fd = ::open(name.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = errno;
    return -1;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    error = EISDIR;
    return -1;
  }
  return fd;
}

}  // namespace

Unit standard_unit(int fd) {
  Unit unit;
  unit.fd = fd;
  unit.input.set_descriptor(fd);
  return unit;
}

Unit open_file(const std::string& name, Status status, Access access) {
  struct stat info {};
  if (status == Status::old && ::stat(name.c_str(), &info) != 0) {
    throw system_failure("open", errno);
  }
  // Never O_TRUNC: an existing file keeps its content until close cuts it.
  const struct {
    int flags;
    Mode mode;
  } attempts[] = {{O_RDWR, Mode::read_write},
                  {O_RDONLY, Mode::read_only},
                  {O_WRONLY | O_CREAT, Mode::write_only}};
  Unit unit;
  int error = 0;
  for (const auto& attempt : attempts) {
    unit.fd = open_non_directory(name, attempt.flags, error);
    if (unit.fd >= 0) {
      unit.mode = attempt.mode;
      break;
    }
  }
  if (unit.fd < 0) {
    throw system_failure("open", error);
  }
  if (access == Access::append && ::lseek(unit.fd, 0, SEEK_END) < 0) {
    ::close(unit.fd);
    throw IoFailure("open", "can't append to file");
  }
  struct stat opened {};
  unit.regular = ::fstat(unit.fd, &opened) == 0 && S_ISREG(opened.st_mode);
  unit.name = name;
  unit.owned = true;
  unit.input.set_descriptor(unit.fd);
  return unit;
}

void make_writable(Unit& unit, const char* start_word) {
  const auto unread = static_cast<off_t>(unit.input.unread());
  // A pipe or terminal cannot step back; its input stays for later reads.
  if (unread == 0 || ::lseek(unit.fd, -unread, SEEK_CUR) >= 0) {
    unit.input.discard();
  }
  if (unit.mode != Mode::read_only) {
    return;
  }
  const off_t position = ::lseek(unit.fd, 0, SEEK_CUR);
  const int fd = ::open(unit.name->c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0 || position < 0 || ::lseek(fd, position, SEEK_SET) < 0) {
    if (fd >= 0) {
      ::close(fd);
    }
    throw IoFailure(start_word, "can't write file");
  }
  ::close(unit.fd);
  unit.fd = fd;
  unit.input.set_descriptor(fd);
  unit.mode = Mode::read_write;
}

void write_record(Unit& unit, std::string_view record, const char* out_word) {
  std::string line(record);
  line += '\n';
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = ::write(unit.fd, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      throw system_failure(out_word, n < 0 ? errno : EIO);
    }
    done += static_cast<std::size_t>(n);
  }
}

void truncate_here(Unit& unit) {
  if (!unit.regular) {
    return;
  }
  const off_t position = ::lseek(unit.fd, 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(unit.fd, position) != 0) {
    throw IoFailure("endfile", "truncation failed in endfile");
  }
}

void close_descriptor(Unit& unit) {
  const int fd = unit.fd;
  unit.fd = -1;
  if (::close(fd) != 0) {
    throw system_failure("close", errno);
  }
}

}  // namespace tandem::textio
