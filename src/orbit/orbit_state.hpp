#pragma once
// state_on_orbit: the heliocentric state on an orbit at a given eccentric anomaly.
//
// Given: the orbit's factors (orbit_factors: a, b in au, e, n in rad/day, the plane
// vectors p and q), cos E and sin E.
// Returned (OrbitState): r = a*(1 - e*cos E), the distance from the star (au); the
// position a*(cos E - e)*p + b*sin E*q (au); the velocity (b*cos E*q - a*sin E*p)*n*a/r
// (au/day).
//
// Notes: both planets use this one form, so their states carry the same rounding. Kept
// inline: it sits in the innermost loop of the sigma grid.
//
// Reference: the orbit in space from its elements, Murray & Dermott, Solar System
// Dynamics (1999), ch. 2.

#include "orbit/orbit_setup.hpp"

namespace tandem {

struct OrbitState {
  double r = 0;  // distance from the star, au
  Vec3 pos;
  Vec3 vel;
};

// The factors of the state that do not depend on the anomaly. Each is the left-most
// product of its term (a*p.x in a*p.x*cos E, a*e in a*e*p.x), which the term forms first
// anyway, so forming it once per orbit leaves every bit of the state as it was.
struct OrbitFactors {
  double a = 0;
  double e = 0;
  double n = 0;
  Vec3 ap;   // a*p
  Vec3 bq;   // b*q
  Vec3 aep;  // a*e*p: the constant term of the position
};

inline OrbitFactors orbit_factors(const Orbit& o) {
  const double a = o.a;
  const double b = o.b;
  const double e = o.e;
  const Vec3& p = o.pvec;
  const Vec3& q = o.qvec;
  return {a,
          e,
          o.n,
          {a * p.x, a * p.y, a * p.z},
          {b * q.x, b * q.y, b * q.z},
          {a * e * p.x, a * e * p.y, a * e * p.z}};
}

// r = a*(1 - e*cos E); x = a*p.x*cos E + b*q.x*sin E - a*e*p.x;
// vx = (b*q.x*cos E - a*p.x*sin E)*n*a/r; likewise for y and z.
inline OrbitState state_on_orbit(const OrbitFactors& f, double cose, double sine) {
  OrbitState s;
  s.r = f.a * (1 - f.e * cose);
  s.pos.x = f.ap.x * cose + f.bq.x * sine - f.aep.x;
  s.pos.y = f.ap.y * cose + f.bq.y * sine - f.aep.y;
  s.pos.z = f.ap.z * cose + f.bq.z * sine - f.aep.z;
  s.vel.x = (f.bq.x * cose - f.ap.x * sine) * f.n * f.a / s.r;
  s.vel.y = (f.bq.y * cose - f.ap.y * sine) * f.n * f.a / s.r;
  s.vel.z = (f.bq.z * cose - f.ap.z * sine) * f.n * f.a / s.r;
  return s;
}

}  // namespace tandem
