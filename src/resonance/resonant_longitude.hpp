#pragma once
// Where planet 1 stands in the resonant cycle while the critical angle is held fixed.
// Kept inline: both sit in the innermost loop of the sigma grid, and the benchmarks feed
// the Kepler solver exactly the mean anomalies that a run gives it.

#include "orbit/constants.hpp"

namespace tandem {

// The offset k1*la1 - k2*la2 (radians) that keeps the critical angle at acrit degrees,
// p1g being planet 1's longitude of perihelion in degrees. mod keeps the sign, so the
// offset in degrees lies in (-360, 360) rather than in [0, 360).
inline double resonant_offset(double k1, double k2, double p1g, double acrit) {
  double teta = (k1 - k2) * p1g + acrit;
  teta = mod(teta, 360);
  return teta * g2r;
}

// Planet 1's mean anomaly when planet 2's mean longitude is la2 (unreduced), reduced
// modulo 2*pi with the sign of the angle, as the solver takes it.
inline double planet1_mean_anomaly(double k1, double k2, double tetar, double p1, double la2) {
  const double la1 = (k2 * la2 + tetar) / k1;
  return mod(la1 - p1, twopi);
}

}  // namespace tandem
