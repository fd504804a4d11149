#pragma once
// Heliocentric state on an orbit from the cosine and sine of the eccentric anomaly:
// position a*(cos E - e)*p + b*sin E*q (au) and its velocity (au/day). Both planets use
// this one form, so their states carry the same rounding. Kept inline: it sits in the
// innermost loop of the sigma grid.

#include "orbit/orbit_setup.hpp"

namespace tandem {

struct OrbitState {
  double r = 0;  // distance from the star, au
  Vec3 pos;
  Vec3 vel;
};

inline OrbitState state_on_orbit(const Orbit& o, double cose, double sine) {
  const double a = o.a;
  const double b = o.b;
  const double e = o.e;
  const Vec3& p = o.pvec;
  const Vec3& q = o.qvec;
  OrbitState s;
  s.r = a * (1 - e * cose);
  s.pos.x = a * p.x * cose + b * q.x * sine - a * e * p.x;
  s.pos.y = a * p.y * cose + b * q.y * sine - a * e * p.y;
  s.pos.z = a * p.z * cose + b * q.z * sine - a * e * p.z;
  s.vel.x = (b * q.x * cose - a * p.x * sine) * o.n * a / s.r;
  s.vel.y = (b * q.y * cose - a * p.y * sine) * o.n * a / s.r;
  s.vel.z = (b * q.z * cose - a * p.z * sine) * o.n * a / s.r;
  return s;
}

}  // namespace tandem
