#include "tandem/verify.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <limits>
#include <numbers>
#include <stdexcept>

#include "tandem/tandem.hpp"
#include "verify/angle_reduction.hpp"

namespace tandem {
namespace {

constexpr double kgaus = 0.01720209895;

// A Trojan of Jupiter's on circular orbits in one plane: the restricted problem, whose
// small tadpoles about L4 and L5 (sigma = +-60 degrees) last 2*pi/(n*sqrt(27*mu/4)).
System circular_trojan() {
  return {1.0, {5.2, 0, 0, 0, 0, 1e-10}, {5.2, 0, 0, 0, 0, 9.5e-4}};
}

double restricted_period_years() {
  const double m = 9.5e-4;
  const double n = kgaus * std::sqrt(1 + m) / std::pow(5.2, 1.5);
  return 2 * std::numbers::pi / (n * std::sqrt(27 * (m / (1 + m)) / 4)) / 365.25;  // 148.08 years
}

TEST(Verify, TrojanTadpolesHaveTheRestrictedProblemsPeriod) {
  const Result res = solve(circular_trojan(), {1, 1});
  const double theory = restricted_period_years();
  const auto started = std::chrono::steady_clock::now();
  const std::vector<Verification> got = verify(res);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  ASSERT_EQ(got.size(), 2u);
  for (const Verification& v : got) {
    SCOPED_TRACE(v.sigma_deg);
    EXPECT_NEAR(std::fabs(v.sigma_deg - 180), 120, 1e-9);          // L4 at 60, L5 at 300
    EXPECT_NEAR(v.predicted_period_years, theory, 0.01 * theory);  // the model
    EXPECT_EQ(v.verdict, Verdict::confirmed);
    EXPECT_EQ(v.stop, StopReason::completed);
    EXPECT_TRUE(v.start_converged);
    EXPECT_NEAR(v.measured_period_years, theory, 0.02 * theory);  // the real motion
    EXPECT_LT(std::fabs(v.centre_offset_deg), 1.0);
    EXPECT_NEAR(v.amplitude_deg, 5.0, 1.0);  // started at a turning point 5 degrees out
    EXPECT_GE(v.librations, 3);
    EXPECT_LT(v.energy_error, 1e-9);
    EXPECT_GE(v.duration_years, 5 * v.predicted_period_years);
  }
  EXPECT_LT(seconds, 10.0);
}

TEST(Verify, StablePointInsideACloseEncounterBandIsNotConfirmed) {
  // The bundled Trojan: the dip at sigma = 0, where the asteroid passes Jupiter.
  const InputFile in =
      read_input(std::filesystem::path(TANDEM_SOURCE_DIR) / "examples/trojan-1-1/tandem.inp");
  const Result res = solve(in.system, {1, 1});
  const std::vector<Verification> got = verify(res);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].sigma_deg, 0);
  EXPECT_EQ(got[0].verdict, Verdict::not_confirmed);
  EXPECT_EQ(got[0].stop, StopReason::close_encounter);
  EXPECT_LT(got[0].min_distance_hill, 3.0);
  for (const Verification& v : {got[1], got[2]}) {
    EXPECT_EQ(v.verdict, Verdict::confirmed) << v.sigma_deg;
  }
}

TEST(Verify, UnstablePointIsLeftAtOnce) {
  // Five degrees off L3 the asteroid slides into a wide tadpole about L5, never back.
  const Result res = solve(circular_trojan(), {1, 1});
  const Verification v = verify_at(res, 180.0);
  EXPECT_NE(v.verdict, Verdict::confirmed);
  EXPECT_GT(v.amplitude_deg, 30.0);
  EXPECT_GT(std::fabs(v.centre_offset_deg), 30.0);
}

