#pragma once
// tabulate_planet2: planet 2's heliocentric state over one resonant cycle.
//
// Given: planet2, the orbit as read (orbit_setup.hpp); k1; ipasos, the number of samples.
// Returned: ipasos samples; sample i2 = 1..ipasos (stored at index i2 - 1) has the mean
// longitude la = (i2/ipasos)*twopi*|k1| radians (not reduced), the position x, y, z (au)
// and the velocity xp, yp, zp (au/day): the tables traditionally named vla2, vx2, vy2,
// vz2, vxp2, vyp2, vzp2.
//
// Notes: the samples are equally spaced in time over k1 revolutions of planet 2, in which
// planet 1 at exact resonance makes k2: one resonant cycle. The mean anomaly la - varpi2
// is reduced modulo 2*pi with the sign of the angle and solved with solkep. The state does
// not depend on sigma, so the table is made once per run. An ipasos outside
// 1..max_planet2_samples gives an empty table.

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
