#include "nbody/libration_decision.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "orbit/constants.hpp"

namespace tandem::nbody {
namespace {

// A smoothed phi sampled every 100 years from t = 0 to t_end.
struct Series {
  std::vector<double> t;
  std::vector<double> phi;
};

Series sample(double t_end, const std::function<double(double)>& f) {
  Series s;
  for (double t = 0; t <= t_end + 1e-9; t += 100) {
    s.t.push_back(t);
    s.phi.push_back(f(t));
  }
  return s;
}

double swing(double centre, double amplitude, double period, double t) {
  return centre + amplitude * std::sin(twopi * t / period);
}

TEST(LibrationDecision, LibrationOverTheWholeRunIsResonant) {
  const Series s = sample(100'000, [](double t) { return swing(180, 60, 20'000, t); });
  const LibrationDecision d = decide_libration(s.t, s.phi, 100'000, 18'000, 0.25);
  EXPECT_EQ(d.verdict, NbodyVerdict::resonant);
  EXPECT_EQ(d.fraction, 1.0);
  EXPECT_NEAR(d.centre_deg, 180, 1.0);
  EXPECT_NEAR(d.amplitude_deg, 60, 1.0);
  EXPECT_NEAR(d.period_years, 20'000, 200);
  EXPECT_FALSE(d.low_eccentricity);
  EXPECT_FALSE(d.near_separatrix);
  // Without an expected period the centre line is fitted straight: the same libration.
  const LibrationDecision blind = decide_libration(s.t, s.phi, 100'000, NAN, 0.25);
  EXPECT_EQ(blind.verdict, NbodyVerdict::resonant);
  EXPECT_NEAR(blind.period_years, 20'000, 200);
  // A centre near 0 is reported in 0..360.
  const Series zero = sample(100'000, [](double t) { return swing(-2, 30, 20'000, t); });
  EXPECT_NEAR(decide_libration(zero.t, zero.phi, 100'000, 20'000, 0.2).centre_deg, 358, 1.0);
}

TEST(LibrationDecision, CirculationIsNotResonant) {
  // One turn in 3 000 years, over short-period wiggles of 40 degrees.
  const Series s = sample(100'000, [](double t) { return 360 * t / 3000 + swing(0, 40, 700, t); });
  const LibrationDecision d = decide_libration(s.t, s.phi, 100'000, NAN, 0.2);
  EXPECT_EQ(d.verdict, NbodyVerdict::not_resonant);
  EXPECT_EQ(d.fraction, 0.0);
  EXPECT_TRUE(std::isnan(d.centre_deg));
  EXPECT_TRUE(std::isnan(d.amplitude_deg));
  EXPECT_TRUE(std::isnan(d.period_years));
}

TEST(LibrationDecision, LibrationForPartOfTheRunIsTransient) {
  // Libration about 90 degrees for 40 000 years, then circulation: two windows of five.
  const Series s = sample(100'000, [](double t) {
    return t < 40'000 ? swing(90, 50, 8000, t) : 90 + 360 * (t - 40'000) / 5000;
  });
  const LibrationDecision d = decide_libration(s.t, s.phi, 100'000, NAN, 0.2);
  EXPECT_EQ(d.verdict, NbodyVerdict::transient);
  EXPECT_NEAR(d.fraction, 0.4, 1e-12);  // 2 of 5
  EXPECT_NEAR(d.centre_deg, 90, 2.0);
  EXPECT_NEAR(d.amplitude_deg, 50, 2.0);
  EXPECT_NEAR(d.period_years, 8000, 100);

  // A body that stopped (a close encounter) after 60 000 of 100 000 years librated over
  // what was seen: transient, the windows it never reached counted as circulating.
  const Series cut = sample(60'000, [](double t) { return swing(180, 60, 20'000, t); });
  const LibrationDecision c = decide_libration(cut.t, cut.phi, 100'000, 20'000, 0.2);
  EXPECT_EQ(c.verdict, NbodyVerdict::transient);
  EXPECT_NEAR(c.fraction, 0.6, 1e-12);
}

TEST(LibrationDecision, FlagsWhatTheVerdictCannotBear) {
  const Series wide = sample(100'000, [](double t) { return swing(180, 150, 20'000, t); });
  const LibrationDecision d = decide_libration(wide.t, wide.phi, 100'000, 20'000, 0.04);
  EXPECT_EQ(d.verdict, NbodyVerdict::resonant);
  EXPECT_TRUE(d.near_separatrix);
  EXPECT_TRUE(d.low_eccentricity);
}

}  // namespace
}  // namespace tandem::nbody
