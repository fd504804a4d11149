#include "textio/signal_cut.hpp"

#include <unistd.h>

#include <atomic>
#include <cstdint>

namespace tandem::textio {
namespace {

static_assert(std::atomic<std::uint64_t>::is_always_lock_free,
              "a handler may only use lock-free atomics");

// More than the units the program can connect at once (1 and 2; tests use a few more).
constexpr int kSlots = 64;
// A slot holds the descriptor plus one in its low bits and the offset above them, so that
// a handler reads both in one load; 0 marks a free slot. A zero-initialised table is
// ready before main, so a handler never meets it half made.
constexpr int kFdBits = 20;
constexpr std::uint64_t kFdMask = (std::uint64_t{1} << kFdBits) - 1;
constexpr long long kLargestOffset = (1LL << (64 - kFdBits - 1)) - 1;

std::atomic<std::uint64_t> watched[kSlots];

std::uint64_t fd_key(int fd) {
  return static_cast<std::uint64_t>(fd) + 1;
}

}  // namespace

void watch_written_file(int fd, long long records_end) noexcept {
  if (fd < 0 || fd_key(fd) > kFdMask || records_end < 0 || records_end > kLargestOffset) {
    forget_written_file(fd);
    return;
  }
  const std::uint64_t value = (static_cast<std::uint64_t>(records_end) << kFdBits) | fd_key(fd);
  // Only the thread that runs the layer changes the table; a handler only reads it.
  for (std::atomic<std::uint64_t>& slot : watched) {
    if ((slot.load() & kFdMask) == fd_key(fd)) {
      slot.store(value);
      return;
    }
  }
  for (std::atomic<std::uint64_t>& slot : watched) {
    std::uint64_t expected = 0;
    if (slot.compare_exchange_strong(expected, value)) {
      return;
    }
  }
  // The table is full: this file is still cut by close and close_all, only not by a handler.
}

void forget_written_file(int fd) noexcept {
  for (std::atomic<std::uint64_t>& slot : watched) {
    if ((slot.load() & kFdMask) == fd_key(fd)) {
      slot.store(0);
    }
  }
}

void cut_written_files() noexcept {
  for (std::atomic<std::uint64_t>& slot : watched) {
    const std::uint64_t value = slot.load();
    if (value == 0) {
      continue;
    }
    const int fd = static_cast<int>((value & kFdMask) - 1);
    const auto records_end = static_cast<off_t>(value >> kFdBits);
    [[maybe_unused]] const int ignored = ::ftruncate(fd, records_end);
  }
}

}  // namespace tandem::textio
