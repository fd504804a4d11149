#include "orbit/kepler.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <sstream>
#include <string>

#include "orbit/constants.hpp"
#include "support/exact.hpp"

namespace tandem {
namespace {

using testing::same;

std::string show(double ex, double m, const KeplerSolution& s) {
  std::ostringstream out;
  out << std::setprecision(17) << "ex=" << ex << " m=" << m << " -> E=" << s.e
      << " niter=" << s.niter;
  return out.str();
}

// |E - ex*sin E - M|: how well E solves Kepler's equation.
double residual(double ex, double m, double e) {
  return std::fabs(e - ex * std::sin(e) - m);
}

TEST(Kepler, ReturnsTheStartValueWhenItIsAlreadyTheRoot) {
  // With ex = 0 the correction is exactly 0; with m = 0 or m = pi, sin(m) is 0 or far
  // below half an ulp of m, so E - ex*sin E rounds back to M and the first change is 0.
  for (const double m : {-6.0, -1.0, 0.0, 0.3, 2.5, 6.2}) {
    const KeplerSolution s = solkep(0.0, m);
    EXPECT_TRUE(same(s.e, m)) << show(0.0, m, s);
    EXPECT_EQ(s.niter, 1) << show(0.0, m, s);
  }
  for (const double ex : {0.0, 0.1, 0.5, 0.9, 0.999}) {
    const KeplerSolution at_zero = solkep(ex, 0.0);
    EXPECT_TRUE(same(at_zero.e, 0.0)) << show(ex, 0.0, at_zero);
    EXPECT_EQ(at_zero.niter, 1) << show(ex, 0.0, at_zero);
    const KeplerSolution at_pi = solkep(ex, pi);
    EXPECT_TRUE(same(at_pi.e, pi)) << show(ex, pi, at_pi);
    EXPECT_EQ(at_pi.niter, 1) << show(ex, pi, at_pi);
  }
}

struct Example {
  double ex;
  double m;
  double e;  // the root, known to about 1e-15
  int niter;
};

TEST(Kepler, WorkedExamplesGiveTheRootAndIterationCount) {
  const Example examples[] = {
      {0.5, 1.0, 1.498701133517848, 4},
      {0.5, -1.0, -1.498701133517848, 4},
      {0.9, 0.5, 1.3844127202021626, 6},
      {0.1, -6.0, -5.969105895165414, 3},  // stays negative, not moved into 0..2*pi
  };
  for (const Example& x : examples) {
    const KeplerSolution s = solkep(x.ex, x.m);
    EXPECT_NEAR(s.e, x.e, 2e-15) << show(x.ex, x.m, s);
    EXPECT_EQ(s.niter, x.niter) << show(x.ex, x.m, s);
    EXPECT_LE(residual(x.ex, x.m, s.e), 2e-15) << show(x.ex, x.m, s);
  }
}

TEST(Kepler, ResultIsOddInTheMeanAnomaly) {
  // Every operation of the step commutes with a change of sign, bit for bit.
  for (const double ex : {0.05, 0.5, 0.95}) {
    for (const double m : {0.1, 1.0, 3.0, 5.5, 6.28}) {
      const KeplerSolution plus = solkep(ex, m);
      const KeplerSolution minus = solkep(ex, -m);
      EXPECT_TRUE(same(minus.e, -plus.e)) << show(ex, m, plus) << " vs " << show(ex, -m, minus);
      EXPECT_EQ(minus.niter, plus.niter) << show(ex, m, plus);
    }
  }
}

TEST(Kepler, ModerateEccentricitiesNeedFewIterations) {
  // At most 7 iterations for e <= 0.9 and 8 for e <= 0.98 over the whole range of M,
  // and the root is then accurate to rounding (1e-12 change bound, quadratic step).
  for (const double ex : {0.0, 0.1, 0.3, 0.5, 0.7, 0.8, 0.9, 0.95, 0.98}) {
    const int bound = ex <= 0.9 ? 7 : 8;
    for (int k = -2000; k <= 2000; ++k) {
      const double m = twopi * k / 2001.0;
      const KeplerSolution s = solkep(ex, m);
      ASSERT_LE(s.niter, bound) << show(ex, m, s);
      ASSERT_LE(residual(ex, m, s.e), 1e-14) << show(ex, m, s);
    }
  }
}

TEST(Kepler, RepeatingIteratesStillEndAtTheRoot) {
  // Here 1 - e*cos E is about 6e-4 at the root, so one ulp of E - e*sin E (8.9e-16) is
  // worth 1.4e-12 in E: the plain iteration alternates for ever between two values. The
  // answer must still solve the equation to rounding and lie in [M - e, M + e].
  const double ex = 0.9999;
  const double m = 6.2831765821795864;
  const KeplerSolution s = solkep(ex, m);
  EXPECT_LT(s.niter, 1000) << show(ex, m, s);
  EXPECT_LE(residual(ex, m, s.e), 4e-15) << show(ex, m, s);
  EXPECT_GE(s.e, m - ex);
  EXPECT_LE(s.e, m + ex);
}

TEST(Kepler, IterationBoundHandsOverToBisection) {
  // e = 0.99 near M = 0 needs several hundred iterations; with a bound of 50 the root is
  // found by bisection and agrees with the converged iteration within its 1e-12 test.
  const double ex = 0.99;
  const double m = -0.088655301407796913;
  const KeplerSolution full = solkep(ex, m);
  ASSERT_GT(full.niter, 50) << show(ex, m, full);
  const KeplerSolution cut = solkep_bounded(ex, m, 50);
  EXPECT_GT(cut.niter, 50) << show(ex, m, cut);
  EXPECT_LE(residual(ex, m, cut.e), 2e-16) << show(ex, m, cut);
  EXPECT_NEAR(cut.e, full.e, 1e-12) << show(ex, m, cut) << " vs " << show(ex, m, full);
}

TEST(Kepler, ParabolicLimitAtZeroGivesNotANumberAtOnce) {
  // ex = 1, m = 0: the first correction is 0/0; the NaN change ends the iteration.
  const KeplerSolution s = solkep(1.0, 0.0);
  EXPECT_TRUE(std::isnan(s.e)) << show(1.0, 0.0, s);
  EXPECT_EQ(s.niter, 1);
}

}  // namespace
}  // namespace tandem
