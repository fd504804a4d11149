#include "nbody/barycentric.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "orbit/constants.hpp"

namespace tandem::nbody {
namespace {

// A star of 1 M_sun, an inner planet of 1e-3 M_sun at (1, 0, 0) au moving at
// (0, 0.017, 0) au/day, an outer one of 5e-4 M_sun at (0, 10, 0): the star carries the
// inner one only. By hand, the centre lies at 1e-3/1.001 au on x and moves at
// 1.7e-5/1.001 au/day on y; the outer planet moves nothing.
const std::vector<MassiveBody> planets = {
    {1e-3, {{1, 0, 0}, {0, 0.017, 0}}},
    {5e-4, {{0, 10, 0}, {-0.005, 0, 0}}},
};

TEST(Barycentric, CentreCarriesOnlyThePlanetsInside) {
  const std::vector<double> a = {1, 10};
  const std::vector<bool> integrated = {false, false};
  const std::vector<bool> merged = planets_inside(a, integrated, 30);
  EXPECT_EQ(merged, (std::vector<bool>{true, true}));
  const std::vector<bool> only_inner = planets_inside(a, integrated, 5);
  EXPECT_EQ(only_inner, (std::vector<bool>{true, false}));
  // An integrated planet is never merged, however far inside.
  EXPECT_EQ(planets_inside(a, std::vector<bool>{true, false}, 30),
            (std::vector<bool>{false, true}));

  const std::vector<bool> inner_only = {true, false};
  const Centre c = merged_centre(1.0, planets, inner_only);
  EXPECT_EQ(c.mass, 1.001);
  EXPECT_NEAR(c.state.pos.x, 9.99000999000999e-4, 1e-18);
  EXPECT_EQ(c.state.pos.y, 0.0);
  EXPECT_NEAR(c.state.vel.y, 1.6983016983016983e-5, 1e-20);
  EXPECT_EQ(c.state.vel.x, 0.0);

  const KeplerState body = about_centre(c, {{30, 0, 0}, {0, 0.003, 0}});
  EXPECT_NEAR(body.pos.x, 29.999000999000999, 1e-14);
  EXPECT_NEAR(body.vel.y, 0.003 - 1.6983016983016983e-5, 1e-18);
}

// A body on a heliocentric circle of 30 au at mean longitude 0, in the plane: about the
// centre it sits at x = 30 - 1e-3/1.001 moving at v = sqrt(k^2/30) - 1.7e-5/1.001 along y,
// perpendicular to its radius, so that with mu = k^2*1.001 vis-viva gives
// a = 1/(2/x - v^2/mu) and the eccentricity is |x*v^2/mu - 1|, perihelion or aphelion on
// the x axis.
TEST(Barycentric, ElementsAboutTheCentreByVisViva) {
  const std::vector<bool> inner_only = {true, false};
  const Centre c = merged_centre(1.0, planets, inner_only);
  const Elements helio{30, 0, 0, 0, 0, 0};
  const Elements el = elements_about_centre(helio, 1.0, 0.0, c);

  const double x = 30 - 1e-3 / 1.001;
  const double v = std::sqrt(kg2 / 30) - 1.7e-5 / 1.001;
  const double mu = kg2 * 1.001;
  EXPECT_NEAR(el.a, 1 / (2 / x - v * v / mu), 1e-11);
  EXPECT_NEAR(el.e, std::fabs(x * v * v / mu - 1), 1e-13);
  // Here v^2 x/mu < 1: the body is at aphelion, perihelion on the far side of the star.
  EXPECT_LT(x * v * v / mu, 1.0);
  EXPECT_NEAR(std::fabs(wrap_pi(el.peri - pi)), 0.0, 1e-9);
  // The star's mass grew by a thousandth and it moved: the barycentric a differs from
  // the heliocentric by far more than rounding.
  EXPECT_GT(std::fabs(el.a - 30), 0.01);
}

}  // namespace
}  // namespace tandem::nbody
