#include "orbit/planet2_table.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "orbit/constants.hpp"
#include "support/exact.hpp"
#include "support/reference_orbit.hpp"

namespace tandem {
namespace {

using testing::same;

PlanetarySystem sample_system() {
  PlanetarySystem s;
  s.mst = 1.0;
  s.planet1 = {0.0, 0.1, 2.0, 30.0, 60.0, 0.001};
  s.planet2 = {6.8, 0.3, 12.0, 100.0, 15.0, 0.0003};
  return s;
}

Planet2Table table_for(const PlanetarySystem& sys, const Resonance& res) {
  const OrbitSetup s = setup_orbits(sys, res);
  return tabulate_planet2(s.planet2, res.k1, s.ipasos);
}

TEST(Planet2Table, SamplesSpanK1RevolutionsStartingOneStepAfterZero) {
  const Planet2Table t21 = table_for(sample_system(), {2.0, 1.0});
  ASSERT_EQ(t21.size(), 2000u);
  EXPECT_NEAR(t21.front().la, twopi / 2000, 1e-18);  // within 2 ulp of 3.1e-3
  EXPECT_TRUE(same(t21.back().la, twopi));           // (2000/2000)*twopi*1
  const Planet2Table t43 = table_for(sample_system(), {4.0, 3.0});
  ASSERT_EQ(t43.size(), 4000u);
  EXPECT_TRUE(same(t43.back().la, 3 * twopi));  // not reduced modulo 2*pi
  const OrbitSetup s = setup_orbits(sample_system(), {3.0, 2.0});
  EXPECT_TRUE(tabulate_planet2(s.planet2, 2.0, 0).empty());
  EXPECT_TRUE(tabulate_planet2(s.planet2, 2.0, 50001).empty());  // beyond the capacity
}

TEST(Planet2Table, StatesAgreeWithClassicalElements) {
  // Two revolutions, so the reduction of the mean anomaly is exercised as well.
  const Planet2Table t = table_for(sample_system(), {3.0, 2.0});
  const double deg = std::acos(-1.0) / 180;
  const double n2 = std::sqrt(kg2 * 1.0003 / (6.8 * 6.8 * 6.8));
  const testing::RefOrbit ref{6.8, 0.3, 12.0 * deg, 100.0 * deg, 15.0 * deg, n2};
  for (std::size_t k = 0; k < t.size(); k += 37) {
    const testing::RefState r = testing::ref_state(ref, t[k].la);
    // Positions to 1e-11 au, velocities (about 3e-3 au/day) to 1e-14 au/day.
    EXPECT_NEAR(t[k].x, r.x, 1e-11) << "sample " << k;
    EXPECT_NEAR(t[k].y, r.y, 1e-11) << "sample " << k;
    EXPECT_NEAR(t[k].z, r.z, 1e-11) << "sample " << k;
    EXPECT_NEAR(t[k].xp, r.vx, 1e-14) << "sample " << k;
    EXPECT_NEAR(t[k].yp, r.vy, 1e-14) << "sample " << k;
    EXPECT_NEAR(t[k].zp, r.vz, 1e-14) << "sample " << k;
  }
}

TEST(Planet2Table, CircularOrbitKeepsRadiusAndSpeed) {
  PlanetarySystem sys = sample_system();
  sys.planet2.ex = 0;
  const OrbitSetup s = setup_orbits(sys, {3.0, 2.0});
  const double speed = s.planet2.n * 6.8;
  for (const Planet2Sample& x : tabulate_planet2(s.planet2, 2.0, s.ipasos)) {
    ASSERT_NEAR(std::hypot(x.x, x.y, x.z), 6.8, 4e-15 * 6.8);
    ASSERT_NEAR(std::hypot(x.xp, x.yp, x.zp), speed, 4e-15 * speed);
  }
}

}  // namespace
}  // namespace tandem
