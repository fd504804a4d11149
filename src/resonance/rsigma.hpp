#pragma once
// R(sigma): the resonant disturbing function averaged over one resonant cycle, on the
// grid sigma = 0, 1, ..., 359 degrees (grid index i, 0-based here, stands for sigma = i).
//
// For each sigma, planet 1 is placed at every sample of planet 2's table on the mean
// longitude la1 = (k2*la2 + tetar)/k1 that keeps the critical angle at sigma; the direct
// part kg2*m1*m2/delta and the indirect part -m1*m2*(v1.v2)/mst are summed over the
// samples in order and divided by ipasos. Units: M_sun au^2/day^2.
// Also per sigma: md, the closest approach over the cycle in mutual Hill radii, and
// whether some sample came closer than rhtol mutual Hill radii (a close encounter).

#include <array>
#include <cstdint>

#include "orbit/elements.hpp"
#include "orbit/orbit_setup.hpp"
#include "orbit/planet2_table.hpp"
#include "resonance/planet1_cache.hpp"
#include "tandem/result.hpp"

namespace tandem {

// The grid size under the computation's own name: the one constant of tandem/result.hpp.
inline constexpr int isimax = grid_points;

struct RCurve {
  std::array<double, isimax> rp{};
  std::array<double, isimax> md{};
  std::array<float, isimax> sma{};  // sigma in degrees, single precision
  std::array<bool, isimax> ace{};   // a close encounter during the cycle
};

// Tabulates planet 2 over the cycle (orbits.ipasos samples) and evaluates the grid.
// threads: how many threads share the sigma grid (0 counts as 1, more than isimax as
// isimax); every value of the result is the same bit for bit whatever the count. Each
// thread holds 4 MiB of planet 1's states while it runs. A cycle the table cannot hold
// (ipasos outside 1..50000) gives NaN for every rp.
RCurve evaluate_rsigma(const PlanetarySystem& system, const Resonance& resonance,
                       const OrbitSetup& orbits, unsigned threads = 1);

// How planet 1's Kepler solutions are found. Every choice gives the same curve bit for
// bit; the plain one (every sample solved on its own, one after the other) is kept as the
// yardstick of the tests and benchmarks. evaluate_rsigma above reuses and interleaves.
struct Planet1Method {
  bool reuse = true;       // each distinct mean anomaly solved once per thread (Planet1Cache)
  bool interleave = true;  // the anomalies still to be solved go through several lanes at once
  int cache_bits = planet1_cache_bits;  // 2^cache_bits slots of 64 bytes per thread, 1..20
};
inline constexpr Planet1Method plain_planet1{false, false, planet1_cache_bits};

// Samples whose planet-1 state came from the cache, out of all samples, over all threads.
struct CacheCounts {
  std::uint64_t samples = 0;
  std::uint64_t hits = 0;
};

RCurve evaluate_rsigma(const PlanetarySystem& system, const Resonance& resonance,
                       const OrbitSetup& orbits, unsigned threads, const Planet1Method& method,
                       CacheCounts* counts = nullptr);

}  // namespace tandem
