#pragma once
// The wells of H = 1/2 hii Sigma^2 + R(sigma) on the interpolated curve: its minima and
// maxima, and the arc of sigma that a level of H allows about a point.
//
// Given:    the interpolant's cells (phase/interpolant.hpp); sigma in degrees; energies as
//           R - Rmin.
// Returned: the extrema, minima and maxima alternately in increasing sigma (0 <= sigma <
//           360); the arc {sigma : R(sigma) <= E} that contains a point, unwrapped (lo <=
//           hi, possibly beyond 0 or 360), with the minima inside it and the maxima that
//           bound it or that it passes over.
// Notes:    An extremum is a sign change of dR/dsigma between samples eight to a degree,
//           refined by bisection; a pair of extrema closer than an eighth of a degree can
//           be missed (a well that shallow holds nothing). A grid point with a slope of
//           exactly zero is an extremum at the grid point itself.

#include <vector>

#include "phase/interpolant.hpp"
#include "tandem/phase_space.hpp"

namespace tandem::phase {

std::vector<Extremum> find_extrema(const std::vector<Cell>& cells);

struct Arc {
  bool circulates = false;  // no maximum reaches E: the whole circle
  double lo = 0;            // turning points, unwrapped degrees (only if !circulates)
  double hi = 0;
  std::vector<int> minima;  // extrema indices of the minima inside
  std::vector<int> passed;  // maxima inside the arc (below E)
  int wall_lo = -1;         // the maxima that bound it (extrema indices), -1 if none
  int wall_hi = -1;
};

// The arc about sigma_deg (0 <= sigma_deg < 360) at energy e. A maximum bounds the arc when
// its R is >= e, or > e when pass_level is set (the arc just above that level).
Arc arc_at(const std::vector<Cell>& cells, const std::vector<Extremum>& extrema, double sigma_deg,
           double e, bool pass_level);

}  // namespace tandem::phase
