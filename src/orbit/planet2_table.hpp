#pragma once
// Planet 2's heliocentric state at ipasos equally spaced mean longitudes spanning k1
// revolutions: one resonant cycle. Sample i2 = 1..ipasos (stored at index i2-1) has mean
// longitude la = (i2/ipasos)*twopi*|k1| radians, not reduced modulo 2*pi; position in au,
// velocity in au/day. The state does not depend on sigma, so it is computed once.

#include <vector>

#include "orbit/orbit_setup.hpp"

namespace tandem {

// One sample, laid out so that the sigma loop reads the table front to back.
struct Planet2Sample {
  double la = 0;
  double x = 0, y = 0, z = 0;
  double xp = 0, yp = 0, zp = 0;
};

using Planet2Table = std::vector<Planet2Sample>;

// The table's capacity: 1000 samples per unit of k2 for k2 up to 50. An ipasos outside
// 1..max_planet2_samples yields an empty table.
inline constexpr int max_planet2_samples = 50000;

Planet2Table tabulate_planet2(const Orbit& planet2, double k1, int ipasos);

}  // namespace tandem
