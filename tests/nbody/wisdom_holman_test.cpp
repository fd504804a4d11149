#include "nbody/wisdom_holman.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "nbody/kepler_drift.hpp"
#include "nbody/vector.hpp"
#include "orbit/constants.hpp"
#include "verify/critical_angle.hpp"
#include "verify/propagation.hpp"
#include "verify/three_body.hpp"

namespace tandem::nbody {
namespace {

double gap(double x, double y) {
  return std::fabs(wrap_pi(x - y));
}

double distance(const Vec3& u, const Vec3& v) {
  const double dx = u.x - v.x;
  const double dy = u.y - v.y;
  const double dz = u.z - v.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Jupiter and Saturn of JPL's approximate elements at J2000 (a, e, I, node, varpi, L),
// rounded; masses the IAU's.
const Elements jupiter{5.2029, 0.0484, 1.3044 * g2r, 100.474 * g2r, 14.728 * g2r, 34.396 * g2r};
const Elements saturn{9.5367, 0.0539, 2.486 * g2r, 113.662 * g2r, 92.599 * g2r, 49.954 * g2r};
constexpr double m_jupiter = 9.547919e-4;
constexpr double m_saturn = 2.858860e-4;

double period_days(double a, double mass) {
  return twopi * std::sqrt(a * a * a / (kg2 * (1 + mass)));
}

// An orbit alone with the star: the drift is the whole map, exact but for rounding, the
// elements kept over ten thousand orbits of any eccentricity, across any step length.
TEST(WisdomHolman, TwoBodyOrbitsKeepTheirElements) {
  const Elements cases[] = {
      {1.0, 0.0, 0.0, 0.0, 0.0, 0.3},
      {3.97, 0.2, 8 * g2r, 30 * g2r, 120 * g2r, 1.0},
      {40.0, 0.95, 150 * g2r, 200 * g2r, -40 * g2r, 2.5},  // retrograde, near-parabolic
  };
  for (const Elements& el : cases) {
    const double period = period_days(el.a, 0);
    WisdomHolman map(kg2, {}, {state_from_elements(el, kg2)}, period / 37.3, 3);
    map.advance(373'000);
    const Elements got = elements_from_state(map.particles()[0].state, kg2);
    EXPECT_NEAR(got.a, el.a, 1e-9 * el.a) << "a = " << el.a;
    EXPECT_NEAR(got.e, el.e, 1e-9);
    // Ten thousand orbits, the mean longitude back where it started.
    EXPECT_LT(gap(got.lambda, el.lambda), 1e-6) << "e = " << el.e;
  }
  // An unbound state is left alone and said so.
  KeplerState h{{1, 0, 0}, {0, 0.03, 0}};
  EXPECT_FALSE(kepler_drift(h, kg2, 10));
  EXPECT_EQ(h.vel.y, 0.03);
}

// Jupiter and Saturn for 100 000 years at P_J/40: the energy error of a symplectic map
// stays bounded; it does not grow from the first tenth of the run to the last.
TEST(WisdomHolman, EnergyOfJupiterAndSaturnStaysBounded) {
  const double dt = period_days(jupiter.a, m_jupiter) / 40;
  WisdomHolman map(kg2,
                   {{kg2 * m_jupiter, state_from_elements(jupiter, kg2 * (1 + m_jupiter))},
                    {kg2 * m_saturn, state_from_elements(saturn, kg2 * (1 + m_saturn))}},
                   {}, dt, 3);
  const double e0 = map.energy();
  const long long total = static_cast<long long>(1e5 * 365.25 / dt);
  double early = 0;
  double late = 0;
  for (long long k = 0; k < 100; ++k) {
    map.advance(total / 100);
    const double err = std::fabs((map.energy() - e0) / e0);
    (k < 10 ? early : late) = std::max(k < 10 ? early : late, err);
  }
  EXPECT_LT(late, 1e-5);
  EXPECT_LT(late, 2 * early) << "early " << early << " late " << late;
}

// A Hilda-type test orbit (a = 3.97 au, e = 0.2, near 3:2 with Jupiter) beside Jupiter,
// integrated by the map at P_J/100 and by the Runge-Kutta-Fehlberg 7(8) of tandem-verify at
// 1e-13 per step: after 100 orbits of Jupiter the positions agree to 1e-3 au (Jupiter's
// to 5e-4 au: the map's mean motion is off by a part in 1e7 at this step, an error that
// falls as the step squared) and the critical angle 3*lambda_J - 2*lambda - varpi to a
// tenth of a degree.
TEST(WisdomHolman, AgreesWithRungeKuttaFehlberg) {
  const double gj = kg2 * m_jupiter;
  const Elements hilda{3.97, 0.2, 5 * g2r, 100 * g2r, 30 * g2r, 200 * g2r};
  const KeplerState jup = state_from_elements(jupiter, kg2 * (1 + m_jupiter));
  const KeplerState hil = state_from_elements(hilda, kg2);
  const double pj = period_days(jupiter.a, m_jupiter);

  WisdomHolman map(kg2, {{gj, jup}}, {hil}, pj / 100, 3);
  map.advance(100 * 100);

  // The three-body integrator in its units (au, days), the Hilda as planet 1 without mass;
  // its state holds heliocentric velocities.
  const ThreeBody sys = three_body(1.0, 0.0, m_jupiter, {1.0, 1.0});
  PhaseState y{hil.pos.x, hil.pos.y, hil.pos.z, jup.pos.x, jup.pos.y, jup.pos.z,
               hil.vel.x, hil.vel.y, hil.vel.z, jup.vel.x, jup.vel.y, jup.vel.z};
  Propagator rk(sys, y, {1e-13, 0.0, 1e300, 100'000'000});
  ASSERT_EQ(rk.advance_to(100 * 100 * (pj / 100)), StopReason::completed);
  const PhaseState& z = rk.state();

  const Vec3 map_hilda = map.particles()[0].state.pos;
  EXPECT_LT(distance(map_hilda, {z[0], z[1], z[2]}), 1e-3);
  EXPECT_LT(distance(map.planets()[0].state.pos, {z[3], z[4], z[5]}), 5e-4);

  // Both in the averaged model's variables: heliocentric positions, barycentric velocities
  // (times (M + m)/M for Jupiter), parameters k^2 M and k^2 (M + m_J).
  const Osculating rk_el = osculating_of(sys, z);
  const WhPlanet& j = map.planets()[0];
  const Elements map_j =
      elements_from_state({j.state.pos, j.state.vel * ((kg2 + gj) / kg2)}, kg2 + gj);
  const Elements map_h = elements_from_state(map.particles()[0].state, kg2);
  const double phi_map = 3 * map_j.lambda - 2 * map_h.lambda - map_h.peri;
  const double phi_rk = 3 * rk_el.planet2.lambda - 2 * rk_el.planet1.lambda - rk_el.planet1.peri;
  EXPECT_LT(gap(phi_map, phi_rk), 0.1 * g2r);
}

// A particle that comes within the encounter distance of the planet stops and keeps the
// state it had when the run was last synchronised; the other particles go on.
TEST(WisdomHolman, CloseEncounterStopsOnlyThatParticle) {
  const double gj = kg2 * m_jupiter;
  const KeplerState jup = state_from_elements({5.2, 0, 0, 0, 0, 0}, kg2 * (1 + m_jupiter));
  // Just behind Jupiter on its orbit, and far away on the other side of the star.
  const KeplerState near = state_from_elements({5.2, 0, 0, 0, 0, -0.02}, kg2);
  const KeplerState far = state_from_elements({3.97, 0.1, 0, 0, 0, 3.0}, kg2);
  WisdomHolman map(kg2, {{gj, jup}}, {near, far}, period_days(5.2, m_jupiter) / 100, 3);
  const KeplerState before = map.particles()[0].state;
  map.advance(50);
  EXPECT_EQ(map.particles()[0].stop, ParticleStop::close_encounter);
  EXPECT_EQ(map.particles()[0].stopped_at, 0);
  EXPECT_EQ(map.particles()[0].state.pos.x, before.pos.x);
  EXPECT_EQ(map.particles()[1].stop, ParticleStop::running);
  EXPECT_TRUE(std::isfinite(map.particles()[1].state.pos.x));
  EXPECT_EQ(map.steps(), 50);
}

}  // namespace
}  // namespace tandem::nbody
