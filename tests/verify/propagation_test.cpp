#include "verify/propagation.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "orbit/constants.hpp"
#include "verify/critical_angle.hpp"
#include "verify/three_body.hpp"

namespace tandem::nbody {
namespace {

constexpr double no_limit = 1e300;

Limits open_limits() {
  return {1e-13, 0.0, no_limit, 100'000'000};
}

// A Jupiter-mass and a Saturn-mass planet near 5:2, eccentric and inclined, in units of
// the outer semi-major axis and its 1/n.
struct Pair {
  ThreeBody sys =
      three_body(1.0, 9.5e-4, 2.9e-4, {9.5, std::pow(9.5, 1.5) / kgaus / std::sqrt(1.00029)});
  PhaseState start = phase_of(
      sys, {state_from_elements({0.55, 0.05, 1.3 * g2r, 100 * g2r, 15 * g2r, 0.3}, sys.mu1()),
            state_from_elements({1.0, 0.06, 2.5 * g2r, 113 * g2r, 90 * g2r, 2.0}, sys.mu2())});
};

TEST(Propagation, CanonicalVariablesConvertBothWays) {
  const Pair p;
  const PhaseState back = phase_of(p.sys, canonical_of(p.sys, p.start));
  for (int k = 0; k < 12; ++k) {
    EXPECT_NEAR(back[k], p.start[k], 1e-15) << "component " << k;
  }
}

TEST(Propagation, TwoBodyOrbitKeepsItsElements) {
  // Without planet 2's mass, planet 1 is alone with the star: an ellipse whose elements stay,
  // its mean longitude advancing by n t, over 200 orbits. Planet 2 is a test particle far out.
  const ThreeBody sys = three_body(1.0, 1e-3, 0.0, {1.0, 1.0 / kgaus});
  const Elements el{1.0, 0.3, 20 * g2r, 40 * g2r, 70 * g2r, 0.1};
  const KeplerState far{{30, 0, 0}, {0, 0.1, 0}};
  const PhaseState y = phase_of(sys, {state_from_elements(el, sys.mu1()), far});
  Propagator run(sys, y, open_limits());
  const double n = std::sqrt(sys.mu1());
  const double t = 200 * twopi / n + 1.0;
  ASSERT_EQ(run.advance_to(t), StopReason::completed);
  EXPECT_EQ(run.time(), t);
  const Elements got = osculating_of(sys, run.state()).planet1;
  // Some 3e4 steps of error 1e-13 each: the shape to 1e-10, the phase to a few 1e-8.
  EXPECT_NEAR(got.a, el.a, 1e-10);
  EXPECT_NEAR(got.e, el.e, 1e-10);
  EXPECT_NEAR(got.i, el.i, 1e-12);
  EXPECT_NEAR(got.node, el.node, 1e-12);
  EXPECT_NEAR(wrap_pi(got.peri - el.peri), 0.0, 1e-9);
  EXPECT_NEAR(wrap_pi(got.lambda - (el.lambda + n * t)), 0.0, 3e-8);
}

TEST(Propagation, EnergyAndAngularMomentumHoldForward) {
  // 100 orbits of the outer planet, then back to the start.
  const Pair p;
  Propagator run(p.sys, p.start, open_limits());
  ASSERT_EQ(run.advance_to(100 * twopi), StopReason::completed);
  EXPECT_LT(run.energy_error(), 1e-11);
  EXPECT_LT(run.angular_momentum_error(), 1e-11);
  ASSERT_EQ(run.advance_to(0.0), StopReason::completed);
  // Run back, it comes home: the error of a step does not grow with the run.
  for (int k = 0; k < 12; ++k) {
    EXPECT_NEAR(run.state()[k], p.start[k], 1e-7) << "component " << k;
  }
}

TEST(Propagation, StopsAtCloseEncountersEnergyDriftAndTheStepLimit) {
  const Pair p;
  const double apart = separation(p.start);
  Limits near = open_limits();
  near.close_distance = apart * 1.0001;
  Propagator a(p.sys, p.start, near);
  EXPECT_EQ(a.advance_to(1.0), StopReason::close_encounter);
  EXPECT_EQ(a.steps(), 1);

  Limits strict = open_limits();
  strict.max_energy_error = 1e-30;
  strict.tolerance = 1e-6;
  Propagator b(p.sys, p.start, strict);
  EXPECT_EQ(b.advance_to(50.0), StopReason::energy_drift);

  Limits few = open_limits();
  few.max_steps = 10;
  Propagator c(p.sys, p.start, few);
  EXPECT_EQ(c.advance_to(1000.0), StopReason::step_limit);
  EXPECT_EQ(c.steps(), 10);
}

}  // namespace
}  // namespace tandem::nbody
