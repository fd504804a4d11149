// The planets at a body's epoch: the built-in table with its rates, and two-body motion.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tandem/bodies.hpp"

namespace tandem {
namespace {

TEST(StandardPlanets, NeptuneAtTheEpochOfDistantTxt) {
  // T = (2458600.5 - 2451545)/36525 centuries; the table's a + da*T, L - peri, peri - node,
  // node, evaluated by hand (Python) from Standish's Table 1.
  const auto planets = planets_at(standard_planets(), 2458600.5);
  ASSERT_EQ(planets.size(), 8u);
  const Body& n = planets[7];
  EXPECT_EQ(n.name, "Neptune");
  EXPECT_NEAR(n.a, 30.069973546078167, 1e-12);
  EXPECT_NEAR(n.mean_anomaly, 302.1770963055, 1e-8);
  EXPECT_NEAR(n.argperi, 273.1192385778, 1e-7);
  EXPECT_NEAR(n.node, 131.7832431585, 1e-7);
  EXPECT_NEAR(*n.mass, 1 / 19412.24, 1e-20);
  EXPECT_NEAR(*planets[4].mass, 1 / 1047.3486, 1e-18);  // Jupiter
}

TEST(TwoBodyPropagation, GaussianDayAndPlanetsFile) {
  // At a = 1 au about one solar mass the mean motion is k = 0.01720209895 rad/day,
  // 0.98560767 degrees per day.
  Body b{"x", 2451545.0, 1.0, 0.1, 1.0, 10.0, 20.0, 359.5, {}};
  const Body later = propagate(b, 1.0, 2451546.0);
  EXPECT_NEAR(later.mean_anomaly, 359.5 + 0.9856076686 - 360, 1e-9);
  EXPECT_EQ(later.epoch_jd, 2451546.0);

  std::istringstream file(
      "name,epoch_jd,a_au,e,i_deg,node_deg,argperi_deg,mean_anomaly_deg,mass_msun\n"
      "outer,2451545,4,0,0,0,0,0,1e-3\ninner,2451545,1,0,0,0,0,0,0\n");
  const Planets p = read_planets(file, 1.0);
  ASSERT_EQ(p.planets.size(), 2u);
  EXPECT_EQ(p.planets[0].name, "inner");  // in increasing a
  // One period of the outer planet about 1.001 M_sun later, it is back where it started.
  const double period = 2 * 3.141592653589793 * 8 / (0.01720209895 * std::sqrt(1.001));
  const auto at = planets_at(p, 2451545 + period);
  EXPECT_NEAR(std::remainder(at[1].mean_anomaly, 360.0), 0.0, 1e-9);
  std::istringstream massless(
      "name,epoch_jd,a_au,e,i_deg,node_deg,argperi_deg,mean_anomaly_deg\nx,0,1,0,0,0,0,0\n");
  EXPECT_THROW(read_planets(massless, 1.0), BodiesError);
}

}  // namespace
}  // namespace tandem
