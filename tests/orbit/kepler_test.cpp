#include "orbit/kepler.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "orbit/constants.hpp"
#include "support/exact.hpp"

namespace tandem {
namespace {

using testing::digits17;
using testing::same;

// |E - ex*sin E - M|: how well E solves Kepler's equation.
double residual(double ex, double m, double e) {
  return std::fabs(e - ex * std::sin(e) - m);
}

TEST(Kepler, StartValueThatIsAlreadyTheRootEndsAfterOneIteration) {
  // ex = 0 makes the correction 0; at m = 0 and m = pi, sin(m) is 0 or far below half an
  // ulp of m, so E - ex*sin E rounds back to M.
  const double cases[][2] = {{0.0, -6.0},  {0.0, 2.5}, {0.0, 0.0}, {0.5, 0.0},
                             {0.999, 0.0}, {0.0, pi},  {0.5, pi},  {0.999, pi}};
  for (const auto& [ex, m] : cases) {
    const KeplerSolution s = solkep(ex, m);
    EXPECT_TRUE(same(s.e, m)) << "ex=" << ex;
    EXPECT_EQ(s.niter, 1) << "ex=" << ex << " m=" << digits17(m);
  }
}

TEST(Kepler, WorkedExamplesGiveTheRootAndIterationCount) {
  struct Example {
    double ex, m, e;  // e: the root, known to about 1e-15
    int niter;
  };
  const Example examples[] = {{0.5, 1.0, 1.498701133517848, 4},
                              {0.5, -1.0, -1.498701133517848, 4},  // odd in M
                              {0.9, 0.5, 1.3844127202021626, 6},
                              {0.1, -6.0, -5.969105895165414, 3}};  // stays negative
  for (const Example& x : examples) {
    const KeplerSolution s = solkep(x.ex, x.m);
    EXPECT_NEAR(s.e, x.e, 2e-15) << "ex=" << x.ex << " m=" << x.m;
    EXPECT_EQ(s.niter, x.niter) << "ex=" << x.ex << " m=" << x.m;
  }
  EXPECT_TRUE(same(solkep(0.95, -5.5).e, -solkep(0.95, 5.5).e));  // bit for bit
}

TEST(Kepler, EndsAtTheRootWhenTheIterationWouldNot) {
  // Here 1 - e*cos E is 6e-4 at the root, so one ulp of E - e*sin E (8.9e-16) is worth
  // 1.4e-12 in E: the plain iteration alternates for ever between two values.
  const double ex = 0.9999;
  const double m = 6.2831765821795864;
  const KeplerSolution s = solkep(ex, m);
  EXPECT_LT(s.niter, 1000);
  EXPECT_LE(residual(ex, m, s.e), 4e-15) << digits17(s.e);
  // e = 0.99 near M = 0 needs 570 iterations; cut at 50, bisection finds the same root.
  const double m2 = -0.088655301407796913;
  const KeplerSolution full = solkep_bounded(0.99, m2, 1'000'000);
  const KeplerSolution cut = solkep_bounded(0.99, m2, 50);
  ASSERT_EQ(full.niter, 570);
  EXPECT_GT(cut.niter, 50);
  EXPECT_LE(residual(0.99, m2, cut.e), 2e-16) << digits17(cut.e);
  EXPECT_NEAR(cut.e, full.e, 1e-12);
  EXPECT_TRUE(same(solkep(0.99, m2).e, cut.e)) << "the bound of solkep lies below 50";
}

// Near e = 1 a step can divide by 1 - e*cos E = 0: its result is not finite, and the
// plain iteration would return NaN (here after 40204 steps). At the largest eccentricity
// below 1, anomalies near 0 and near +-2*pi make the iteration creep or jump.
TEST(Kepler, FiniteRootUpToTheLargestEccentricityBelowOne) {
  const double e_top = std::nextafter(1.0, 0.0);
  const double cases[][2] = {{0.999999, -6.2826198205019397},
                             {e_top, -6.2826198205019397},
                             {e_top, 1e-300},
                             {e_top, -3e-9},
                             {e_top, std::nextafter(twopi, 0.0)},
                             {e_top, 0.5},
                             {0.9999, 6.2831765821795864}};
  for (const auto& [ex, m] : cases) {
    const KeplerSolution s = solkep(ex, m);
    ASSERT_TRUE(std::isfinite(s.e)) << "ex=" << digits17(ex) << " m=" << digits17(m);
    EXPECT_LE(residual(ex, m, s.e), 4e-15) << "ex=" << digits17(ex) << " m=" << digits17(m);
    EXPECT_LT(s.niter, 2000) << "ex=" << digits17(ex) << " m=" << digits17(m);
  }
}

// The iteration as stated for the solver, without any bound: start E = M, stop when the
// change is no more than 1e-12. Gives up (niter 0) after `limit` steps.
KeplerSolution plain_iteration(double ex, double m, int limit) {
  double e = m;
  for (int niter = 1; niter <= limit; ++niter) {
    const double e0 = e;
    const double se = std::sin(e0);
    const double ce = std::cos(e0);
    const double es = ex * se;
    const double ec = 1 - ex * ce;
    const double mk = e0 - es;
    const double u = (mk - m) / ec;
    const double xpri = e0 - u;
    const double xseg = e0 - u / (1 - u * es);
    e = (xpri + xseg) / 2;
    if (!(std::fabs(e - e0) > 1e-12)) {
      return {e, niter};
    }
  }
  return {e, 0};
}

// Wherever the plain iteration ends within the bound, the solver returns its very result.
TEST(Kepler, PlainIterationKeptBitForBitWhereItEnds) {
  int compared = 0, cut = 0;
  for (const double ex : {0.0, 0.05, 0.3, 0.6, 0.9, 0.98, 0.99, 0.999, 0.999999}) {
    for (int k = -2000; k <= 2000; ++k) {
      const double m = std::nextafter(twopi, 0.0) * (k / 2000.0);
      const KeplerSolution plain = plain_iteration(ex, m, 32);
      const KeplerSolution s = solkep(ex, m);
      if (plain.niter == 0) {
        ++cut;
        EXPECT_LE(residual(ex, m, s.e), 4e-15) << "ex=" << ex << " m=" << digits17(m);
        continue;
      }
      ++compared;
      ASSERT_TRUE(same(s.e, plain.e)) << "ex=" << ex << " m=" << digits17(m);
      ASSERT_EQ(s.niter, plain.niter) << "ex=" << ex << " m=" << digits17(m);
    }
  }
  EXPECT_GT(cut, 0) << "no anomaly reached bisection";
  EXPECT_GT(compared, 30000);
}

}  // namespace
}  // namespace tandem
