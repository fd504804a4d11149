#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>

#include "verify/series_file.hpp"
#include "verify/table.hpp"

namespace tandem::verify_cli {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

Verification checked() {
  Verification v;
  v.sigma_deg = 60;
  v.start_sigma_deg = 65;
  v.verdict = Verdict::confirmed;
  v.librates = true;
  v.predicted_period_years = 149.7301;
  v.measured_period_years = 148.4988;
  v.period_ratio = v.predicted_period_years / v.measured_period_years;
  v.measured_centre_deg = 60.2295;
  v.centre_offset_deg = 0.2295;
  v.amplitude_deg = 4.956;
  v.centre_drift_deg = 0.18;
  v.librations = 3;
  v.energy_error = 2.19e-12;
  v.series = {{0.5, 64.9, 64.95}, {1.0, 65.1, 64.9}};
  return v;
}

Verification stopped() {
  Verification v;
  v.sigma_deg = 0;
  v.start_sigma_deg = 5;
  v.stop = StopReason::close_encounter;
  v.predicted_period_years = 4.4979;
  v.measured_period_years = v.period_ratio = v.measured_centre_deg = nan;
  v.centre_offset_deg = v.amplitude_deg = v.centre_drift_deg = v.energy_error = nan;
  v.min_distance_hill = 2.33;
  return v;
}

TEST(VerifyProgram, TableRowsAndWhatTheRunDidNotShow) {
  const std::string text = table_text({"trojan.inp: a Trojan", {1, 1}, {}}, {stopped(), checked()});
  std::istringstream lines(text);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "Resonance 1:1, sigma = 1 lambda1 - 1 lambda2   (trojan.inp: a Trojan)");
  std::getline(lines, line);
  EXPECT_EQ(line, "Each start 5 degrees off the equilibrium, 5 predicted libration periods long.");
  std::getline(lines, line);
  std::getline(lines, line);  // column heads
  std::getline(lines, line);
  EXPECT_EQ(line,
            "    0.0  not confirmed       -       -          -      -     4.4979          -      "
            "-           -  close encounter (2.33 Hill radii)");
  std::getline(lines, line);
  EXPECT_EQ(line,
            "   60.0  confirmed       60.23   +0.23       4.96    0.2     149.73      148.5  "
            "1.008     2.2e-12  completed, 3 librations");
  EXPECT_NE(text.find("within 5 degrees of the predicted one"), std::string::npos);
  const std::string none = table_text({"x", {7, 2}, {}}, {});
  EXPECT_NE(none.find("sigma = 2 lambda1 - 7 lambda2 + 5 varpi1"), std::string::npos);
  EXPECT_NE(none.find("\n\nNo stable equilibrium to verify (give one with --sigma).\n"),
            std::string::npos);
}

TEST(VerifyProgram, FixedNumbersOfAnySizeOrNoneAtAll) {
  // Every digit of the largest doubles, as the C library's printf writes them; and where
  // the conversion cannot be made, asterisks rather than whatever the buffer held.
  for (const double x : {1e62, -1e308, std::numeric_limits<double>::max()}) {
    char expected[400];
    std::snprintf(expected, sizeof expected, "%.2f", x);
    EXPECT_EQ(fixed(x, 2), expected);
  }
  EXPECT_EQ(fixed(1.0, 600), "***");
  EXPECT_EQ(fixed(nan, 2), "-");
}

TEST(VerifyProgram, SeriesBlocks) {
  const std::string text = series_text({1, 1}, {checked(), stopped()});
  EXPECT_EQ(text,
            "# tandem-verify sigma(t): t_years sigma_deg smoothed_deg\n"
            "# equilibrium k2=1 k1=1 sigma_deg=60 start_sigma_deg=65 "
            "predicted_period_years=149.7301 verdict=confirmed measured_centre_deg=60.2295 "
            "measured_period_years=148.4988\n"
            "0.5 64.9 64.95\n"
            "1 65.1 64.9\n"
            "\n\n"
            "# equilibrium k2=1 k1=1 sigma_deg=0 start_sigma_deg=5 predicted_period_years=4.4979 "
            "verdict=not_confirmed measured_centre_deg=nan measured_period_years=nan\n");
}

}  // namespace
}  // namespace tandem::verify_cli
