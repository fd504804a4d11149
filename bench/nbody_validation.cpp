// The Wisdom-Holman map of the survey's N-body check against the Runge-Kutta-Fehlberg 7(8)
// of tandem-verify (1e-13 per step) on shared cases, at several steps: the figures behind
// the choice of the step (docs/nbody.md). Not timed; prints one table.
//
//   build/release/bench/tandem_nbody_validation
//
// Cases (the star of 1 M_sun, heliocentric J2000 ecliptic elements):
//   hilda-e0.2, hilda-e0.024: Hilda-type test orbits (a = 3.97 au, i = 5 deg; made up for
//     the check, not real bodies) with Jupiter, 1 000 orbits of Jupiter;
//   pluto: Pluto's elements of the MPC's Distant.txt (epoch JD 2458600.5) with Neptune of
//     JPL's approximate elements (E. M. Standish, Table 1) at that epoch, 1 000 orbits of
//     Neptune;
//   jupiter-saturn: the two of JPL's table at J2000 with a massless Hilda-type orbit,
//     1 000 orbits of Jupiter (the energy error is the planets').
// Columns: the step as a fraction of the inner planet's period, the largest relative energy
// error of the map's planets, the final distance of the particle and of the outer planet
// from the reference, and the largest and final difference of the critical angle (degrees).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "nbody/vector.hpp"
#include "nbody/wisdom_holman.hpp"
#include "orbit/constants.hpp"
#include "verify/critical_angle.hpp"
#include "verify/propagation.hpp"
#include "verify/three_body.hpp"