TEST(Verify, CycleAveragedStartHalvesTheAmplitudeOfAMassivePair) {
  // The giant pair in 2:1: started from the computation's elements taken as osculating, it
  // swings about twice as wide as from the start whose cycle averages are those elements.
  const InputFile in =
      read_input(std::filesystem::path(TANDEM_SOURCE_DIR) / "examples/giant-pair-2-1/tandem.inp");
  const Result res = solve(in.system, {2, 1});
  VerifyOptions raw;
  raw.max_iterations = 0;
  const std::vector<Verification> fitted = verify(res);
  const std::vector<Verification> osculating = verify(res, raw);
  ASSERT_EQ(fitted.size(), 1u);
  ASSERT_EQ(osculating.size(), 1u);
  EXPECT_TRUE(fitted[0].start_converged);
  EXPECT_FALSE(osculating[0].start_converged);
  EXPECT_GT(osculating[0].amplitude_deg, 1.6 * fitted[0].amplitude_deg);
  EXPECT_EQ(fitted[0].verdict, Verdict::confirmed);
}

TEST(Verify, SeriesAndRefusals) {
  const Result res = solve(circular_trojan(), {1, 1});
  VerifyOptions o;
  o.keep_series = true;
  o.periods = 1;
  const Verification v = verify_at(res, 60, o);
  ASSERT_GT(v.series.size(), 10u);
  EXPECT_NEAR(v.series.front().smoothed_deg, 65, 0.5);  // the start, smoothed
  EXPECT_LT(v.series.back().t_years, v.duration_years);
  // Whole resonance numbers only, and sensible options.
  Result odd = res;
  odd.resonance = {1.5, 1};
  EXPECT_THROW(verify(odd), std::invalid_argument);
  o.periods = 0;
  EXPECT_THROW(verify(res, o), std::invalid_argument);
  EXPECT_THROW(verify_at(res, std::nan("")), std::invalid_argument);
}

TEST(Verify, AnglesOfAnySizeAreTheAnglesTheyStandFor) {
  // The residues against the C library's fmod, which is exact.
  for (const double x : {0.0, 359.5, 360.0, -7.5, 1e17, -1e17, 1e22, 1e62, 1e308, -1e308,
                         std::numeric_limits<double>::max(), -0x1p-1074}) {
    const double r = std::fmod(x, 360.0);
    const double shifted = r < 0 ? r + 360 : r;  // rounds to 360 for the tiniest negative
    EXPECT_EQ(nbody::reduce_degrees(x), shifted == 360 ? 0 : shifted) << x;
    EXPECT_EQ(nbody::reduce_degrees_signed(x), std::remainder(x, 360.0)) << x;
  }
  // The check sees the angle, whatever the size of the number that names it.
  const Result res = solve(circular_trojan(), {1, 1});
  VerifyOptions o;
  o.periods = 2;
  const Verification huge = verify_at(res, 1e308, o);
  const Verification plain = verify_at(res, std::fmod(1e308, 360.0), o);
  EXPECT_EQ(huge.sigma_deg, plain.sigma_deg);
  EXPECT_EQ(huge.verdict, plain.verdict);
  EXPECT_EQ(huge.predicted_period_years, plain.predicted_period_years);  // same grid point
  EXPECT_EQ(huge.duration_years, plain.duration_years);
  o.offset_deg = 1e308;
  const Verification far_off = verify_at(res, 60, o);
  o.offset_deg = std::remainder(1e308, 360.0);
  EXPECT_EQ(far_off.start_sigma_deg, verify_at(res, 60, o).start_sigma_deg);
}

TEST(Verify, ARunCutByTheStepLimitIsSampledOverWhatItReached) {
  // A hundred thousand librations asked for, some 1200 reached: the points kept span the
  // stretch reached (thinned once on the way) and resolve each libration.
  const Result res = solve(circular_trojan(), {1, 1});
  VerifyOptions o;
  o.periods = 1e5;
  o.max_steps = 2'000'000;
  const Verification v = verify_at(res, 60, o);
  EXPECT_EQ(v.stop, StopReason::step_limit);
  EXPECT_GT(v.librations, 500);
  EXPECT_NEAR(v.measured_period_years, restricted_period_years(), 0.02 * restricted_period_years());
  EXPECT_EQ(v.verdict, Verdict::confirmed);
}

}  // namespace
}  // namespace tandem
