#pragma once
// From the elements and the resonance to the fixed geometry of both orbits.
//
// Planet 2 keeps its orbit as read; planet 1 gets the mean motion n1 = k2*n2/k1 and the
// semi-major axis of Kepler's third law. For each planet: a, b (au), e, n (rad/day), the
// angles in degrees as read (jg, lg, pg) and in radians (j, l, p, ar = argument of
// perihelion), and the orthonormal vectors of its orbital plane: p towards perihelion
// (l1k, m1k, n1k) and q 90 degrees ahead of it in the sense of motion (l2k, m2k, n2k).
// Shared: reduced masses beta1, beta2 (M_sun), the curvature coefficient hii
// (1/(M_sun au^2)), the mutual Hill radius rhs (au), the sigma grid size isimax (grid_points, 360)
// and the samples per resonant cycle ipasos = 1000*trunc(k2).

#include "orbit/elements.hpp"
#include "tandem/result.hpp"

namespace tandem {

struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
};

struct Orbit {
  double a = 0;
  double n = 0;
  double e = 0;
  double b = 0;
  double jg = 0, lg = 0, pg = 0;  // inclination, node, perihelion longitude, degrees
  double j = 0, l = 0, p = 0;     // the same in radians
  double ar = 0;                  // argument of perihelion, radians
  Vec3 pvec;                      // unit vector towards perihelion
  Vec3 qvec;                      // in-plane unit vector 90 degrees ahead
};

struct OrbitSetup {
  Orbit planet1;
  Orbit planet2;
  double beta1 = 0;
  double beta2 = 0;
  double hii = 0;
  double rhs = 0;
  int isimax = grid_points;
  int ipasos = 0;
};

OrbitSetup setup_orbits(const PlanetarySystem& system, const Resonance& resonance);

}  // namespace tandem
