#include "textio/unit_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "textio/fatal_report.hpp"
#include "textio/signal_cut.hpp"

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

bool is_regular(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

// Waits for the exclusive lock. Any failure but an interruption means the file system
// offers no locks (ENOLCK, EOPNOTSUPP, EINVAL): the unit then works unlocked.
bool take_lock(int fd) {
  for (;;) {
    if (::flock(fd, LOCK_EX) == 0) {
      return true;
    }
    if (errno != EINTR) {
      return false;
    }
  }
}

// Locks an APPEND unit's file and notes where this run's records start: the end of the
// file once the lock is held, after whatever other runs appended meanwhile.
void start_appending(Unit& unit) {
  unit.locked = take_lock(unit.fd);
  const off_t end = ::lseek(unit.fd, 0, SEEK_END);
  if (end < 0) {
    throw IoFailure("open", "can't append to file");
  }
  unit.record_end = end;
}

// Keeps the end of the last whole record where a signal handler can cut the file back to
// it. An unlocked APPEND unit is left out: other runs may have appended after it.
void publish_record_end(const Unit& unit) {
  if (unit.owned && unit.regular && (!unit.append || unit.locked)) {
    watch_written_file(unit.fd, unit.record_end);
  }
}

// Cuts off what a failed write left of its record. For an unlocked APPEND unit the cut is
// made only when the file ends right after that remnant, i.e. nobody appended since.
void take_back_partial_record(Unit& unit, std::size_t written) {
  if (!unit.owned || !unit.regular || written == 0) {
    return;
  }
  if (unit.append && !unit.locked) {
    struct stat info {};
    if (::fstat(unit.fd, &info) != 0 ||
        info.st_size != unit.record_end + static_cast<long long>(written)) {
      return;
    }
  }
  if (::ftruncate(unit.fd, unit.record_end) == 0 && !unit.append) {
    ::lseek(unit.fd, unit.record_end, SEEK_SET);
  }
}

}  // namespace

Unit standard_unit(int fd) {
  Unit unit;
  unit.fd = fd;
  unit.input.set_descriptor(fd, is_regular(fd));
  return unit;
}

Unit open_file(const std::string& name, Status status, Access access) {
  struct stat info {};
  if (status == Status::old && ::stat(name.c_str(), &info) != 0) {
    throw system_failure("open", errno);
  }
  const int append = access == Access::append ? O_APPEND : 0;
  struct Attempt {
    int flags;
    Mode mode;
  };
  // Never O_TRUNC: a file obtained read-only must keep its content. An existing file is
  // read first where it is only to be read; otherwise obtained for writing if it can be.
  const Attempt for_reading[] = {
      {O_RDONLY, Mode::read_only}, {O_RDWR, Mode::read_write}, {O_WRONLY, Mode::write_only}};
  const Attempt for_writing[] = {{O_RDWR | append, Mode::read_write},
                                 {O_RDONLY, Mode::read_only},
                                 {O_WRONLY | O_CREAT | append, Mode::write_only}};
  const Attempt* attempts = status == Status::old ? for_reading : for_writing;
  Unit unit;
  int error = 0;
  for (int i = 0; i < 3; ++i) {
    unit.fd = open_non_directory(name, attempts[i].flags, error);
    if (unit.fd >= 0) {
      unit.mode = attempts[i].mode;
      break;
    }
  }
  if (unit.fd < 0) {
    throw system_failure("open", error);
  }
  unit.regular = is_regular(unit.fd);
  unit.append = access == Access::append;
  try {
    if (unit.append) {
      start_appending(unit);
    }
  } catch (const IoFailure&) {
    ::close(unit.fd);
    throw;
  }
  if (!unit.append && status == Status::unknown && unit.mode != Mode::read_only && unit.regular) {
    // A file that refuses to shrink is written over and fails its cut at close, as before.
    [[maybe_unused]] const int ignored = ::ftruncate(unit.fd, 0);
  }
  unit.name = name;
  unit.owned = true;
  unit.input.set_descriptor(unit.fd, unit.regular);
  return unit;
}

void make_writable(Unit& unit, const char* start_word) {
  const auto unread = static_cast<off_t>(unit.input.unread());
  // A pipe or terminal cannot step back; its input stays for later reads.
  if (unread == 0 || ::lseek(unit.fd, -unread, SEEK_CUR) >= 0) {
    unit.input.discard();
  }
  if (unit.mode == Mode::read_only) {
    const off_t position = ::lseek(unit.fd, 0, SEEK_CUR);
    const int fd = ::open(unit.name->c_str(), O_RDWR | O_CLOEXEC | (unit.append ? O_APPEND : 0));
    if (fd < 0 || position < 0 || ::lseek(fd, position, SEEK_SET) < 0) {
      if (fd >= 0) {
        ::close(fd);
      }
      throw IoFailure(start_word, "can't write file");
    }
    // The lock belongs to the descriptor given up; the new one waits for it afresh.
    forget_written_file(unit.fd);
    ::close(unit.fd);
    unit.fd = fd;
    unit.input.set_descriptor(fd, unit.regular);
    unit.mode = Mode::read_write;
    if (unit.append) {
      try {
        start_appending(unit);
      } catch (const IoFailure&) {
        throw IoFailure(start_word, "can't write file");
      }
    }
  }
  if (!unit.last_wrote && !unit.append && unit.regular) {
    // Writing after reading starts where reading stopped.
    const off_t position = ::lseek(unit.fd, 0, SEEK_CUR);
    unit.record_end = position < 0 ? 0 : position;
  }
  publish_record_end(unit);
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
      const int error = n < 0 ? errno : EIO;
      take_back_partial_record(unit, done);
      throw system_failure(out_word, error);
    }
    done += static_cast<std::size_t>(n);
  }
  if (unit.regular) {
    unit.record_end += static_cast<long long>(line.size());
    publish_record_end(unit);
  }
}

void truncate_here(Unit& unit) {
  if (!unit.regular || unit.append) {
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
