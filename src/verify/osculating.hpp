#pragma once
// Osculating elements of a Kepler orbit and the heliocentric state they belong to.
//
// Given or returned: a semi-major axis (length unit of the caller), e eccentricity
// (0 <= e < 1), i inclination, node longitude of the ascending node, peri longitude of
// perihelion (node + argument of perihelion), lambda mean longitude (peri + mean anomaly),
// all angles in radians; mu the gravitational parameter in the caller's units (length^3
// per time^2), so that the mean motion is sqrt(mu/a^3).
//
// The orbit from elements is the one of the orbit set-up: position
// a*(cos E - e)*P + b*sin E*Q and velocity (b*cos E*Q - a*sin E*P)*n*a/r, with P towards
// perihelion and Q 90 degrees ahead. The elements from a state are measured in the
// equinoctial frame of the orbital plane, which stays defined for i = 0 and e = 0:
// peri and lambda are then still what the sums node + argument and peri + anomaly are
// for an inclined, eccentric orbit. At e = 0, peri is 0 and lambda the true longitude;
// at i = 0, node is 0. Returned angles lie in -pi..pi. An unbound state (e >= 1 or
// a <= 0), and an orbit at i = 180 degrees, which has no such frame, return their a and
// e with the angles NaN.
//
// Reference: elements and state of a Kepler orbit, Murray & Dermott, Solar System
// Dynamics (1999), ch. 2.

#include "orbit/orbit_setup.hpp"

namespace tandem::nbody {

struct Elements {
  double a = 0;
  double e = 0;
  double i = 0;
  double node = 0;
  double peri = 0;
  double lambda = 0;
};

struct KeplerState {
  Vec3 pos;
  Vec3 vel;
};

// x reduced to -pi..pi.
double wrap_pi(double x);

KeplerState state_from_elements(const Elements& el, double mu);
Elements elements_from_state(const KeplerState& s, double mu);

}  // namespace tandem::nbody
