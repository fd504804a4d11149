#include "resonance/analysis.hpp"

#include <cmath>

#include "orbit/constants.hpp"

namespace tandem {
namespace {

// Start values of the extreme search: R in M_sun au^2/day^2 stays far inside them.
constexpr double rmin_start = 999999;
constexpr double rmax_start = -999999;
// An amplitude below this fraction of kg2*mst*(m1 + m2)/a1 is rounding noise.
constexpr double relative_floor = 1e-20;
// A depth <R> - Rmin below this fraction of <R> is rounding noise as well: two circular
// coplanar orbits give a curve that is flat up to rounding.
constexpr double depth_floor = 1e-11;

double grid_mean(const GridValues& rp) {
  double sum = 0;
  for (const double r : rp) {
    sum = sum + r;
  }
  return sum / isimax;
}

// Rmin over the whole grid; Rmax only over points where the planets stay farther apart
// than rhtol mutual Hill radii, since a close encounter inflates the direct part.
void find_extremes(const RCurve& curve, CurveAnalysis& an) {
  an.vrmin = rmin_start;
  an.vrmax = rmax_start;
  for (int i = 0; i < isimax; ++i) {
    if (curve.rp[i] < an.vrmin) {
      an.vrmin = curve.rp[i];
    }
    if (curve.rp[i] > an.vrmax && curve.md[i] > rhtol) {
      an.vrmax = curve.rp[i];
    }
  }
}

// Amplitude with its floors, and the verdict. Without any point free of close encounters
// Rmax keeps its start value and the amplitude is clipped to zero.
void judge_amplitude(const PlanetarySystem& sys, double a1, CurveAnalysis& an) {
  an.delr = an.vrmax - an.vrmin;
  if (an.delr < 0) {
    an.delr = 0;
  }
  an.cterm = kg2 * sys.mst * (sys.planet1.sm + sys.planet2.sm) / a1;
  if (an.delr / an.cterm < relative_floor) {
    an.delr = 0;
  }
  an.detec2 = std::fabs((an.vmedio - an.vrmin) / an.vmedio);
  an.detectable = !(an.delr == 0 || an.detec2 < depth_floor);
  if (!an.detectable) {
    an.delr = 0;
  }
}

// Full widths of the stable zone in a1 and a2 (au), from the amplitude; zero for an
// undetectable resonance. The resonance numbers enter as typed, not truncated.
void set_widths(const PlanetarySystem& sys, const Resonance& res, const OrbitSetup& orbits,
                CurveAnalysis& an) {
  const double mst = sys.mst;
  const double sm1 = sys.planet1.sm;
  const double sm2 = sys.planet2.sm;
  const double a1 = orbits.planet1.a;
  const double a2 = orbits.planet2.a;
  an.ff = 2 * std::sqrt(((2 * an.delr) / orbits.hii) / kg2);
  an.ancha1 = 2 * ((((std::sqrt((mst + sm1) * a1) * res.k1) / mst) / sm1) * an.ff);
  an.ancha2 = 2 * ((((std::sqrt((mst + sm2) * a2) * res.k2) / mst) / sm2) * an.ff);
}

}  // namespace

CurveAnalysis analyse_rsigma(const RCurve& curve, const PlanetarySystem& system,
                             const Resonance& resonance, const OrbitSetup& orbits) {
  CurveAnalysis an;
  an.aeq.fill(EquilibriumKind::none);
  an.vmedio = grid_mean(curve.rp);
  find_extremes(curve, an);
  judge_amplitude(system, orbits.planet1.a, an);
  if (an.detectable) {
    an.deriv1 = central_derivative(curve.rp);
    an.deriv2 = central_derivative(an.deriv1);
    const Equilibria eq = find_equilibria(curve.rp, curve.md, an.deriv1, an.deriv2, orbits.hii);
    an.aeq = eq.aeq;
    an.tlib = eq.tlib;
  }
  set_widths(system, resonance, orbits, an);
  return an;
}

}  // namespace tandem
