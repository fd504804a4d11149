#pragma once
// setup_orbits: from the elements and the resonance to the fixed geometry of both orbits.
//
// Given:
//   system     star mass mst (M_sun); per planet a (au), e, i, node, longitude of
//              perihelion (degrees) and mass (M_sun); planet 1's a is not used
//   resonance  k2, k1 as typed (reals, k2 >= k1)
// Returned (OrbitSetup):
//   planet2    the orbit as read: n2 = sqrt(kg2*(mst + m2)/a2^3) (rad/day),
//              b2 = a2*sqrt(1 - e2^2) (au), argument of perihelion ar = lp - ln
//   planet1    at exact resonance: n1 = k2*n2/k1, a1 = (kg2*(mst + m1)/n1^2)^(1/3)
//   beta1,2    reduced masses m*mst/(m + mst) (M_sun)
//   hii        curvature coefficient 3*k1^2/(beta1*a1^2) + 3*k2^2/(beta2*a2^2)
//              (1/(M_sun au^2)): sigma'' = -hii*dR/dsigma
//   rhs        mutual Hill radius ((m1 + m2)/(3*mst))^(1/3)*(a1 + a2)/2 (au)
//   isimax     the sigma grid size, grid_points (360)
//   ipasos     samples per resonant cycle, 1000*trunc(k2) (0 when k2 is not a number
//              whose product fits an int)
// Per orbit: a, b (au), e, n (rad/day), the angles as read in degrees (jg inclination,
// lg node, pg longitude of perihelion) and in radians (j, l, p, ar), and the orthonormal
// vectors of the orbital plane: pvec towards perihelion and qvec 90 degrees ahead of it in
// the sense of motion (the direction cosines l1k, m1k, n1k and l2k, m2k, n2k).
//
// Notes:
//   Each planet's Kepler problem has the parameter kg2*(mst + m_i) and the mass beta_i:
//   those of the Hamiltonian in heliocentric positions and barycentric momenta, whose
//   interaction term is the R that rsigma.hpp averages.
//   hii is the second derivative of the two Kepler energies along the momentum
//   conjugate to sigma (L1 = L1* + k1*S, L2 = L2* - k2*S), so that the resonance is the
//   pendulum H = -hii*S^2/2 - R(sigma); it gives the libration periods and the widths
//   (analysis.hpp).
//   The two arguments of perihelion are rounded differently on purpose (planet 2's is
//   formed in degrees before conversion, planet 1's in radians).
//
// Reference: the derivation of hii is in docs/method.md ("Where hii, the period and the
// widths come from"); P and Q as in Murray & Dermott, Solar System Dynamics (1999), ch. 2.

#include "orbit/elements.hpp"
#include "tandem/result.hpp"

namespace tandem {

struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
};

struct Orbit {
  double a = 0;  // semi-major axis, au
  double n = 0;  // mean motion, rad/day
  double e = 0;
  double b = 0;                   // semi-minor axis, au
  double jg = 0, lg = 0, pg = 0;  // inclination, node, perihelion longitude, degrees
  double j = 0, l = 0, p = 0;     // the same in radians
  double ar = 0;                  // argument of perihelion, radians
  Vec3 pvec;                      // unit vector towards perihelion
  Vec3 qvec;                      // in-plane unit vector 90 degrees ahead
};

struct OrbitSetup {
  Orbit planet1;     // at exact resonance
  Orbit planet2;     // as read
  double beta1 = 0;  // reduced masses, M_sun
  double beta2 = 0;
  double hii = 0;            // curvature coefficient, 1/(M_sun au^2)
  double rhs = 0;            // mutual Hill radius, au
  int isimax = grid_points;  // sigma grid size
  int ipasos = 0;            // samples per resonant cycle
};

OrbitSetup setup_orbits(const PlanetarySystem& system, const Resonance& resonance);

}  // namespace tandem
