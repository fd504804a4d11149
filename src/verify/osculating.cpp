#include "verify/osculating.hpp"

#include <cmath>
#include <limits>

#include "orbit/constants.hpp"
#include "orbit/kepler.hpp"

namespace tandem::nbody {
namespace {

double dot(const Vec3& u, const Vec3& v) {
  return u.x * v.x + u.y * v.y + u.z * v.z;
}

Vec3 cross(const Vec3& u, const Vec3& v) {
  return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

double norm(const Vec3& v) {
  return std::sqrt(dot(v, v));
}

}  // namespace

double wrap_pi(double x) {
  return x - twopi * std::round(x / twopi);
}

KeplerState state_from_elements(const Elements& el, double mu) {
  // The plane vectors of the orbit set-up, with the argument of perihelion peri - node.
  const double w = el.peri - el.node;
  const double cn = std::cos(el.node);
  const double sn = std::sin(el.node);
  const double cw = std::cos(w);
  const double sw = std::sin(w);
  const double ci = std::cos(el.i);
  const double si = std::sin(el.i);
  const Vec3 p{cn * cw - sn * sw * ci, sn * cw + cn * sw * ci, sw * si};
  const Vec3 q{-(cn * sw) - sn * cw * ci, -(sn * sw) + cn * cw * ci, cw * si};

  // The solver takes the mean anomaly reduced with the sign of the unreduced angle.
  const double m = mod(el.lambda - el.peri, twopi);
  const double ecc = solkep(el.e, m).e;
  const double cose = std::cos(ecc);
  const double sine = std::sin(ecc);
  const double a = el.a;
  const double b = std::sqrt(1 - el.e * el.e) * a;
  const double n = std::sqrt(mu / (a * a * a));
  const double r = a * (1 - el.e * cose);
  const double x = a * (cose - el.e);
  const double y = b * sine;
  const double vx = -a * sine * n * a / r;
  const double vy = b * cose * n * a / r;
  return {{x * p.x + y * q.x, x * p.y + y * q.y, x * p.z + y * q.z},
          {vx * p.x + vy * q.x, vx * p.y + vy * q.y, vx * p.z + vy * q.z}};
}

Elements elements_from_state(const KeplerState& s, double mu) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Vec3 h = cross(s.pos, s.vel);
  const double hn = norm(h);
  const double r = norm(s.pos);
  Elements el;
  el.a = 1 / (2 / r - dot(s.vel, s.vel) / mu);
  const Vec3 vh = cross(s.vel, h);
  const Vec3 ev{vh.x / mu - s.pos.x / r, vh.y / mu - s.pos.y / r, vh.z / mu - s.pos.z / r};
  el.e = norm(ev);
  if (!(el.a > 0) || !(el.e < 1) || !(hn + h.z > 0)) {
    el.i = el.node = el.peri = el.lambda = nan;
    return el;
  }
  const double hxy = std::sqrt(h.x * h.x + h.y * h.y);
  el.i = std::atan2(hxy, h.z);
  el.node = hxy > 0 ? std::atan2(h.x, -h.y) : 0.0;

  // Equinoctial frame: f and g span the orbital plane, f being the reference direction
  // turned into the plane about the line of nodes, so that angles measured from f are
  // longitudes (node + angle in the plane from the node). p, q = tan(i/2)*(sin, cos)(node).
  const double pe = h.x / (hn + h.z);
  const double qe = -h.y / (hn + h.z);
  const double d = 1 + pe * pe + qe * qe;
  const Vec3 f{(1 - pe * pe + qe * qe) / d, 2 * pe * qe / d, -2 * pe / d};
  const Vec3 g{2 * pe * qe / d, (1 + pe * pe - qe * qe) / d, 2 * qe / d};

  el.peri = el.e > 0 ? std::atan2(dot(ev, g), dot(ev, f)) : 0.0;
  const double true_longitude = std::atan2(dot(s.pos, g), dot(s.pos, f));
  const double nu = true_longitude - el.peri;
  const double ecc = std::atan2(std::sqrt(1 - el.e * el.e) * std::sin(nu), el.e + std::cos(nu));
  const double mean_anomaly = ecc - el.e * std::sin(ecc);
  el.lambda = wrap_pi(el.peri + mean_anomaly);
  return el;
}

}  // namespace tandem::nbody
