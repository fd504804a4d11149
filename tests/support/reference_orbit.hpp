#pragma once
// An independent route from classical elements to a heliocentric state, for checking the
// program's orbit geometry: Kepler's equation by bisection, the true anomaly, rotation by
// node, inclination and argument of latitude, and the perifocal velocity sqrt(mu/p)*(...).

#include <cmath>

namespace tandem::testing {

struct RefState {
  double x, y, z;
  double vx, vy, vz;
};

struct RefOrbit {
  double a;      // au
  double e;      // eccentricity
  double i;      // inclination, rad
  double node;   // longitude of the ascending node, rad
  double varpi;  // longitude of perihelion, rad
  double n;      // mean motion, rad/day
};

// Eccentric anomaly for any mean anomaly, to double resolution.
inline double ref_eccentric_anomaly(double e, double mean_anomaly) {
  const double tau = 2 * std::acos(-1.0);
  const double m = mean_anomaly - tau * std::floor(mean_anomaly / tau);  // in [0, 2 pi)
  double lo = 0;
  double hi = tau;
  for (int k = 0; k < 200; ++k) {
    const double mid = 0.5 * (lo + hi);
    if (mid - e * std::sin(mid) < m) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return 0.5 * (lo + hi);
}

inline RefState ref_state(const RefOrbit& o, double mean_longitude) {
  const double ea = ref_eccentric_anomaly(o.e, mean_longitude - o.varpi);
  const double nu =
      2 * std::atan2(std::sqrt(1 + o.e) * std::sin(ea / 2), std::sqrt(1 - o.e) * std::cos(ea / 2));
  const double r = o.a * (1 - o.e * std::cos(ea));
  const double u = o.varpi - o.node + nu;  // argument of latitude
  const double cn = std::cos(o.node), sn = std::sin(o.node);
  const double ci = std::cos(o.i), si = std::sin(o.i);
  const double cu = std::cos(u), su = std::sin(u);
  // Radial and transverse unit vectors.
  const double rx = cn * cu - sn * su * ci, ry = sn * cu + cn * su * ci, rz = su * si;
  const double tx = -cn * su - sn * cu * ci, ty = -sn * su + cn * cu * ci, tz = cu * si;
  const double mu = o.n * o.n * o.a * o.a * o.a;
  const double h = std::sqrt(mu / (o.a * (1 - o.e * o.e)));
  const double vr = h * o.e * std::sin(nu);
  const double vt = h * (1 + o.e * std::cos(nu));
  return {r * rx, r * ry, r * rz, vr * rx + vt * tx, vr * ry + vt * ty, vr * rz + vt * tz};
}

}  // namespace tandem::testing
