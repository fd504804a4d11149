#include "resonance/rsigma.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <system_error>
#include <thread>
#include <vector>

#include "orbit/constants.hpp"
#include "orbit/kepler.hpp"
#include "orbit/orbit_state.hpp"
#include "resonance/resonant_longitude.hpp"

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

// Running values over the cycle, updated sample by sample in order.
struct CycleSums {
  double rtot = 0;
  double mindis = 9999999.0;  // beyond any distance in Hill radii
  bool close = false;
};

// One sample, from planet 1's eccentric anomaly and planet 2's tabulated state.
inline void add_sample(const SampleConstants& c, const Planet2Sample& s2, double aex1,
                       CycleSums& sums) {
  const OrbitState s1 = state_on_orbit(c.f1, std::cos(aex1), std::sin(aex1));
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

// Samples go through in blocks: every mean anomaly of the block, then every Kepler
// solution, then R and the distances in sample order. Each sample is computed exactly as
// on its own and the sums run in sample order, so not a bit changes; but the divisions of
// neighbouring samples no longer wait on each other's chain from longitude to R, and the
// processor overlaps them with the solver's iterations.
constexpr std::size_t block = 64;

// R at one sigma value (acrit, degrees), averaged over the resonant cycle, with the
// closest approach in mutual Hill radii and whether any sample came within rhtol of them.
SigmaPoint average_over_cycle(const GridInputs& in, double acrit) {
  const double k1 = in.k1;
  const double k2 = in.k2;
  const double p1 = in.planet1.p;
  const double e1 = in.planet1.e;
  const double tetar = resonant_offset(k1, k2, in.planet1.pg, acrit);
  const SampleConstants c{in.factors1, in.rhs * rhtol,  in.rhs,
                          in.mst,      in.sm1 * in.sm2, kg2 * in.sm1 * in.sm2};
  const Planet2Table& table = in.table;

  CycleSums sums;
  std::array<double, block> aex1;
  for (std::size_t first = 0; first < table.size(); first += block) {
    const std::size_t count = std::min(block, table.size() - first);
    for (std::size_t k = 0; k < count; ++k) {
      aex1[k] = planet1_mean_anomaly(k1, k2, tetar, p1, table[first + k].la);
    }
    for (std::size_t k = 0; k < count; ++k) {
      aex1[k] = solkep(e1, aex1[k]).e;
    }
    for (std::size_t k = 0; k < count; ++k) {
      add_sample(c, table[first + k], aex1[k], sums);
    }
  }
  return {sums.rtot / in.ipasos, sums.mindis, sums.close};
}

// Takes grid points from the shared counter until none is left. A thread that gets less
// of the processor (the machine is shared, or the point costs more) simply takes fewer
// points. Every point is computed alone, so which thread takes it cannot change a bit.
void evaluate_points(const GridInputs& in, RCurve& curve, std::atomic<int>& next) {
  for (int i = next.fetch_add(1, std::memory_order_relaxed); i < isimax;
       i = next.fetch_add(1, std::memory_order_relaxed)) {
    const double acrit = (static_cast<double>(i) / isimax) * 360;
    const SigmaPoint point = average_over_cycle(in, acrit);
    curve.rp[i] = point.rp;
    curve.md[i] = point.md;
    curve.sma[i] = static_cast<float>(acrit);
    curve.ace[i] = point.close;
  }
}

}  // namespace

RCurve evaluate_rsigma(const PlanetarySystem& system, const Resonance& resonance,
                       const OrbitSetup& orbits, unsigned threads) {
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
                      ipasos};
  RCurve curve;
  std::atomic<int> next{0};
  const int workers = static_cast<int>(std::clamp(threads, 1U, static_cast<unsigned>(isimax)));
  std::vector<std::thread> pool;
  pool.reserve(static_cast<std::size_t>(workers - 1));
  for (int w = 1; w < workers; ++w) {
    try {
      pool.emplace_back(evaluate_points, std::cref(in), std::ref(curve), std::ref(next));
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the ones running and this one share the grid
    }
  }
  evaluate_points(in, curve, next);
  for (std::thread& t : pool) {
    t.join();
  }
  return curve;
}

}  // namespace tandem
