#pragma once
// analyse_rsigma: R(sigma) reduced to what the reports give.
//
// Given:
//   curve      R(sigma) on the grid with the closest approaches (rsigma.hpp)
//   system     masses mst, m1, m2 (M_sun)
//   resonance  k2, k1 (reals as typed)
//   orbits     a1, a2 (au) and hii (1/(M_sun au^2)) from setup_orbits
// Returned (CurveAnalysis; R-valued quantities in M_sun au^2/day^2):
//   vmedio, vrmin, vrmax, delr, cterm, detec2, detectable   always
//   deriv1, deriv2, aeq, tlib                                a detectable resonance only
//   ff, ancha1, ancha2                                       always (0 when undetectable)
//   each explained where it is declared below.
//
// Notes:
//   Rmax is taken only over points with md > rhtol: a close encounter inflates the
//   direct part. Without any such point Rmax keeps its start value -999999 and the
//   amplitude is clipped to 0.
//   Detectable: delr != 0 after its floors and detec2 >= 1e-11 (two circular coplanar
//   orbits give a curve flat up to rounding).
//   The strength of the resonance, as the reports give it, is vmedio - vrmin.
//   The period and the widths are those of the pendulum H = -hii*S^2/2 - R(sigma), S the
//   momentum conjugate to sigma (orbit_setup.hpp): a libration about a minimum of R has
//   the small-amplitude period 2*pi/sqrt(|R''|*hii); the separatrix through Rmax spans
//   S = +-sqrt(2*delr/hii) at the stable point; and from L = beta*k*sqrt((mst + m)*a),
//   the change of L1 = k1*S and of L2 = -k2*S gives that of a1 and of a2.
//
// Reference: the strength <R> - Rmin as in T. Gallardo, Icarus 184 (2006) 29-38; the
// pendulum model of a resonance as in Murray & Dermott, Solar System Dynamics (1999),
// ch. 8; the derivation of the period and of ff, ancha1, ancha2 in docs/method.md
// ("Where hii, the period and the widths come from").

#include <array>

#include "orbit/elements.hpp"
#include "orbit/orbit_setup.hpp"
#include "resonance/equilibria.hpp"
#include "resonance/rsigma.hpp"

namespace tandem {

struct CurveAnalysis {
  double vmedio = 0;  // <R>, the mean over the 360 points
  double vrmin = 0;   // Rmin over every point
  double vrmax = 0;   // Rmax among points with md > rhtol
  double delr = 0;    // Rmax - Rmin, not below 0, set to 0 below 1e-20*cterm or when
                      // undetectable: the amplitude the widths use
  double cterm = 0;   // kg2*mst*(m1 + m2)/a1, the scale of the relative floor of delr
  double detec2 = 0;  // |(<R> - Rmin)/<R>|, the relative depth of the curve
  bool detectable = false;
  std::array<double, isimax> deriv1{};        // dR/dsigma per radian, central differences
  std::array<double, isimax> deriv2{};        // d2R/dsigma2 per radian^2, from deriv1
  std::array<EquilibriumKind, isimax> aeq{};  // none, stable (a minimum) or unstable
  std::array<double, isimax> tlib{};  // libration period of a stable equilibrium, years; else 0
  // ff = 2*sqrt(2*delr/hii/kg2): the full width of the resonance in S, the momentum
  // conjugate to sigma, divided by the Gaussian constant (M_sun^(3/2) au^(1/2)).
  double ff = 0;
  // Full widths in the semi-major axes, au (printed Da1, Da2):
  // ancha1 = 2*k1*sqrt((mst + m1)*a1)*ff/(mst*m1), ancha2 likewise with k2, a2, m2.
  double ancha1 = 0;
  double ancha2 = 0;
};

CurveAnalysis analyse_rsigma(const RCurve& curve, const PlanetarySystem& system,
                             const Resonance& resonance, const OrbitSetup& orbits);

}  // namespace tandem
