#include "verify/osculating.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "orbit/constants.hpp"

namespace tandem::nbody {
namespace {

double angle_gap(double x, double y) {
  return std::fabs(wrap_pi(x - y));
}

// Eccentric and inclined, prograde and retrograde, and the planes where node or
// perihelion lose their meaning; mu in au^3/day^2 for the Sun.
TEST(Osculating, ElementsRoundTripThroughTheState) {
  const double mu = kg2;
  const Elements cases[] = {
      {5.2, 0.048, 1.3 * g2r, 100.5 * g2r, 14.7 * g2r, 2.0},
      {0.13, 0.6, 40 * g2r, -20 * g2r, 170 * g2r, -3.0},
      {1.0, 0.3, 120 * g2r, 75 * g2r, -60 * g2r, 0.5},  // retrograde
      {2.0, 0.2, 0.0, 0.0, 50 * g2r, 1.0},              // in the reference plane
  };
  for (const Elements& el : cases) {
    const Elements back = elements_from_state(state_from_elements(el, mu), mu);
    EXPECT_NEAR(back.a, el.a, 1e-13 * el.a);
    EXPECT_NEAR(back.e, el.e, 1e-13);
    EXPECT_NEAR(back.i, el.i, 1e-13);
    if (el.i != 0) {
      EXPECT_LT(angle_gap(back.node, el.node), 1e-13);
    }
    EXPECT_LT(angle_gap(back.peri, el.peri), 1e-12);
    EXPECT_LT(angle_gap(back.lambda, el.lambda), 1e-12);
  }
  // A circle has no perihelion; lambda is still the longitude of the body.
  const Elements circle{3.0, 0.0, 10 * g2r, 30 * g2r, 0.7, 1.2};
  const Elements back = elements_from_state(state_from_elements(circle, mu), mu);
  EXPECT_LT(back.e, 1e-15);
  EXPECT_LT(angle_gap(back.lambda, 1.2), 1e-13);
}

TEST(Osculating, StateObeysTheKeplerIntegrals) {
  // vis-viva v^2 = mu (2/r - 1/a) and |r x v| = sqrt(mu a (1 - e^2)); at lambda = peri the
  // body is at perihelion, r = a (1 - e).
  const double mu = 2.5;
  const Elements el{1.7, 0.4, 25 * g2r, 60 * g2r, 95 * g2r, 95 * g2r};
  const KeplerState s = state_from_elements(el, mu);
  const double r = std::sqrt(s.pos.x * s.pos.x + s.pos.y * s.pos.y + s.pos.z * s.pos.z);
  const double v2 = s.vel.x * s.vel.x + s.vel.y * s.vel.y + s.vel.z * s.vel.z;
  const double hx = s.pos.y * s.vel.z - s.pos.z * s.vel.y;
  const double hy = s.pos.z * s.vel.x - s.pos.x * s.vel.z;
  const double hz = s.pos.x * s.vel.y - s.pos.y * s.vel.x;
  EXPECT_NEAR(r, 1.7 * 0.6, 1e-14);
  EXPECT_NEAR(v2, mu * (2 / r - 1 / 1.7), 1e-13);
  EXPECT_NEAR(std::sqrt(hx * hx + hy * hy + hz * hz), std::sqrt(mu * 1.7 * (1 - 0.16)), 1e-14);
  // The orbit normal leans by i from the z axis, its node line at 60 degrees.
  EXPECT_NEAR(std::acos(hz / std::sqrt(hx * hx + hy * hy + hz * hz)), 25 * g2r, 1e-14);
  EXPECT_NEAR(std::atan2(hx, -hy), 60 * g2r, 1e-14);
}

TEST(Osculating, UnboundStateHasNoAngles) {
  const KeplerState fast{{1, 0, 0}, {0, 2, 0}};  // v^2 = 4 > 2 mu / r with mu = 1
  const Elements el = elements_from_state(fast, 1.0);
  EXPECT_GT(el.e, 1.0);
  EXPECT_TRUE(std::isnan(el.lambda));
}

}  // namespace
}  // namespace tandem::nbody
