#pragma once
// Where planet 1 stands in the resonant cycle while the critical angle is held fixed.
//
// Given: k1, k2 (reals as typed); acrit, sigma in degrees; p1g, p1, planet 1's longitude
// of perihelion in degrees and radians; la2, planet 2's mean longitude in radians,
// unreduced.
// Returned: the offset tetar = k1*la1 - k2*la2 (radians) that keeps
// sigma = k1*la1 - k2*la2 + (k2 - k1)*varpi1 at acrit; planet 1's mean anomaly
// (la1 - varpi1, radians) at la2.
//
// Notes: mod keeps the sign of the dividend, so the offset in degrees lies in (-360, 360)
// and the anomaly in (-2*pi, 2*pi), as the Kepler solver takes it. Kept inline: both sit
// in the innermost loop of the sigma grid, and the benchmarks feed the Kepler solver
// exactly the mean anomalies that a run gives it.

#include "orbit/constants.hpp"

namespace tandem {

// teta = mod((k1 - k2)*p1g + acrit, 360) degrees, returned in radians.
inline double resonant_offset(double k1, double k2, double p1g, double acrit) {
  double teta = (k1 - k2) * p1g + acrit;
  teta = mod(teta, 360);
  return teta * g2r;
}

// la1 = (k2*la2 + tetar)/k1; the mean anomaly mod(la1 - p1, 2*pi).
inline double planet1_mean_anomaly(double k1, double k2, double tetar, double p1, double la2) {
  const double la1 = (k2 * la2 + tetar) / k1;
  return mod(la1 - p1, twopi);
}

}  // namespace tandem
