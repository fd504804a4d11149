// How many processors the process may use. hardware_concurrency() counts the machine's;
// under taskset, or in a container with a CPU quota, fewer are ours, and more threads than
// that only take turns on them.

#include <sched.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <string>
#include <thread>

#include "tandem/solve.hpp"

namespace tandem {
namespace {

unsigned affinity_count() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (::sched_getaffinity(0, sizeof set, &set) != 0) {
    return std::max(1U, std::thread::hardware_concurrency());
  }
  return static_cast<unsigned>(std::max(1, CPU_COUNT(&set)));
}

// The quota of a cgroup v2 ("max 100000" or "150000 100000"), or v1's cfs files, rounded
// up to whole processors; 0 when there is none or it cannot be read.
unsigned quota_count() {
  double quota = 0;
  double period = 0;
  std::ifstream v2("/sys/fs/cgroup/cpu.max");
  std::string first;
  if (v2 >> first >> period) {
    if (first == "max") {
      return 0;
    }
    const auto parsed = std::from_chars(first.data(), first.data() + first.size(), quota);
    if (parsed.ec != std::errc()) {
      return 0;
    }
  } else {
    std::ifstream q("/sys/fs/cgroup/cpu/cpu.cfs_quota_us");
    std::ifstream p("/sys/fs/cgroup/cpu/cpu.cfs_period_us");
    if (!(q >> quota) || !(p >> period)) {
      return 0;
    }
  }
  if (!(quota > 0) || !(period > 0)) {
    return 0;
  }
  return static_cast<unsigned>(std::max(1.0, std::ceil(quota / period)));
}

}  // namespace

unsigned available_processors() {
  const unsigned mask = affinity_count();
  const unsigned quota = quota_count();
  return quota == 0 ? mask : std::min(mask, quota);
}

}  // namespace tandem
