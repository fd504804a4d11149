#pragma once
// The Kepler drift: a state carried along its two-body orbit for a time, by Gauss's f and
// g functions in the difference of eccentric anomalies.
//
// Given: s, the position and velocity relative to the attracting centre (au, au/day, or
// any consistent unit); mu, the gravitational parameter (length^3/time^2); dt, the time
// (any sign).
// Returned: true and s replaced by the state dt later on an elliptic orbit; false and s
// untouched when the orbit is not bound (2/r - v^2/mu <= 0: parabolic or hyperbolic).
//
// With x the change of the eccentric anomaly, e*cos E0 = 1 - r0/a and
// e*sin E0 = (r0.v0)/sqrt(mu*a), Kepler's equation reads
//   x - e*cos E0*sin x + e*sin E0*(1 - cos x) = n*dt,
// solved by Newton's method safeguarded by the bracket n*dt -+ 2e (n*dt reduced into
// one revolution first); then r = a*(1 - e*cos E0*cos x + e*sin E0*sin x),
// f = 1 - a/r0*(1 - cos x), g = dt - (x - sin x)/n, f' = -sqrt(mu*a)*sin x/(r*r0),
// g' = 1 - a/r*(1 - cos x) (Danby, Fundamentals of Celestial Mechanics, 6.8).
// An unbound particle is a rare event in a survey (a body thrown out after a close
// encounter): the caller stops following it.

#include "verify/osculating.hpp"

namespace tandem::nbody {

bool kepler_drift(KeplerState& s, double mu, double dt);

}  // namespace tandem::nbody

namespace tandem::nbody {

// Elements carried dt (days) along their two-body orbit of parameter mu: how bodies given
// at other epochs are brought to the epoch of a shared integration. All angles NaN when
// the orbit is not bound.
Elements elements_after(const Elements& el, double mu, double dt);

}  // namespace tandem::nbody
