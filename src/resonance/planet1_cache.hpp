#pragma once
// Planet 1's states at the mean anomalies already met during one R(sigma) grid, for one
// thread.
//
// Planet 1's mean anomalies recur exactly, to the last bit, within one sigma value's cycle
// (the same phase comes round once per revolution of planet 1, and its rounding repeats
// often) and, for small k1, across sigma values. A state depends on nothing but the mean
// anomaly and the orbit, so the state stored at the first solution is the one any later
// solution would give: reusing it cannot change a bit.
//
// Keyed on the bits of the reduced mean anomaly (radians); direct-mapped, one 64-byte
// entry (key and state) per slot, so that a look-up touches one cache line. The slot is a
// multiplicative hash of the bits: the repetitions of one phase differ only in the last
// bits, and must not contend for one slot. Valid for one orbit only. The one NaN pattern
// that marks an empty slot is never stored (such an anomaly is solved every time).

#include <bit>
#include <cstdint>
#include <vector>

#include "orbit/orbit_state.hpp"

namespace tandem {

// 2^16 slots (4 MiB): chosen by measurement (bench/cache_stats.cpp, docs/benchmarks.md).
inline constexpr int planet1_cache_bits = 16;

// The slot of a mean anomaly's bit pattern among 2^bits slots.
inline std::uint64_t planet1_cache_slot(std::uint64_t key, int bits) {
  return (key * 0x9E3779B97F4A7C15ULL) >> (64 - bits);
}

// Used a block of samples at a time: the slots of the whole block first (with a prefetch,
// so that the block's cache lines are on their way while its mean anomalies are still being
// formed), then fetch, which reads without a branch on what it finds, so that a missing
// state does not hold up the loads of the samples after it.
class Planet1Cache {
 public:
  explicit Planet1Cache(int bits = planet1_cache_bits)
      : entries_(std::size_t{1} << bits), bits_(bits) {}

  std::size_t slot(double am) const {
    return static_cast<std::size_t>(planet1_cache_slot(std::bit_cast<std::uint64_t>(am), bits_));
  }

  void prefetch(std::size_t slot) const { __builtin_prefetch(&entries_[slot]); }

  // Copies the state held in the slot to out, and says whether it is this anomaly's.
  bool fetch(std::size_t slot, double am, OrbitState& out) const {
    const Entry& entry = entries_[slot];
    out = entry.state;
    const auto key = std::bit_cast<std::uint64_t>(am);
    return (entry.key == key) & (key != empty);
  }

  // Keeps the state for this anomaly (whose slot this is) in place of what the slot held.
  void store(std::size_t slot, double am, const OrbitState& state) {
    const auto key = std::bit_cast<std::uint64_t>(am);
    if (key != empty) {
      entries_[slot] = {key, state};
    }
  }

 private:
  // A NaN pattern: never stored, so an empty slot never answers.
  static constexpr std::uint64_t empty = ~std::uint64_t{0};

  struct alignas(64) Entry {
    std::uint64_t key = empty;
    OrbitState state;
  };

  std::vector<Entry> entries_;
  int bits_;
};

}  // namespace tandem
