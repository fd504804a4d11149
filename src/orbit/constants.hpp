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

// The three are computed together, in this order, by one initialiser: as separate inline
// variables each had an initialiser of its own, and the order in which a program runs
// the initialisers of different translation units is not fixed (a clang++ build ran pi's
// before twopi's and left pi and g2r 0). The names are references to them, bound before
// any initialiser runs.
struct AngleConstants {
  double twopi;
  double pi;
  double g2r;
};

inline AngleConstants angle_constants() {
  AngleConstants a{};
  a.twopi = 8.0 * std::atan(1.0);
  a.pi = a.twopi / 2;
  a.g2r = a.pi / 180;
  return a;
}

inline const AngleConstants angles = angle_constants();
inline const double& twopi = angles.twopi;
inline constexpr double cero = 0.0;
inline constexpr double uno = 1.0;
inline const double& pi = angles.pi;
inline const double& g2r = angles.g2r;          // degrees to radians
inline constexpr double kgaus = 0.01720209895;  // Gaussian constant, au^(3/2) M_sun^(-1/2) day^-1
inline constexpr double kg2 = kgaus * kgaus;
inline constexpr double rhtol = 3.0;  // close-encounter distance, in mutual Hill radii

// mod(x, y) = x - y*trunc(x/y): the remainder of the truncated division, with the sign
// of x, evaluated literally in double arithmetic.
inline double mod(double x, double y) {
  return x - y * std::trunc(x / y);
}

}  // namespace tandem
