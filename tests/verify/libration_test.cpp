#include "verify/libration.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "orbit/constants.hpp"

namespace tandem::nbody {
namespace {

struct Series {
  std::vector<double> t;
  std::vector<double> s;
};

Series sampled(double duration, int points, const std::function<double(double)>& f) {
  Series out;
  for (int j = 0; j < points; ++j) {
    const double t = duration * j / (points - 1);
    out.t.push_back(t);
    out.s.push_back(f(t));
  }
  return out;
}

TEST(Libration, PendulumAboutADriftingCentre) {
  // Period 150 with an anharmonic second term, amplitude 5 about a centre at 60 that wanders
  // by 8 degrees and back over 2000 (slower than a libration, faster than a straight line),
  // plus a wiggle of period 3 the smoothing left: the period within 0.5 per cent.
  const auto f = [](double t) {
    return 60 + 4 * std::sin(twopi * t / 2000) + 5 * std::cos(twopi * t / 150) +
           0.4 * std::cos(2 * twopi * t / 150) + 0.2 * std::sin(twopi * t / 3);
  };
  const Series x = sampled(750, 4000, f);
  const LibrationFit fit = fit_libration(x.t, x.s, 140.0);  // the model's guess, 7% short
  EXPECT_TRUE(fit.librates);
  EXPECT_NEAR(fit.period, 150, 0.75);
  EXPECT_GE(fit.librations, 3);
  EXPECT_NEAR(fit.centre, 60 + 4 * std::sin(twopi * 375 / 2000), 1.0);
  EXPECT_NEAR(fit.amplitude, 5.2, 0.5);
  EXPECT_GT(fit.drift, 1.0);
}

TEST(Libration, CirculationSweepsAFullTurn) {
  // sigma falls by 400 degrees, with a libration-like ripple on the way.
  const Series x =
      sampled(1000, 2000, [](double t) { return 10 - 0.4 * t + 20 * std::sin(twopi * t / 90); });
  const LibrationFit fit = fit_libration(x.t, x.s, 90.0);
  EXPECT_FALSE(fit.librates);
  EXPECT_TRUE(std::isnan(fit.centre));
  EXPECT_TRUE(std::isnan(fit.period));
}

TEST(Libration, ShortRunGivesRangeButNoPeriod) {
  // Less than one libration: the middle and half of the range, no period.
  const Series x = sampled(60, 300, [](double t) { return 200 + 30 * std::cos(twopi * t / 150); });
  const LibrationFit fit = fit_libration(x.t, x.s, 150.0);
  EXPECT_TRUE(fit.librates);
  EXPECT_TRUE(std::isnan(fit.period));
  EXPECT_EQ(fit.librations, 0);
  const double lowest = 200 + 30 * std::cos(twopi * 60 / 150);
  EXPECT_NEAR(fit.centre, (230 + lowest) / 2, 1e-9);
  EXPECT_NEAR(fit.amplitude, (230 - lowest) / 2, 1e-9);
}

TEST(Libration, PeriodFarFromTheGuessIsStillFound) {
  // The real libration is 2.6 times the model's period and the run holds some 2.3 of them:
  // the first running mean is formed over far too short a window, and still leads to it.
  const Series x = sampled(1800, 3000, [](double t) { return 12 + 3 * std::sin(twopi * t / 780); });
  const LibrationFit fit = fit_libration(x.t, x.s, 300.0);
  EXPECT_NEAR(fit.period, 780, 4.0);
  EXPECT_NEAR(fit.centre, 12, 0.3);
}

}  // namespace
}  // namespace tandem::nbody
