#include "orbit/orbit_setup.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "orbit/constants.hpp"
#include "support/exact.hpp"

namespace tandem {
namespace {

using testing::same;

// Sun, a Jupiter-mass inner planet and a Saturn-mass outer one, inclined and eccentric.
PlanetarySystem sample_system() {
  PlanetarySystem s;
  s.mst = 1.0;
  s.planet1 = {5.2, 0.1, 2.0, 30.0, 60.0, 0.001};
  s.planet2 = {6.8, 0.05, 1.0, 100.0, 15.0, 0.0003};
  return s;
}

TEST(OrbitSetup, PlanetOnesSemiMajorAxisAsReadChangesNothing) {
  PlanetarySystem other = sample_system();
  other.planet1.se = 0.37;
  const OrbitSetup x = setup_orbits(sample_system(), {3.0, 2.0});
  const OrbitSetup y = setup_orbits(other, {3.0, 2.0});
  EXPECT_TRUE(same(x.planet1.a, y.planet1.a));
  EXPECT_TRUE(same(x.planet1.b, y.planet1.b));
  EXPECT_TRUE(same(x.hii, y.hii));
  EXPECT_TRUE(same(x.rhs, y.rhs));
}

TEST(OrbitSetup, PlanetOneSitsAtExactResonanceOnKeplersThirdLaw) {
  const OrbitSetup s = setup_orbits(sample_system(), {3.0, 2.0});
  const Orbit& o1 = s.planet1;
  const Orbit& o2 = s.planet2;
  EXPECT_TRUE(same(o2.a, 6.8));
  EXPECT_NEAR(o1.n / o2.n, 1.5, 1e-15);
  // n^2 a^3 = k^2 (M + m), relative 1e-14; b = a sqrt(1 - e^2).
  EXPECT_NEAR(o2.n * o2.n * std::pow(o2.a, 3) / (kg2 * 1.0003), 1.0, 1e-14);
  EXPECT_NEAR(o1.n * o1.n * std::pow(o1.a, 3) / (kg2 * 1.001), 1.0, 1e-14);
  EXPECT_NEAR(o1.b / (o1.a * std::sqrt(0.99)), 1.0, 1e-15);
  // K2:K1 = 1:1 is co-orbital; with equal masses the semi-major axes agree.
  PlanetarySystem sys = sample_system();
  const OrbitSetup co = setup_orbits(sys, {1.0, 1.0});
  EXPECT_TRUE(same(co.planet1.n, co.planet2.n));
  EXPECT_NEAR(co.planet1.a / (6.8 * std::cbrt(1.001 / 1.0003)), 1.0, 1e-15);
  sys.planet1.sm = sys.planet2.sm;
  EXPECT_NEAR(setup_orbits(sys, {1.0, 1.0}).planet1.a, 6.8, 4e-16 * 6.8);
}

TEST(OrbitSetup, ZeroInclinationsKeepThePlanesInTheReferencePlane) {
  // p = (cos varpi, sin varpi, 0) whatever the node.
  PlanetarySystem sys = sample_system();
  sys.planet1.yn = sys.planet2.yn = 0;
  const OrbitSetup flat = setup_orbits(sys, {3.0, 2.0});
  for (const Orbit* o : {&flat.planet1, &flat.planet2}) {
    EXPECT_TRUE(same(o->pvec.z, 0.0));
    EXPECT_TRUE(same(o->qvec.z, 0.0));
    EXPECT_NEAR(o->pvec.x, std::cos(o->pg * g2r), 1e-15);
    EXPECT_NEAR(o->pvec.y, std::sin(o->pg * g2r), 1e-15);
  }
}

TEST(OrbitSetup, SharedQuantitiesFollowTheirDefinitions) {
  const OrbitSetup s = setup_orbits(sample_system(), {3.0, 2.0});
  const double a1 = s.planet1.a, a2 = s.planet2.a;
  const double beta1 = 0.001 / 1.001, beta2 = 0.0003 / 1.0003;  // m M/(m + M), M = 1
  EXPECT_NEAR(s.hii / (12 / (a1 * a1 * beta1) + 27 / (a2 * a2 * beta2)), 1.0, 1e-15);
  EXPECT_NEAR(s.rhs / (std::cbrt(0.0013 / 3) * (a1 + a2) / 2), 1.0, 1e-15);
  EXPECT_EQ(s.isimax, 360);
}

TEST(OrbitSetup, SamplesPerCycleCountWholeUnitsOfK2) {
  const PlanetarySystem sys = sample_system();
  const OrbitSetup frac = setup_orbits(sys, {3.9, 2.0});
  EXPECT_EQ(frac.ipasos, 3000);
  EXPECT_NEAR(frac.planet1.n / frac.planet2.n, 1.95, 1e-15);  // the fraction still counts
  EXPECT_EQ(setup_orbits(sys, {50.0, 49.0}).ipasos, 50000);
  EXPECT_EQ(setup_orbits(sys, {0.5, 0.5}).ipasos, 0);
  // Beyond an int, or not a number: no samples rather than an undefined conversion.
  EXPECT_EQ(setup_orbits(sys, {1e300, 2.0}).ipasos, 0);
  EXPECT_EQ(setup_orbits(sys, {std::numeric_limits<double>::quiet_NaN(), 2.0}).ipasos, 0);
}

}  // namespace
}  // namespace tandem
