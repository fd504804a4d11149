#include "textio/signal_cut.hpp"

#include <unistd.h>

#include <atomic>

namespace tandem::textio {
namespace {

static_assert(std::atomic<int>::is_always_lock_free, "a handler may only use lock-free atomics");

// More than the units the program can connect at once (1 and 2; tests use a few more).
constexpr int kSlots = 64;

// Each slot holds a descriptor plus one, 0 when free: a zero-initialised table is ready
// before main, so a handler never meets it half made.
std::atomic<int> watched[kSlots];

}  // namespace

void watch_written_file(int fd) noexcept {
  for (std::atomic<int>& slot : watched) {
    if (slot.load() == fd + 1) {
      return;
    }
  }
  for (std::atomic<int>& slot : watched) {
    int expected = 0;
    if (slot.compare_exchange_strong(expected, fd + 1)) {
      return;
    }
  }
  // The table is full: this file is still cut by close and close_all, only not by a handler.
}

void forget_written_file(int fd) noexcept {
  for (std::atomic<int>& slot : watched) {
    int expected = fd + 1;
    slot.compare_exchange_strong(expected, 0);
  }
}

void cut_written_files() noexcept {
  for (std::atomic<int>& slot : watched) {
    const int fd = slot.load() - 1;
    if (fd < 0) {
      continue;
    }
    const off_t position = ::lseek(fd, 0, SEEK_CUR);
    if (position >= 0) {
      [[maybe_unused]] const int ignored = ::ftruncate(fd, position);
    }
  }
}

}  // namespace tandem::textio
