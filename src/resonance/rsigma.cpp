#include "resonance/rsigma.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <new>
#include <numeric>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "orbit/constants.hpp"
#include "orbit/kepler.hpp"
#include "orbit/orbit_state.hpp"
#include "resonance/kepler_lanes.hpp"
#include "resonance/resonant_longitude.hpp"
#include "resonance/sigma_order.hpp"

namespace tandem {
namespace {

// Everything one sigma value needs, fixed for the whole grid.
struct GridInputs {
  const Orbit& planet1;
  OrbitFactors factors1;  // planet 1's state factors, formed once for the whole grid
  const Planet2Table& table;
  double k1;
  double k2;
  double sm1;
  double sm2;
  double mst;
  double rhs;
  double ipasos;  // the divisor of the mean; NaN when the table does not hold ipasos samples
  Planet1Method method;
  std::array<int, isimax> order;  // the grid indices in the order the threads take them
};

struct SigmaPoint {
  double rp = 0;
  double md = 0;
  bool close = false;
};

// What the samples of one sigma value share. m1m2 and direct_factor are the left-most
// products of m1*m2*v1v2/mst and kg2*m1*m2/delta, formed first by those terms anyway.
struct SampleConstants {
  OrbitFactors f1;
  double close_distance;
  double rhs;
  double mst;
  double m1m2;
  double direct_factor;
};

SampleConstants sample_constants(const GridInputs& in) {
  return {in.factors1, in.rhs * rhtol, in.rhs, in.mst, in.sm1 * in.sm2, kg2 * in.sm1 * in.sm2};
}

// Running values over the cycle, updated sample by sample in order.
struct CycleSums {
  double rtot = 0;
  double mindis = 9999999.0;  // beyond any distance in Hill radii
  bool close = false;
};

// One sample, from planet 1's state and planet 2's tabulated state.
inline void add_sample(const SampleConstants& c, const Planet2Sample& s2, const OrbitState& s1,
                       CycleSums& sums) {
  const double dx = s1.pos.x - s2.x;
  const double dy = s1.pos.y - s2.y;
  const double dz = s1.pos.z - s2.z;
  const double delta = std::sqrt(dx * dx + dy * dy + dz * dz);
  if (delta < c.close_distance) {
    sums.close = true;
  }
  const double delrh = delta / c.rhs;
  if (delrh < sums.mindis) {
    sums.mindis = delrh;
  }
  const double v1v2 = s1.vel.x * s2.xp + s1.vel.y * s2.yp + s1.vel.z * s2.zp;
  const double rind = -(c.m1m2 * v1v2 / c.mst);  // no kg2: the velocities carry it
  const double rdir = c.direct_factor / delta;
  const double rper = rdir + rind;
  sums.rtot = sums.rtot + rper;
}

inline OrbitState planet1_state(const SampleConstants& c, double aex1) {
  return state_on_orbit(c.f1, std::cos(aex1), std::sin(aex1));
}

// The plain evaluation. Samples go through in blocks: every mean anomaly of the block,
// then every Kepler solution, then R and the distances in sample order. Each sample is
// computed exactly as on its own and the sums run in sample order, so not a bit changes;
// but the divisions of neighbouring samples no longer wait on each other's chain from
// longitude to R, and the processor overlaps them with the solver's iterations.
constexpr std::size_t plain_block = 64;

// R at one sigma value (acrit, degrees), averaged over the resonant cycle, with the
// closest approach in mutual Hill radii and whether any sample came within rhtol of them.
SigmaPoint average_over_cycle_plain(const GridInputs& in, double acrit) {
  const double k1 = in.k1;
  const double k2 = in.k2;
  const double p1 = in.planet1.p;
  const double e1 = in.planet1.e;
  const double tetar = resonant_offset(k1, k2, in.planet1.pg, acrit);
  const SampleConstants c = sample_constants(in);
  const Planet2Table& table = in.table;

  CycleSums sums;
  std::array<double, plain_block> aex1;
  for (std::size_t first = 0; first < table.size(); first += plain_block) {
    const std::size_t count = std::min(plain_block, table.size() - first);
    for (std::size_t k = 0; k < count; ++k) {
      aex1[k] = planet1_mean_anomaly(k1, k2, tetar, p1, table[first + k].la);
    }
    for (std::size_t k = 0; k < count; ++k) {
      aex1[k] = solkep(e1, aex1[k]).e;
    }
    for (std::size_t k = 0; k < count; ++k) {
      add_sample(c, table[first + k], planet1_state(c, aex1[k]), sums);
    }
  }
  return {sums.rtot / in.ipasos, sums.mindis, sums.close};
}

// The same average with planet 1's states reused and the remaining solutions
// interleaved. A block's anomalies are looked up first, the ones not found are solved
// together and stored, and then the samples are summed in order. The states of the
// block are copied out before any is stored, so a store cannot overwrite a state that a
// later sample of the same block still needs. (Blocks of 64 to 1024 samples measured
// alike; 256 keeps the lanes fed with some 60 misses at 50:49.)
constexpr std::size_t reuse_block = 256;

SigmaPoint average_over_cycle_reusing(const GridInputs& in, double acrit, Planet1Cache* cache,
                                      CacheCounts& counts) {
  const double k1 = in.k1;
  const double k2 = in.k2;
  const double p1 = in.planet1.p;
  const double e1 = in.planet1.e;
  const double tetar = resonant_offset(k1, k2, in.planet1.pg, acrit);
  const SampleConstants c = sample_constants(in);
  const Planet2Table& table = in.table;

  CycleSums sums;
  std::array<double, reuse_block> am1;
  std::array<std::size_t, reuse_block> slot;
  std::array<OrbitState, reuse_block> s1;
  std::array<std::size_t, reuse_block> open_at;  // where each anomaly to solve sits in the block
  std::array<double, reuse_block> open_am;
  std::array<double, reuse_block> open_aex;
  for (std::size_t first = 0; first < table.size(); first += reuse_block) {
    const std::size_t count = std::min(reuse_block, table.size() - first);
    for (std::size_t k = 0; k < count; ++k) {
      am1[k] = planet1_mean_anomaly(k1, k2, tetar, p1, table[first + k].la);
      if (cache != nullptr) {
        slot[k] = cache->slot(am1[k]);
        cache->prefetch(slot[k]);
      }
    }
    std::size_t open = 0;
    for (std::size_t k = 0; k < count; ++k) {
      const bool held = cache != nullptr && cache->fetch(slot[k], am1[k], s1[k]);
      open_at[open] = k;
      open_am[open] = am1[k];
      open += held ? 0 : 1;
    }
    if (in.method.interleave) {
      solve_kepler_interleaved(e1, open_am.data(), open_aex.data(), open);
    } else {
      for (std::size_t j = 0; j < open; ++j) {
        open_aex[j] = solkep(e1, open_am[j]).e;
      }
    }
    for (std::size_t j = 0; j < open; ++j) {
      const std::size_t k = open_at[j];
      s1[k] = planet1_state(c, open_aex[j]);
      if (cache != nullptr) {
        cache->store(slot[k], open_am[j], s1[k]);
      }
    }
    for (std::size_t k = 0; k < count; ++k) {
      add_sample(c, table[first + k], s1[k], sums);
    }
    counts.samples += count;
    counts.hits += count - open;
  }
  return {sums.rtot / in.ipasos, sums.mindis, sums.close};
}

// A thread's cache, if the memory is to be had; without it the thread solves every sample.
std::optional<Planet1Cache> thread_cache(const Planet1Method& method) {
  if (!method.reuse) {
    return std::nullopt;
  }
  try {
    return Planet1Cache(std::clamp(method.cache_bits, 1, 20));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

struct SharedCounts {
  std::atomic<std::uint64_t> samples{0};
  std::atomic<std::uint64_t> hits{0};
};

// Takes grid points from the shared counter until none is left. A thread that gets less
// of the processor (the machine is shared, or the point costs more) simply takes fewer
// points. Every point is computed alone, so which thread takes it cannot change a bit;
// nor can what the thread's cache holds, since a stored state is the one a solution gives.
void evaluate_points(const GridInputs& in, RCurve& curve, std::atomic<int>& next,
                     SharedCounts& shared) {
  const bool plain = !in.method.reuse && !in.method.interleave;
  std::optional<Planet1Cache> cache = thread_cache(in.method);
  CacheCounts counts;
  for (int n = next.fetch_add(1, std::memory_order_relaxed); n < isimax;
       n = next.fetch_add(1, std::memory_order_relaxed)) {
    const int i = in.order[static_cast<std::size_t>(n)];
    const double acrit = (static_cast<double>(i) / isimax) * 360;
    const SigmaPoint point =
        plain ? average_over_cycle_plain(in, acrit)
              : average_over_cycle_reusing(in, acrit, cache ? &*cache : nullptr, counts);
    curve.rp[i] = point.rp;
    curve.md[i] = point.md;
    curve.sma[i] = static_cast<float>(acrit);
    curve.ace[i] = point.close;
  }
  shared.samples.fetch_add(counts.samples, std::memory_order_relaxed);
  shared.hits.fetch_add(counts.hits, std::memory_order_relaxed);
}

// Reusing states, the sigma values that share planet 1's anomalies are taken one after
// the other; the plain evaluation keeps the grid's order.
std::array<int, isimax> visit_order(const Resonance& resonance, const OrbitSetup& orbits,
                                    const Planet1Method& method) {
  if (method.reuse) {
    return sigma_visit_order(resonance.k1, resonance.k2, orbits.planet1.pg, orbits.ipasos);
  }
  std::array<int, isimax> order;
  std::iota(order.begin(), order.end(), 0);
  return order;
}

}  // namespace

RCurve evaluate_rsigma(const PlanetarySystem& system, const Resonance& resonance,
                       const OrbitSetup& orbits, unsigned threads) {
  return evaluate_rsigma(system, resonance, orbits, threads, Planet1Method{});
}

RCurve evaluate_rsigma(const PlanetarySystem& system, const Resonance& resonance,
                       const OrbitSetup& orbits, unsigned threads, const Planet1Method& method,
                       CacheCounts* counts) {
  const Planet2Table table = tabulate_planet2(orbits.planet2, resonance.k1, orbits.ipasos);
  // A cycle the table cannot hold leaves it empty: no mean at all rather than a mean over
  // the wrong number of samples.
  const bool full_cycle =
      orbits.ipasos >= 1 && table.size() == static_cast<std::size_t>(orbits.ipasos);
  const double ipasos = full_cycle ? orbits.ipasos : std::numeric_limits<double>::quiet_NaN();
  const GridInputs in{orbits.planet1,
                      orbit_factors(orbits.planet1),
                      table,
                      resonance.k1,
                      resonance.k2,
                      system.planet1.sm,
                      system.planet2.sm,
                      system.mst,
                      orbits.rhs,
                      ipasos,
                      method,
                      visit_order(resonance, orbits, method)};
  RCurve curve;
  std::atomic<int> next{0};
  SharedCounts shared;
  const int workers = static_cast<int>(std::clamp(threads, 1U, static_cast<unsigned>(isimax)));
  std::vector<std::thread> pool;
  pool.reserve(static_cast<std::size_t>(workers - 1));
  for (int w = 1; w < workers; ++w) {
    try {
      pool.emplace_back(evaluate_points, std::cref(in), std::ref(curve), std::ref(next),
                        std::ref(shared));
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the ones running and this one share the grid
    }
  }
  evaluate_points(in, curve, next, shared);
  for (std::thread& t : pool) {
    t.join();
  }
  if (counts != nullptr) {
    counts->samples = shared.samples.load();
    counts->hits = shared.hits.load();
  }
  return curve;
}

}  // namespace tandem
