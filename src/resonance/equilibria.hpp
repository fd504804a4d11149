#pragma once
// find_equilibria: the equilibria of the critical angle on the closed sigma grid (359 and
// 0 degrees are neighbours), with their stability and libration periods.
//
// Given:
//   rp        R(sigma), M_sun au^2/day^2
//   md        closest approach over the cycle, mutual Hill radii
//   deriv1    dR/dsigma per radian (central_derivative of rp)
//   deriv2    d2R/dsigma2 per radian^2 (central_derivative of deriv1)
//   hii       curvature coefficient, 1/(M_sun au^2) (orbit_setup.hpp)
// Returned (Equilibria), per grid index:
//   aeq       none, stable (a minimum of R) or unstable (a maximum)
//   tlib      libration period of a stable equilibrium, years of 365.25 days; else 0
//
// Notes:
//   An equilibrium lies between the previous point and i where deriv1 changes sign or
//   vanishes; it goes to the lower of the two points for a minimum and the higher one
//   for a maximum (a tie keeps i), its kind judged by deriv2 at i. Points with
//   md <= 0.5 are not searched. Later detections may relabel a point, never clear a
//   period.
//   sigma'' = -hii*dR/dsigma, so near a minimum sigma librates with the period
//   2*pi/sqrt(|d2R/dsigma2|*hii) (days, printed in years).
//
// Reference: the pendulum model of a resonance, Murray & Dermott, Solar System Dynamics
// (1999), ch. 8; the derivation for this Hamiltonian in docs/method.md.

#include <array>

#include "resonance/rsigma.hpp"
#include "tandem/result.hpp"

namespace tandem {

using GridValues = std::array<double, isimax>;

// Next and previous grid index on the closed grid.
inline int next_index(int i) {
  return i + 1 < isimax ? i + 1 : 0;
}
inline int previous_index(int i) {
  return i - 1 >= 0 ? i - 1 : isimax - 1;
}

// Central difference of f per radian (the grid step is one degree).
GridValues central_derivative(const GridValues& f);

struct Equilibria {
  std::array<EquilibriumKind, isimax> aeq{};  // none, stable or unstable
  GridValues tlib{};
};

// Points with md <= 0.5 are not searched. hii scales the libration period.
Equilibria find_equilibria(const GridValues& rp, const GridValues& md, const GridValues& deriv1,
                           const GridValues& deriv2, double hii);

}  // namespace tandem
