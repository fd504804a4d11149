#include "verify/three_body.hpp"

#include <cmath>

#include "orbit/constants.hpp"

namespace tandem::nbody {
namespace {

Vec3 at(const PhaseState& y, int offset) {
  return {y[offset], y[offset + 1], y[offset + 2]};
}

void put(PhaseState& y, int offset, const Vec3& v) {
  y[offset] = v.x;
  y[offset + 1] = v.y;
  y[offset + 2] = v.z;
}

Vec3 scaled(const Vec3& v, double f) {
  return {v.x * f, v.y * f, v.z * f};
}

Vec3 minus(const Vec3& u, const Vec3& v) {
  return {u.x - v.x, u.y - v.y, u.z - v.z};
}

Vec3 plus(const Vec3& u, const Vec3& v) {
  return {u.x + v.x, u.y + v.y, u.z + v.z};
}

double dot(const Vec3& u, const Vec3& v) {
  return u.x * v.x + u.y * v.y + u.z * v.z;
}

Vec3 cross(const Vec3& u, const Vec3& v) {
  return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

double inverse_cube(const Vec3& v) {
  const double r2 = dot(v, v);
  return 1 / (r2 * std::sqrt(r2));
}

// Barycentric momenta p_i = m_i*(v_i - V), V = (m1*v1 + m2*v2)/(M + m1 + m2) being the
// heliocentric velocity of the barycentre.
struct Momenta {
  Vec3 p1;
  Vec3 p2;
};

Vec3 barycentre_velocity(const ThreeBody& sys, const Vec3& v1, const Vec3& v2) {
  return scaled(plus(scaled(v1, sys.g1), scaled(v2, sys.g2)), 1 / (sys.g0 + sys.g1 + sys.g2));
}

Momenta momenta(const ThreeBody& sys, const PhaseState& y) {
  const Vec3 v1 = at(y, 6);
  const Vec3 v2 = at(y, 9);
  const Vec3 vb = barycentre_velocity(sys, v1, v2);
  return {scaled(minus(v1, vb), sys.g1), scaled(minus(v2, vb), sys.g2)};
}

double beta(const ThreeBody& sys, double g) {
  return g * sys.g0 / (g + sys.g0);
}

}  // namespace

void ThreeBody::operator()(const PhaseState& y, PhaseState& dydt, double /*t*/) const {
  const Vec3 r1 = at(y, 0);
  const Vec3 r2 = at(y, 3);
  const Vec3 d = minus(r2, r1);
  const double c1 = inverse_cube(r1);
  const double c2 = inverse_cube(r2);
  const double c12 = inverse_cube(d);
  for (int k = 0; k < 6; ++k) {
    dydt[k] = y[6 + k];
  }
  // The indirect terms -g_j*r_j/r_j^3 are the star's acceleration by the other planet.
  const Vec3 a1 = plus(scaled(r1, -mu1() * c1), scaled(minus(scaled(d, c12), scaled(r2, c2)), g2));
  const Vec3 a2 = plus(scaled(r2, -mu2() * c2), scaled(minus(scaled(d, -c12), scaled(r1, c1)), g1));
  put(dydt, 6, a1);
  put(dydt, 9, a2);
}

ThreeBody three_body(double star_mass, double m1, double m2, const Scale& scale) {
  const double f = kg2 * scale.time_days * scale.time_days /
                   (scale.length_au * scale.length_au * scale.length_au);
  return {star_mass * f, m1 * f, m2 * f};
}

// u_i = p_i/beta_i = (v_i - V)*(M + m_i)/M, and back v_i = u_i*M/(M + m_i) + (p1 + p2)/M:
// written without dividing by a planet's mass, which may be zero.
CanonicalPair canonical_of(const ThreeBody& sys, const PhaseState& y) {
  const Vec3 v1 = at(y, 6);
  const Vec3 v2 = at(y, 9);
  const Vec3 vb = barycentre_velocity(sys, v1, v2);
  return {{at(y, 0), scaled(minus(v1, vb), sys.mu1() / sys.g0)},
          {at(y, 3), scaled(minus(v2, vb), sys.mu2() / sys.g0)}};
}

PhaseState phase_of(const ThreeBody& sys, const CanonicalPair& c) {
  const Vec3 p1 = scaled(c.planet1.vel, beta(sys, sys.g1));
  const Vec3 p2 = scaled(c.planet2.vel, beta(sys, sys.g2));
  const Vec3 star = scaled(plus(p1, p2), 1 / sys.g0);
  PhaseState y{};
  put(y, 0, c.planet1.pos);
  put(y, 3, c.planet2.pos);
  put(y, 6, plus(scaled(c.planet1.vel, sys.g0 / sys.mu1()), star));
  put(y, 9, plus(scaled(c.planet2.vel, sys.g0 / sys.mu2()), star));
  return y;
}

// The kinetic part as beta_i*|u_i|^2/2 + p1.p2/M, u_i the canonical velocities: finite also
// for a planet without mass, whose |p_i|^2/(2*beta_i) would be 0/0.
double energy(const ThreeBody& sys, const PhaseState& y) {
  const CanonicalPair c = canonical_of(sys, y);
  const double beta1 = beta(sys, sys.g1);
  const double beta2 = beta(sys, sys.g2);
  const Vec3 p1 = scaled(c.planet1.vel, beta1);
  const Vec3 p2 = scaled(c.planet2.vel, beta2);
  const Vec3 r1 = at(y, 0);
  const Vec3 r2 = at(y, 3);
  const double kinetic = beta1 * dot(c.planet1.vel, c.planet1.vel) / 2 +
                         beta2 * dot(c.planet2.vel, c.planet2.vel) / 2 + dot(p1, p2) / sys.g0;
  const double potential = sys.g0 * sys.g1 / std::sqrt(dot(r1, r1)) +
                           sys.g0 * sys.g2 / std::sqrt(dot(r2, r2)) +
                           sys.g1 * sys.g2 / separation(y);
  return kinetic - potential;
}

Vec3 angular_momentum(const ThreeBody& sys, const PhaseState& y) {
  const Momenta p = momenta(sys, y);
  return plus(cross(at(y, 0), p.p1), cross(at(y, 3), p.p2));
}

double separation(const PhaseState& y) {
  const Vec3 d = minus(at(y, 3), at(y, 0));
  return std::sqrt(dot(d, d));
}

}  // namespace tandem::nbody
