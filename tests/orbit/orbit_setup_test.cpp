#include "orbit/orbit_setup.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "orbit/constants.hpp"
#include "support/exact.hpp"

namespace tandem {
namespace {

using testing::same;

// Sun, a Jupiter-mass inner planet and a Saturn-mass outer one on inclined, eccentric
// orbits.
PlanetarySystem sample_system() {
  PlanetarySystem s;
  s.mst = 1.0;
  s.planet1 = {5.2, 0.1, 2.0, 30.0, 60.0, 0.001};
  s.planet2 = {6.8, 0.05, 1.0, 100.0, 15.0, 0.0003};
  return s;
}

double dot(const Vec3& u, const Vec3& v) {
  return u.x * v.x + u.y * v.y + u.z * v.z;
}

void expect_same_orbit(const Orbit& x, const Orbit& y) {
  EXPECT_TRUE(same(x.a, y.a));
  EXPECT_TRUE(same(x.n, y.n));
  EXPECT_TRUE(same(x.e, y.e));
  EXPECT_TRUE(same(x.b, y.b));
  EXPECT_TRUE(same(x.p, y.p));
  EXPECT_TRUE(same(x.ar, y.ar));
  EXPECT_TRUE(same(x.pvec.x, y.pvec.x));
  EXPECT_TRUE(same(x.pvec.y, y.pvec.y));
  EXPECT_TRUE(same(x.pvec.z, y.pvec.z));
  EXPECT_TRUE(same(x.qvec.x, y.qvec.x));
  EXPECT_TRUE(same(x.qvec.y, y.qvec.y));
  EXPECT_TRUE(same(x.qvec.z, y.qvec.z));
}

TEST(OrbitSetup, PlanetOnesSemiMajorAxisAsReadChangesNothing) {
  PlanetarySystem other = sample_system();
  other.planet1.se = 0.37;
  const Resonance res{3.0, 2.0};
  const OrbitSetup x = setup_orbits(sample_system(), res);
  const OrbitSetup y = setup_orbits(other, res);
  expect_same_orbit(x.planet1, y.planet1);
  expect_same_orbit(x.planet2, y.planet2);
  EXPECT_TRUE(same(x.hii, y.hii));
  EXPECT_TRUE(same(x.rhs, y.rhs));
}

TEST(OrbitSetup, PlanetOneSitsAtExactResonanceOnKeplersThirdLaw) {
  const PlanetarySystem sys = sample_system();
  const OrbitSetup s = setup_orbits(sys, {3.0, 2.0});
  const Orbit& o1 = s.planet1;
  const Orbit& o2 = s.planet2;
  EXPECT_NEAR(o1.n / o2.n, 1.5, 1e-15);
  // n^2 a^3 = k^2 (M + m) for both planets (relative 1e-14).
  EXPECT_NEAR(o2.n * o2.n * std::pow(o2.a, 3) / (kg2 * 1.0003), 1.0, 1e-14);
  EXPECT_NEAR(o1.n * o1.n * std::pow(o1.a, 3) / (kg2 * 1.001), 1.0, 1e-14);
  EXPECT_TRUE(same(o2.a, 6.8));
  EXPECT_NEAR(o1.b, o1.a * std::sqrt(1 - 0.01), 1e-15 * o1.a);
  EXPECT_NEAR(o2.b, o2.a * std::sqrt(1 - 0.0025), 1e-15 * o2.a);
}

TEST(OrbitSetup, EqualResonanceNumbersGiveACoorbitalPair) {
  PlanetarySystem sys = sample_system();
  const OrbitSetup s = setup_orbits(sys, {1.0, 1.0});
  EXPECT_TRUE(same(s.planet1.n, s.planet2.n));
  EXPECT_NEAR(s.planet1.a / (s.planet2.a * std::cbrt(1.001 / 1.0003)), 1.0, 1e-15);
  sys.planet1.sm = sys.planet2.sm;
  const OrbitSetup same = setup_orbits(sys, {1.0, 1.0});
  EXPECT_NEAR(same.planet1.a, same.planet2.a, 4e-16 * same.planet2.a);
}

TEST(OrbitSetup, ZeroInclinationsKeepThePlanesInTheReferencePlane) {
  PlanetarySystem sys = sample_system();
  sys.planet1.yn = 0;
  sys.planet2.yn = 0;
  const OrbitSetup s = setup_orbits(sys, {3.0, 2.0});
  for (const Orbit* o : {&s.planet1, &s.planet2}) {
    EXPECT_TRUE(same(o->pvec.z, 0.0));
    EXPECT_TRUE(same(o->qvec.z, 0.0));
    // Perihelion direction (cos varpi, sin varpi, 0) whatever the node.
    const double varpi = o->pg * g2r;
    EXPECT_NEAR(o->pvec.x, std::cos(varpi), 1e-15);
    EXPECT_NEAR(o->pvec.y, std::sin(varpi), 1e-15);
    EXPECT_NEAR(o->qvec.x, -std::sin(varpi), 1e-15);
    EXPECT_NEAR(o->qvec.y, std::cos(varpi), 1e-15);
  }
}

TEST(OrbitSetup, PlaneVectorsAreOrthonormalAndSpanTheInclinedPlane) {
  const PlanetarySystem sys = sample_system();
  const OrbitSetup s = setup_orbits(sys, {3.0, 2.0});
  const PlanetElements* elements[] = {&sys.planet1, &sys.planet2};
  const Orbit* orbits[] = {&s.planet1, &s.planet2};
  for (int k = 0; k < 2; ++k) {
    const Vec3& p = orbits[k]->pvec;
    const Vec3& q = orbits[k]->qvec;
    EXPECT_NEAR(dot(p, p), 1.0, 1e-15);
    EXPECT_NEAR(dot(q, q), 1.0, 1e-15);
    EXPECT_NEAR(dot(p, q), 0.0, 1e-15);
    // p x q is the orbit normal (sin i sin node, -sin i cos node, cos i), and p makes the
    // argument of perihelion with the ascending node (cos node, sin node, 0).
    const double i = elements[k]->yn * g2r;
    const double node = elements[k]->ln * g2r;
    const double w = (elements[k]->lp - elements[k]->ln) * g2r;
    EXPECT_NEAR(p.y * q.z - p.z * q.y, std::sin(i) * std::sin(node), 1e-15);
    EXPECT_NEAR(p.z * q.x - p.x * q.z, -std::sin(i) * std::cos(node), 1e-15);
    EXPECT_NEAR(p.x * q.y - p.y * q.x, std::cos(i), 1e-15);
    EXPECT_NEAR(p.x * std::cos(node) + p.y * std::sin(node), std::cos(w), 1e-15);
  }
}

TEST(OrbitSetup, SharedQuantitiesFollowTheirDefinitions) {
  const PlanetarySystem sys = sample_system();
  const OrbitSetup s = setup_orbits(sys, {3.0, 2.0});
  const double a1 = s.planet1.a;
  const double a2 = s.planet2.a;
  const double beta1 = 0.001 / 1.001;  // m M / (m + M) with M = 1
  const double beta2 = 0.0003 / 1.0003;
  EXPECT_NEAR(s.beta1 / beta1, 1.0, 1e-15);
  EXPECT_NEAR(s.beta2 / beta2, 1.0, 1e-15);
  const double hii = 3 * 4 / (a1 * a1 * beta1) + 3 * 9 / (a2 * a2 * beta2);
  EXPECT_NEAR(s.hii / hii, 1.0, 1e-15);
  const double rhs = std::cbrt(0.0013 / 3) * (a1 + a2) / 2;
  EXPECT_NEAR(s.rhs / rhs, 1.0, 1e-15);
  EXPECT_EQ(s.isimax, 360);
}

TEST(OrbitSetup, SamplesPerCycleCountWholeUnitsOfK2) {
  const PlanetarySystem sys = sample_system();
  const OrbitSetup frac = setup_orbits(sys, {3.9, 2.0});
  EXPECT_EQ(frac.ipasos, 3000);
  // The fraction still counts in the mean motion.
  EXPECT_NEAR(frac.planet1.n / frac.planet2.n, 1.95, 1e-15);
  EXPECT_EQ(setup_orbits(sys, {50.0, 49.0}).ipasos, 50000);
  EXPECT_EQ(setup_orbits(sys, {2.0, 1.0}).ipasos, 2000);
  EXPECT_EQ(setup_orbits(sys, {0.5, 0.5}).ipasos, 0);
  // Beyond what an int holds, or not a number at all: no samples rather than undefined
  // conversions.
  EXPECT_EQ(setup_orbits(sys, {1e300, 2.0}).ipasos, 0);
  EXPECT_EQ(setup_orbits(sys, {std::numeric_limits<double>::quiet_NaN(), 2.0}).ipasos, 0);
}

}  // namespace
}  // namespace tandem
