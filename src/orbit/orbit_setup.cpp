#include "orbit/orbit_setup.hpp"

#include <cmath>

#include "orbit/constants.hpp"

namespace tandem {
namespace {

// Perihelion vector p and the in-plane vector q 90 degrees ahead of it, for node omega_n,
// argument of perihelion w and inclination i, all in radians.
void set_plane_vectors(Orbit& orbit, double omega_n, double w, double i) {
  const double cn = std::cos(omega_n);
  const double sn = std::sin(omega_n);
  const double cw = std::cos(w);
  const double sw = std::sin(w);
  const double ci = std::cos(i);
  const double si = std::sin(i);
  orbit.pvec.x = cn * cw - (sn * sw) * ci;
  orbit.pvec.y = sn * cw + (cn * sw) * ci;
  orbit.pvec.z = sw * si;
  orbit.qvec.x = -(cn * sw) - (sn * cw) * ci;
  orbit.qvec.y = -(sn * sw) + (cn * cw) * ci;
  orbit.qvec.z = cw * si;
}

void set_angles(Orbit& orbit, const PlanetElements& el) {
  orbit.jg = el.yn;
  orbit.lg = el.ln;
  orbit.pg = el.lp;
  orbit.j = orbit.jg * g2r;
  orbit.l = orbit.lg * g2r;
  orbit.p = orbit.pg * g2r;
}

// The reference planet keeps its orbit as read. Its argument of perihelion is formed in
// degrees before conversion, unlike planet 1's; the two roundings differ on purpose.
Orbit reference_orbit(double mst, const PlanetElements& el) {
  Orbit o;
  o.a = el.se;
  o.n = std::sqrt((mst + el.sm) * kg2 / (o.a * o.a * o.a));
  o.e = el.ex;
  o.b = std::sqrt(uno - o.e * o.e) * o.a;
  set_angles(o, el);
  const double argper = o.pg - o.lg;  // degrees, not reduced to a range
  o.ar = argper * g2r;
  set_plane_vectors(o, o.l, o.ar, o.j);
  return o;
}

// Planet 1 at exact resonance: n1 = k2*n2/k1 with the reals as typed, and a1 from
// Kepler's third law. Its semi-major axis as read is deliberately ignored.
Orbit resonant_orbit(double mst, const PlanetElements& el, const Resonance& res, double n2) {
  Orbit o;
  o.n = (res.k2 * n2) / res.k1;
  o.a = std::pow((mst + el.sm) * kg2 / (o.n * o.n), uno / 3);
  o.e = el.ex;
  o.b = std::sqrt(uno - o.e * o.e) * o.a;
  set_angles(o, el);
  o.ar = o.p - o.l;
  set_plane_vectors(o, o.l, o.ar, o.j);
  return o;
}

// 1000 samples per whole unit of k2. Only a value whose product fits an int is converted
// (a larger or non-finite k2 would make the conversion undefined); anything else gives
// an empty cycle, which the table and the sigma loop treat as no samples at all.
int samples_per_cycle(double maxfac) {
  const double whole = std::trunc(maxfac);
  if (!(std::fabs(whole) <= 2'000'000)) {
    return 0;
  }
  return 1000 * static_cast<int>(whole);
}

}  // namespace

OrbitSetup setup_orbits(const PlanetarySystem& system, const Resonance& resonance) {
  const double mst = system.mst;
  const double sm1 = system.planet1.sm;
  const double sm2 = system.planet2.sm;
  OrbitSetup s;
  s.planet2 = reference_orbit(mst, system.planet2);
  s.planet1 = resonant_orbit(mst, system.planet1, resonance, s.planet2.n);
  s.beta1 = sm1 * mst / (sm1 + mst);
  s.beta2 = sm2 * mst / (sm2 + mst);
  const double k1a1 = resonance.k1 / s.planet1.a;
  const double k2a2 = resonance.k2 / s.planet2.a;
  s.hii = (k1a1 * k1a1 * 3) / s.beta1 + (k2a2 * k2a2 * 3) / s.beta2;
  s.rhs = std::pow((sm1 + sm2) / (mst * 3), 1.0 / 3) * ((s.planet1.a + s.planet2.a) / 2);
  s.isimax = grid_points;
  s.ipasos = samples_per_cycle(resonance.k2);
  return s;
}

}  // namespace tandem
