#pragma once
// Reduction of R(sigma) to what the reports give: the mean <R>, Rmin, Rmax over points
// without close approach, the amplitude delr with its floors, the detectability verdict,
// and, for a detectable resonance, the first and second derivatives on the closed grid
// (per radian), the equilibria with their stability and the libration periods (years);
// in every case the full widths ancha1, ancha2 (au) in the semi-major axes.

#include <array>

#include "orbit/elements.hpp"
#include "orbit/orbit_setup.hpp"
#include "resonance/equilibria.hpp"
#include "resonance/rsigma.hpp"

namespace tandem {

struct CurveAnalysis {
  double vmedio = 0;  // <R>
  double vrmin = 0;   // Rmin
  double vrmax = 0;   // Rmax among points with md > rhtol
  double delr = 0;    // Rmax - Rmin after the floors; 0 when undetectable
  double cterm = 0;   // scale of the relative floor
  double detec2 = 0;  // |(<R> - Rmin)/<R>|
  bool detectable = false;
  std::array<double, isimax> deriv1{};
  std::array<double, isimax> deriv2{};
  std::array<EquilibriumKind, isimax> aeq{};
  std::array<double, isimax> tlib{};  // libration period of a stable equilibrium, else 0
  double ff = 0;
  double ancha1 = 0;
  double ancha2 = 0;
};

CurveAnalysis analyse_rsigma(const RCurve& curve, const PlanetarySystem& system,
                             const Resonance& resonance, const OrbitSetup& orbits);

}  // namespace tandem