namespace tandem::nbody {
namespace {

constexpr double m_jupiter = 9.547919e-4;
constexpr double m_saturn = 2.858860e-4;
constexpr double m_neptune = 5.151389e-5;

// JPL's Table 1 row: a, e, I, L, varpi, node and their rates per century.
Elements jpl(const double (&row)[12], double jd) {
  const double t = (jd - 2451545.0) / 36525;
  const double a = row[0] + row[6] * t;
  const double e = row[1] + row[7] * t;
  const double i = row[2] + row[8] * t;
  const double l = row[3] + row[9] * t;
  const double w = row[4] + row[10] * t;
  const double node = row[5] + row[11] * t;
  return {a, e, i * g2r, node * g2r, w * g2r, wrap_pi(l * g2r)};
}
const double jupiter_row[12] = {5.20288700,  0.04838624,    1.30439695,  34.39644051,
                                14.72847983, 100.47390909,  -0.00011607, -0.00013253,
                                -0.00183714, 3034.74612775, 0.21252668,  0.20469106};
const double saturn_row[12] = {9.53667594,  0.05386179,    2.48599187,  49.95424423,
                               92.59887831, 113.66242448,  -0.00125060, -0.00050991,
                               0.00193609,  1222.49362201, -0.41897216, -0.28867794};
const double neptune_row[12] = {30.06992276, 0.00859048,   1.77004347,  -55.12002969,
                                44.96476227, 131.78422574, 0.00026291,  0.00005105,
                                0.00035372,  218.45945325, -0.32241464, -0.00508664};

struct Case {
  const char* name;
  double star = 1;
  double m_inner = 0;  // a planet with mass inside the particle's orbit, or 0
  double m_outer = 0;
  Elements inner;  // planet 1 of the three-body integrator: the particle when m_inner = 0
  Elements outer;
  bool particle_inside = true;  // the particle is planet 1 (else the map's particle is planet 1)
  Elements particle;            // used when both planets have mass
  int k2 = 3;
  int k1 = 2;
  double period_days = 0;  // of the step's reference planet
  int orbits = 1000;
};

struct Row {
  double energy = 0, particle_au = 0, planet_au = 0, phi_max = 0, phi_end = 0;
};

double distance(const Vec3& u, const Vec3& v) {
  return norm(u - v);
}

// phi of a body inside the perturber: K2*lambda_p - K1*lambda - (K2 - K1)*varpi; outside:
// K2*lambda - K1*lambda_p - (K2 - K1)*varpi.
double phi(const Elements& body, const Elements& pert, int k2, int k1, bool inside) {
  return inside ? wrap_pi(k2 * pert.lambda - k1 * body.lambda - (k2 - k1) * body.peri)
                : wrap_pi(k2 * body.lambda - k1 * pert.lambda - (k2 - k1) * body.peri);
}

// Two-planet case (m_inner, m_outer) with one massless particle: the reference integrates
// only three bodies, so a case has either a massless planet 1 or a massless planet 2.
Row run(const Case& c, int fraction) {
  const double dt = c.period_days / fraction;
  const long long steps = static_cast<long long>(c.orbits) * fraction;
  const int samples = 200;
  const long long every = steps / samples;

  // The three bodies of the reference: planet 1 inside, planet 2 outside.
  const ThreeBody sys = three_body(c.star, c.m_inner, c.m_outer, {1.0, 1.0});
  const KeplerState s1 = state_from_elements(c.inner, kg2 * (c.star + c.m_inner));
  const KeplerState s2 = state_from_elements(c.outer, kg2 * (c.star + c.m_outer));
  PhaseState y{s1.pos.x, s1.pos.y, s1.pos.z, s2.pos.x, s2.pos.y, s2.pos.z,
               s1.vel.x, s1.vel.y, s1.vel.z, s2.vel.x, s2.vel.y, s2.vel.z};
  Propagator rk(sys, y, {1e-13, 0.0, 1e300, 2'000'000'000});

  const double gs = kg2 * c.star;
  const bool inner_is_particle = c.m_inner == 0;
  const bool outer_is_particle = c.m_outer == 0;
  std::vector<WhPlanet> planets;
  std::vector<KeplerState> parts;
  if (outer_is_particle) {
    planets.push_back({kg2 * c.m_inner, s1});
    parts.push_back(s2);
  } else if (inner_is_particle) {
    planets.push_back({kg2 * c.m_outer, s2});
    parts.push_back(s1);
  } else {
    planets.push_back({kg2 * c.m_inner, s1});
    planets.push_back({kg2 * c.m_outer, s2});
    parts.push_back(state_from_elements(c.particle, gs));
  }
  WisdomHolman map(gs, planets, parts, dt, 0.0);
  const double e0 = map.energy();
  Row row;
  for (long long k = every; k <= steps; k += every) {
    map.advance(every);
    row.energy = std::max(row.energy, std::fabs((map.energy() - e0) / e0));
    if (rk.advance_to(static_cast<double>(k) * dt) != StopReason::completed) {
      std::printf("reference stopped\n");
      break;
    }
    const PhaseState& z = rk.state();
    const Osculating ref = osculating_of(sys, z);
    const WhPlanet& outer = map.planets().back();
    const double go = outer.gm;
    const Elements map_outer =
        elements_from_state({outer.state.pos, outer.state.vel * ((gs + go) / gs)}, gs + go);
    double d = 0;
    if (outer_is_particle) {
      const WhPlanet& inner = map.planets()[0];
      const Elements mi = elements_from_state(
          {inner.state.pos, inner.state.vel * ((gs + inner.gm) / gs)}, gs + inner.gm);
      const Elements mp = elements_from_state(map.particles()[0].state, gs);
      const double a = phi(mp, mi, c.k2, c.k1, false);
      const double b = phi(ref.planet2, ref.planet1, c.k2, c.k1, false);
      d = std::fabs(wrap_pi(a - b)) / g2r;
      row.particle_au = distance(map.particles()[0].state.pos, {z[3], z[4], z[5]});
      row.planet_au = distance(inner.state.pos, {z[0], z[1], z[2]});
      row.phi_max = std::max(row.phi_max, d);
      row.phi_end = d;
      continue;
    }
    if (inner_is_particle) {
      const Elements map_inner = elements_from_state(map.particles()[0].state, gs);
      const double a = phi(map_inner, map_outer, c.k2, c.k1, true);
      const double b = phi(ref.planet1, ref.planet2, c.k2, c.k1, true);
      d = std::fabs(wrap_pi(a - b)) / g2r;
      row.particle_au = distance(map.particles()[0].state.pos, {z[0], z[1], z[2]});
    } else {
      // Energy case: the particle has no reference; compare the planets.
      const WhPlanet& inner = map.planets()[0];
      const Elements mi = elements_from_state(
          {inner.state.pos, inner.state.vel * ((gs + inner.gm) / gs)}, gs + inner.gm);
      const double a = wrap_pi(5 * map_outer.lambda - 2 * mi.lambda);
      const double b = wrap_pi(5 * ref.planet2.lambda - 2 * ref.planet1.lambda);
      d = std::fabs(wrap_pi(a - b)) / g2r;
      row.particle_au = distance(inner.state.pos, {z[0], z[1], z[2]});
    }
    row.planet_au = distance(map.planets().back().state.pos, {z[3], z[4], z[5]});
    row.phi_max = std::max(row.phi_max, d);
    row.phi_end = d;
  }
  return row;
}

void table(const Case& c) {
  std::printf("%s (%d orbits)\n", c.name, c.orbits);
  std::printf("  step      energy      particle_au  planet_au   dphi_max_deg dphi_end_deg\n");
  for (int f : {10, 20, 40, 80, 160, 320}) {
    const Row r = run(c, f);
    std::printf("  P/%-5d  %.3e   %.3e    %.3e   %9.4f    %9.4f\n", f, r.energy, r.particle_au,
                r.planet_au, r.phi_max, r.phi_end);
    std::fflush(stdout);
  }
}

double period(double a, double m) {
  return twopi * std::sqrt(a * a * a / (kg2 * (1 + m)));
}

}  // namespace
}  // namespace tandem::nbody

int main() {
  using namespace tandem;
  using namespace tandem::nbody;
  const double j2000 = 2451545.0;
  const double epoch = 2458600.5;
  const Elements jup = jpl(jupiter_row, j2000);
  const Elements sat = jpl(saturn_row, j2000);
  const Elements nep = jpl(neptune_row, epoch);
  // Pluto, Distant.txt (MPC): a, e, i, node, argument of perihelion, mean anomaly.
  const double pa = 39.8461085, pe = 0.2537532, pi_ = 17.10337, pnode = 110.29733, parg = 115.01131,
               pm = 41.54710;
  const Elements pluto{pa,
                       pe,
                       pi_ * g2r,
                       pnode * g2r,
                       wrap_pi((pnode + parg) * g2r),
                       wrap_pi((pnode + parg + pm) * g2r)};
  const Elements hilda02{3.97, 0.2, 5 * g2r, 100 * g2r, 30 * g2r, 200 * g2r};
  const Elements hilda0024{3.97, 0.024, 5 * g2r, 100 * g2r, 30 * g2r, 200 * g2r};
  const double pj = period(jup.a, m_jupiter);
  const double pn = period(nep.a, m_neptune);

  table({"hilda-e0.2 with Jupiter", 1.0, 0.0, m_jupiter, hilda02, jup, true, {}, 3, 2, pj, 1000});
  table(
      {"hilda-e0.024 with Jupiter", 1.0, 0.0, m_jupiter, hilda0024, jup, true, {}, 3, 2, pj, 1000});
  // Pluto outside Neptune: the reference's planet 1 is Neptune with mass, planet 2 Pluto
  // without; the map's particle is Pluto.
  table({"pluto with Neptune", 1.0, m_neptune, 0.0, nep, pluto, false, {}, 3, 2, pn, 1000});
  table({"jupiter-saturn (energy; 'particle' = Jupiter)", 1.0, m_jupiter, m_saturn, jup, sat, true,
         hilda02, 5, 2, pj, 1000});
  return 0;
}
