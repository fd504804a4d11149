#pragma once
// A descriptor that reads back the given bytes, for the units the fuzz targets read from.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace tandem::fuzz {

inline int memory_file(const std::uint8_t* data, std::size_t size) {
  const int fd = ::memfd_create("fuzz-input", MFD_CLOEXEC);
  std::size_t done = 0;
  while (fd >= 0 && done < size) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n <= 0) {
      std::abort();
    }
    done += static_cast<std::size_t>(n);
  }
  if (fd < 0 || ::lseek(fd, 0, SEEK_SET) != 0) {
    std::abort();
  }
  return fd;
}

}  // namespace tandem::fuzz
