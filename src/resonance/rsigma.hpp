#pragma once
// evaluate_rsigma: R(sigma), the resonant disturbing function averaged over one resonant
// cycle, on the grid sigma = 0, 1, ..., 359 degrees.
//
// Given:
//   system     masses mst, m1, m2 (M_sun)
//   resonance  k2, k1 (reals as typed)
//   orbits     both orbits, rhs and ipasos from setup_orbits
//   threads    how many threads share the grid (0 counts as 1, more than isimax as isimax)
// Returned (RCurve), per grid index i (0-based here; it stands for sigma = i degrees):
//   rp    R(sigma), M_sun au^2/day^2
//   md    the closest approach of the planets over the cycle, in mutual Hill radii
//   sma   sigma in degrees, single precision
//   ace   whether some sample came closer than rhtol (3) mutual Hill radii: a close
//         encounter
//
// Notes:
//   Planet 2 is tabulated over the cycle (k1 of its revolutions, ipasos samples equally
//   spaced in time, planet2_table.hpp). For each sigma, planet 1 is placed at every sample
//   on the mean longitude la1 = (k2*la2 + tetar)/k1 that holds
//   k1*la1 - k2*la2 + (k2 - k1)*varpi1 at sigma (resonant_longitude.hpp). The direct
//   part kg2*m1*m2/delta and the indirect part -m1*m2*(v1.v2)/mst (heliocentric
//   velocities, which carry kg2) are summed over the samples in order and divided by
//   ipasos. Together they are the interaction term of the three-body Hamiltonian in
//   heliocentric positions and barycentric momenta, H = H_Kepler1 + H_Kepler2 - R.
//   Every value is the same bit for bit whatever the thread count, the method below or
//   the order in which the points are taken. Each thread holds 4 MiB of planet 1's
//   states while it runs. A cycle the table cannot hold (ipasos outside 1..50000) gives
//   NaN for every rp.
//
// Reference: the numerical averaging of the resonant disturbing function as in
// T. Gallardo, Icarus 184 (2006) 29-38; the Hamiltonian and its interaction term in
// docs/method.md. (Murray & Dermott, Solar System Dynamics (1999), ch. 6, write the
// indirect part in the positions, as the equations of motion in heliocentric coordinates
// give it; in the Hamiltonian with barycentric momenta it comes in the velocities.)

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
  std::array<double, isimax> rp{};  // R(sigma), M_sun au^2/day^2
  std::array<double, isimax> md{};  // closest approach over the cycle, mutual Hill radii
  std::array<float, isimax> sma{};  // sigma in degrees, single precision
  std::array<bool, isimax> ace{};   // a close encounter during the cycle
};

// Tabulates planet 2 over the cycle and evaluates the grid, reusing and interleaving.
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
