#include "resonance/rsigma.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <system_error>
#include <thread>
#include <vector>

#include "orbit/constants.hpp"
#include "orbit/kepler.hpp"
#include "orbit/orbit_state.hpp"

namespace tandem {
namespace {

// Everything one sigma value needs, fixed for the whole grid.
struct GridInputs {
  const Orbit& planet1;
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

// R at one sigma value (acrit, degrees), averaged over the resonant cycle, with the
// closest approach in mutual Hill radii and whether any sample came within rhtol of them.
SigmaPoint average_over_cycle(const GridInputs& in, double acrit) {
  const Orbit& o1 = in.planet1;
  // Offset k1*la1 - k2*la2 that keeps the critical angle at acrit. mod keeps the sign,
  // so teta lies in (-360, 360) rather than in [0, 360).
  double teta = (in.k1 - in.k2) * o1.pg + acrit;
  teta = mod(teta, 360);
  const double tetar = teta * g2r;
  const double close_distance = in.rhs * rhtol;
  const double direct_factor = kg2 * in.sm1 * in.sm2;
  const double m1m2 = in.sm1 * in.sm2;

  double rtot = 0;
  double mindis = 9999999.0;  // beyond any distance in Hill radii
  bool close = false;
  for (const Planet2Sample& s2 : in.table) {
    const double la1 = (in.k2 * s2.la + tetar) / in.k1;
    const double am1 = mod(la1 - o1.p, twopi);
    const double aex1 = solkep(o1.e, am1).e;
    const OrbitState s1 = state_on_orbit(o1, std::cos(aex1), std::sin(aex1));
    const double dx = s1.pos.x - s2.x;
    const double dy = s1.pos.y - s2.y;
    const double dz = s1.pos.z - s2.z;
    const double delta = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (delta < close_distance) {
      close = true;
    }
    const double delrh = delta / in.rhs;
    if (delrh < mindis) {
      mindis = delrh;
    }
    const double v1v2 = s1.vel.x * s2.xp + s1.vel.y * s2.yp + s1.vel.z * s2.zp;
    const double rind = -(m1m2 * v1v2 / in.mst);  // no kg2: the velocities carry it
    const double rdir = direct_factor / delta;
    const double rper = rdir + rind;
    rtot = rtot + rper;
  }
  return {rtot / in.ipasos, mindis, close};
}

// Grid points first, first + stride, ...: every point is computed alone, so the split
// across threads cannot change a single bit of the result.
void evaluate_points(const GridInputs& in, RCurve& curve, int first, int stride) {
  for (int i = first; i < isimax; i += stride) {
    const double acrit = (static_cast<double>(i) / isimax) * 360;
    const SigmaPoint point = average_over_cycle(in, acrit);
    curve.rp[i] = point.rp;
    curve.md[i] = point.md;
    curve.sma[i] = static_cast<float>(acrit);
    curve.ace[i] = point.close ? close_enc_label : blank_label;
  }
}

}  // namespace

RCurve evaluate_rsigma(const PlanetarySystem& system, const Resonance& resonance,
                       const OrbitSetup& orbits, const Planet2Table& table, unsigned threads) {
  // A table of another length than ipasos (only for a cycle it could not hold) gives no
  // mean at all rather than a mean over the wrong number of samples.
  const bool full_cycle =
      orbits.ipasos >= 1 && table.size() == static_cast<std::size_t>(orbits.ipasos);
  const double ipasos = full_cycle ? orbits.ipasos : std::numeric_limits<double>::quiet_NaN();
  const GridInputs in{orbits.planet1,    table,      resonance.k1, resonance.k2, system.planet1.sm,
                      system.planet2.sm, system.mst, orbits.rhs,   ipasos};
  RCurve curve;
  const int workers = static_cast<int>(std::clamp(threads, 1U, static_cast<unsigned>(isimax)));
  if (workers == 1) {
    evaluate_points(in, curve, 0, 1);
    return curve;
  }
  // Interleaved points balance the load: the cost of a point varies smoothly with sigma.
  std::vector<std::thread> pool;
  pool.reserve(static_cast<std::size_t>(workers - 1));
  for (int w = 1; w < workers; ++w) {
    try {
      pool.emplace_back(evaluate_points, std::cref(in), std::ref(curve), w, workers);
    } catch (const std::system_error&) {
      evaluate_points(in, curve, w, workers);  // no thread to be had: do its share here
    }
  }
  evaluate_points(in, curve, 0, workers);
  for (std::thread& t : pool) {
    t.join();
  }
  return curve;
}

}  // namespace tandem
