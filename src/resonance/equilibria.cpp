#include "resonance/equilibria.hpp"

#include <cmath>

#include "orbit/constants.hpp"

namespace tandem {

GridValues central_derivative(const GridValues& f) {
  GridValues d{};
  for (int i = 0; i < isimax; ++i) {
    d[i] = ((f[next_index(i)] - f[previous_index(i)]) / 2) / g2r;
  }
  return d;
}

namespace {

// Closer than this many mutual Hill radii the averaged R means little: not searched.
constexpr double min_search_distance = 0.5;
constexpr double days_per_year = 365.25;

double libration_period(double deriv2, double hii) {
  return (twopi / std::sqrt(std::fabs(deriv2) * hii)) / days_per_year;
}

}  // namespace

// An equilibrium lies between the previous point and i when dR/dsigma changes sign or
// vanishes there. It goes to the lower of the two points for a minimum and to the higher
// one for a maximum (a tie keeps i); its kind is judged by d2R/dsigma2 at i. Later
// detections may overwrite a label, never clear a period.
Equilibria find_equilibria(const GridValues& rp, const GridValues& md, const GridValues& deriv1,
                           const GridValues& deriv2, double hii) {
  Equilibria eq;
  eq.aeq.fill(EquilibriumKind::none);
  for (int i = 0; i < isimax; ++i) {
    if (md[i] <= min_search_distance) {
      continue;
    }
    const int prev = previous_index(i);
    const double valor = deriv1[i];
    if (!(deriv1[prev] * valor <= 0)) {
      continue;
    }
    int iextremo = i;
    if (deriv2[i] > 0) {
      if (rp[prev] < rp[i]) {
        iextremo = prev;
      }
      eq.aeq[iextremo] = EquilibriumKind::stable;
      eq.tlib[iextremo] = libration_period(deriv2[iextremo], hii);
    } else {
      if (rp[prev] > rp[i]) {
        iextremo = prev;
      }
      eq.aeq[iextremo] = EquilibriumKind::unstable;
    }
  }
  return eq;
}

}  // namespace tandem
