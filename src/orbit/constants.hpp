#pragma once
// Run-wide constants. twopi is formed as 8*atan(1) and the others from it, so that every
// derived angle carries the same rounding as the reference computation.
//
// Units throughout the computation: M_sun, au, days, angles in radians unless a name
// ends in g (degrees). kgaus is the Gaussian gravitational constant k, so that
// G = kg2 = k^2 in au^3/(M_sun day^2) and a body of mass m about the star has the mean
// motion n = sqrt(kg2*(mst + m)/a^3) rad/day. Energies, and so R, are in
// M_sun au^2/day^2.

#include <cmath>

namespace tandem {

inline const double twopi = 8.0 * std::atan(1.0);
inline constexpr double cero = 0.0;
inline constexpr double uno = 1.0;
inline const double pi = twopi / 2;
inline const double g2r = pi / 180;             // degrees to radians
inline constexpr double kgaus = 0.01720209895;  // Gaussian constant, au^(3/2) M_sun^(-1/2) day^-1
inline constexpr double kg2 = kgaus * kgaus;
inline constexpr double rhtol = 3.0;  // close-encounter distance, in mutual Hill radii

// mod(x, y) = x - y*trunc(x/y): the remainder of the truncated division, with the sign
// of x, evaluated literally in double arithmetic.
inline double mod(double x, double y) {
  return x - y * std::trunc(x / y);
}

}  // namespace tandem
