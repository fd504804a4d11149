#pragma once
// Equilibria of the critical angle on the closed sigma grid (359 and 0 degrees are
// neighbours): central differences of R per radian, and the points where dR/dsigma
// changes sign, labelled stable (a minimum of R, with its libration period in years) or
// unstable (a maximum).

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
