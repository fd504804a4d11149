// How often planet 1's mean anomalies recur over a run, and how often the per-thread cache
// of R(sigma) finds them: the measurements behind the cache's key, size and layout.
// Counting only, nothing timed. For each benchmark case it prints
// - the share of distinct mean anomalies (bitwise) over the grid and within one sigma
//   value, and of distinct unreduced longitudes (the other candidate key): one minus each
//   is the best hit rate a cache of unlimited size could reach with that key;
// - the hit rate of the direct-mapped cache at several sizes, replayed on one thread and
//   on two threads taking alternate values, with the sigma values in the grid's order and
//   in the order R(sigma) takes them (sigma_visit_order);
// - the hit rate that R(sigma) itself counted, on one thread and on every processor.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <vector>

#include "bench_systems.hpp"
#include "resonance/planet1_cache.hpp"
#include "resonance/resonant_longitude.hpp"
#include "resonance/rsigma.hpp"
#include "resonance/sigma_order.hpp"
#include "tandem/solve.hpp"

namespace tandem::bench {
namespace {

double distinct_share(std::vector<std::uint64_t> keys) {
  const auto n = static_cast<double>(keys.size());
  std::sort(keys.begin(), keys.end());
  return static_cast<double>(std::unique(keys.begin(), keys.end()) - keys.begin()) / n;
}

// The keys of sigma value i, samples in order.
using KeysBySigma = std::vector<std::vector<std::uint64_t>>;

using Order = std::array<int, isimax>;

// Hits of a direct-mapped table of 2^bits slots per thread; thread t takes the sigma
// values order[t], order[t + threads], ...
double replayed_hit_rate(const KeysBySigma& keys, const Order& order, int bits, int threads) {
  std::uint64_t hits = 0;
  std::uint64_t samples = 0;
  for (int t = 0; t < threads; ++t) {
    std::vector<std::uint64_t> slots(std::size_t{1} << bits, ~std::uint64_t{0});
    for (std::size_t n = static_cast<std::size_t>(t); n < order.size();
         n += static_cast<std::size_t>(threads)) {
      for (const std::uint64_t key : keys[static_cast<std::size_t>(order[n])]) {
        std::uint64_t& slot = slots[planet1_cache_slot(key, bits)];
        hits += slot == key ? 1 : 0;
        slot = key;
        ++samples;
      }
    }
  }
  return static_cast<double>(hits) / static_cast<double>(samples);
}

void report(const BenchCase& c) {
  const Prepared p = prepare(c);
  const Orbit& o1 = p.orbits.planet1;
  const double k1 = c.resonance.k1;
  const double k2 = c.resonance.k2;
  KeysBySigma anomalies(isimax);
  std::vector<std::uint64_t> all_anomalies;
  std::vector<std::uint64_t> all_longitudes;
  double within_sigma = 0;
  for (int i = 0; i < isimax; ++i) {
    const double acrit = (static_cast<double>(i) / isimax) * 360;
    const double tetar = resonant_offset(k1, k2, o1.pg, acrit);
    for (const Planet2Sample& s2 : p.table) {
      const double am1 = planet1_mean_anomaly(k1, k2, tetar, o1.p, s2.la);
      anomalies[static_cast<std::size_t>(i)].push_back(std::bit_cast<std::uint64_t>(am1));
      all_longitudes.push_back(std::bit_cast<std::uint64_t>((k2 * s2.la + tetar) / k1));
    }
    within_sigma += distinct_share(anomalies[static_cast<std::size_t>(i)]) / isimax;
    all_anomalies.insert(all_anomalies.end(), anomalies[static_cast<std::size_t>(i)].begin(),
                         anomalies[static_cast<std::size_t>(i)].end());
  }
  std::printf("%s: %zu samples (%d per sigma value)\n", c.name, all_anomalies.size(),
              p.orbits.ipasos);
  std::printf("  distinct mean anomalies: %.4f over the grid, %.4f within a sigma value\n",
              distinct_share(all_anomalies), within_sigma);
  std::printf("  distinct unreduced longitudes: %.4f over the grid\n",
              distinct_share(all_longitudes));
  Order grid;
  std::iota(grid.begin(), grid.end(), 0);
  const Order visit = sigma_visit_order(k1, k2, o1.pg, p.orbits.ipasos);
  std::printf(
      "  direct-mapped hit rate  slots  grid order: 1 thread  2 threads"
      "  visit order: 1 thread  2 threads\n");
  for (int bits = 10; bits <= 20; bits += 2) {
    std::printf(
        "                          2^%-2d  %20.4f %10.4f %21.4f %10.4f\n", bits,
        replayed_hit_rate(anomalies, grid, bits, 1), replayed_hit_rate(anomalies, grid, bits, 2),
        replayed_hit_rate(anomalies, visit, bits, 1), replayed_hit_rate(anomalies, visit, bits, 2));
  }
  for (const unsigned threads : {1U, available_processors()}) {
    CacheCounts counts;
    evaluate_rsigma(c.system, c.resonance, p.orbits, threads, Planet1Method{}, &counts);
    std::printf("  R(sigma) counted, %u thread(s): hit rate %.4f (2^%d slots)\n", threads,
                static_cast<double>(counts.hits) / static_cast<double>(counts.samples),
                planet1_cache_bits);
  }
}

}  // namespace
}  // namespace tandem::bench

int main() {
  for (const tandem::bench::BenchCase& c : tandem::bench::all_cases()) {
    tandem::bench::report(c);
  }
}
