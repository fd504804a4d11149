#pragma once
// The period of a level curve of H = 1/2 hii Sigma^2 + R(sigma): T = closed integral of
// dsigma/(hii Sigma) with hii Sigma = sqrt(2 hii (E - R(sigma))).
//
// Given:    the interpolant's cells, hii (1/(M_sun au^2)), the energy E (as R - Rmin, in
//           M_sun au^2/day^2), the turning points lo < hi (unwrapped degrees) and the
//           places where the integrand peaks (maxima passed over), degrees.
// Returned: T in days, and whether the quadrature met its tolerance.
// Notes:    Libration: T = 2 * integral from lo to hi. At a turning point the integrand
//           has an inverse square root; the substitution sigma = lo + (q - lo) u^2 on the
//           piece next to it makes it smooth and finite, so no endpoint is approximated.
//           The range is cut at every grid point (the quintic's joints) and at the peaks,
//           and each piece is integrated by adaptive Gauss-Kronrod 7-15 to a relative
//           1e-12 (the integrand is positive, so the sum keeps that bound).
// Reference: Gauss-Kronrod 7-15 nodes and weights of QUADPACK (Piessens et al., 1983).

#include <vector>

#include "phase/gauss_kronrod.hpp"
#include "phase/interpolant.hpp"

namespace tandem::phase {

struct PeriodSum {
  double days = 0;
  bool converged = true;
};

PeriodSum libration_days(const std::vector<Cell>& cells, double hii, double e, double lo, double hi,
                         const std::vector<double>& peaks);

PeriodSum circulation_days(const std::vector<Cell>& cells, double hii, double e,
                           const std::vector<double>& peaks);

}  // namespace tandem::phase
