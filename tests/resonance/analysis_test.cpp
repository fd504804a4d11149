#include "resonance/analysis.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "orbit/constants.hpp"
#include "support/exact.hpp"

namespace tandem {
namespace {

using testing::digits17;
using testing::same;

// The analysis reads only masses, a1, a2, hii and the resonance numbers; these are set by
// hand so that every expected value can be worked out from them.
struct Inputs {
  PlanetarySystem sys;
  Resonance res{3.0, 2.0};
  OrbitSetup orbits;
};

Inputs sample_inputs() {
  Inputs in;
  in.sys.mst = 1.0;
  in.sys.planet1.sm = 0.001;
  in.sys.planet2.sm = 0.0003;
  in.orbits.planet1.a = 5.2;
  in.orbits.planet2.a = 6.8;
  in.orbits.hii = 4.0;
  return in;
}

// A curve with every point far from close approaches.
RCurve curve_of(double (*f)(int)) {
  RCurve c;
  for (int i = 0; i < isimax; ++i) {
    c.rp[i] = f(i);
    c.md[i] = 10.0;
    c.sma[i] = static_cast<float>(i);
    c.ace[i] = blank_label;
  }
  return c;
}

Analysis analyse(const RCurve& c, const Inputs& in = sample_inputs()) {
  return analyse_rsigma(c, in.sys, in.res, in.orbits);
}

// Labels and periods other than at the listed points must be blank and zero.
void expect_only(const Analysis& an, std::initializer_list<std::pair<int, std::string_view>> set) {
  for (int i = 0; i < isimax; ++i) {
    std::string_view want = blank_label;
    for (const auto& [index, label] : set) {
      if (index == i) {
        want = label;
      }
    }
    EXPECT_EQ(an.aeq[i], want) << "sigma " << i;
    if (want == stable_label) {
      EXPECT_GT(an.tlib[i], 0.0) << "sigma " << i;
    } else {
      EXPECT_TRUE(same(an.tlib[i], 0.0)) << "sigma " << i;
    }
  }
}

// Libration period in years for a second derivative d2 of R per radian^2.
double period_years(double d2, double hii) {
  return 2 * std::acos(-1.0) / std::sqrt(d2 * hii) / 365.25;
}

// rp = |i - 180| on the 0-based grid: a V with its bottom at sigma = 180.
double vee(int i) {
  return std::abs(i - 180);
}

TEST(Analysis, WorkedExampleOfAVShapedCurve) {
  const Analysis an = analyse(curve_of(vee));
  // Sum 180 + 2*(1 + ... + 179) = 32400 over 360 points; every partial sum is exact.
  EXPECT_TRUE(same(an.vmedio, 90.0));
  EXPECT_TRUE(same(an.vrmin, 0.0));
  EXPECT_TRUE(same(an.vrmax, 180.0));
  EXPECT_TRUE(same(an.delr, 180.0));
  EXPECT_TRUE(same(an.detec2, 1.0));
  ASSERT_TRUE(an.detectable);
  // Slopes of one unit per degree: (2/2)/g2r exactly; zero at the bottom and the top.
  EXPECT_TRUE(same(an.deriv1[0], 0.0));
  EXPECT_TRUE(same(an.deriv1[180], 0.0));
  for (int i = 1; i < 180; ++i) {
    ASSERT_TRUE(same(an.deriv1[i], -1.0 / g2r)) << "sigma " << i;
  }
  for (int i = 181; i < 360; ++i) {
    ASSERT_TRUE(same(an.deriv1[i], 1.0 / g2r)) << "sigma " << i;
  }
  // At the bottom ((1/g2r + 1/g2r)/2)/g2r.
  EXPECT_TRUE(same(an.deriv2[180], (1.0 / g2r) / g2r));
  EXPECT_LT(an.deriv2[0], 0.0);
  expect_only(an, {{0, unstable_label}, {180, stable_label}});
  const double g = std::acos(-1.0) / 180;
  EXPECT_NEAR(an.tlib[180], period_years(1 / (g * g), 4.0), 1e-15 * an.tlib[180]);
}

TEST(Analysis, WidthsFollowFromTheAmplitude) {
  const Analysis an = analyse(curve_of(vee));
  // ff = 2 sqrt(2 delr/(hii kg2)); Da = 2 ff k sqrt((M + m) a)/(M m).
  const double ff = 2 * std::sqrt(2 * 180.0 / (4.0 * kg2));
  EXPECT_NEAR(an.ff / ff, 1.0, 1e-15);
  EXPECT_NEAR(an.ancha1 / (2 * ff * 2.0 * std::sqrt(1.001 * 5.2) / 0.001), 1.0, 1e-15);
  EXPECT_NEAR(an.ancha2 / (2 * ff * 3.0 * std::sqrt(1.0003 * 6.8) / 0.0003), 1.0, 1e-15);
}

TEST(Analysis, EquilibriumBetweenLastAndFirstPointWraps) {
  // R is the distance along the circle from sigma = 359.25: the minimum lies between
  // 359 (R = 0.25) and 0 (R = 0.75), the maximum between 179 (179.75) and 180 (179.25).
  const Analysis an = analyse(curve_of([](int i) {
    const double d = std::fabs(i - 359.25);
    return d < 180 ? d : 360 - d;
  }));
  ASSERT_TRUE(an.detectable);
  expect_only(an, {{359, stable_label}, {179, unstable_label}});
  // Found at point 0, attributed to 359; d2R there ((0.75 + 1)/2)/g2r^2 = 0.875/g2r^2.
  const double g = std::acos(-1.0) / 180;
  EXPECT_NEAR(an.tlib[359], period_years(0.875 / (g * g), 4.0), 1e-15 * an.tlib[359]);
}

TEST(Analysis, FlatBottomGivesAnUnstableLabelWhereTheCurvatureVanishes) {
  // R = max(|i - 180| - 2, 0): zero from 178 to 182. The slope vanishes on 179..181 and
  // the curvature exactly at 180, whose detection is therefore not a minimum.
  const Analysis an =
      analyse(curve_of([](int i) { return std::max(std::abs(i - 180) - 2.0, 0.0); }));
  ASSERT_TRUE(an.detectable);
  EXPECT_TRUE(same(an.deriv2[180], 0.0));
  expect_only(an, {{0, unstable_label},
                   {179, stable_label},
                   {180, unstable_label},
                   {181, stable_label},
                   {182, stable_label}});
  // At 179: slopes -0.5/g2r before and 0 after, so d2R = 0.25/g2r^2.
  const double g = std::acos(-1.0) / 180;
  EXPECT_NEAR(an.tlib[179], period_years(0.25 / (g * g), 4.0), 1e-15 * an.tlib[179]);
}

TEST(Analysis, ClosenessLimitsTheSearchAtEachPointAlone) {
  // The bottom of the V is found twice, at 180 (previous 179) and 181 (previous 180).
  RCurve c = curve_of(vee);
  c.md[180] = 2.0;  // inside rhtol, outside 0.5: still searched, left out of Rmax only
  Analysis an = analyse(c);
  expect_only(an, {{0, unstable_label}, {180, stable_label}});
  c.md[181] = 0.5;  // one of the two detections is enough
  an = analyse(c);
  expect_only(an, {{0, unstable_label}, {180, stable_label}});
  c.md[180] = 0.5;  // both excluded: 0.5 itself is not searched
  an = analyse(c);
  expect_only(an, {{0, unstable_label}});
}

TEST(Analysis, ConstantCurveIsUndetectable) {
  const Analysis an = analyse(curve_of([](int) { return 0.25; }));
  EXPECT_FALSE(an.detectable);
  EXPECT_TRUE(same(an.vmedio, 0.25));
  EXPECT_TRUE(same(an.delr, 0.0));
  EXPECT_TRUE(same(an.ff, 0.0));
  EXPECT_TRUE(same(an.ancha1, 0.0));
  EXPECT_TRUE(same(an.ancha2, 0.0));
  expect_only(an, {});
}

TEST(Analysis, CloseApproachesEverywhereLeaveNoAmplitude) {
  RCurve c = curve_of(vee);
  c.md.fill(3.0);  // not strictly beyond rhtol
  const Analysis an = analyse(c);
  EXPECT_TRUE(same(an.vrmax, -999999.0));
  EXPECT_TRUE(same(an.delr, 0.0));
  EXPECT_FALSE(an.detectable);
  expect_only(an, {});
}

TEST(Analysis, DepthSmallAgainstTheMeanIsUndetectable) {
  // R = 1 + s*|i - 180|/180: mean 1 + s/2, so detec2 = (s/2)/(1 + s/2) while the
  // amplitude s stays far above the 1e-20 floor (cterm is about 6e-7).
  const auto curve_with_depth = [](double s) {
    RCurve c = curve_of(vee);
    for (double& r : c.rp) {
      r = 1 + s * (r / 180);
    }
    return c;
  };
  const Analysis shallow = analyse(curve_with_depth(1.8e-11));  // detec2 ~ 9e-12
  EXPECT_LT(shallow.detec2, 1e-11);
  EXPECT_FALSE(shallow.detectable);
  EXPECT_TRUE(same(shallow.delr, 0.0));
  expect_only(shallow, {});
  const Analysis deeper = analyse(curve_with_depth(2.2e-11));  // detec2 ~ 1.1e-11
  EXPECT_GT(deeper.detec2, 1e-11);
  EXPECT_TRUE(deeper.detectable);
  EXPECT_GT(deeper.delr, 0.0);
}

TEST(Analysis, AmplitudeFloorRelativeToTheMassScale) {
  const Inputs in = sample_inputs();
  // cterm = kg2*mst*(m1 + m2)/a1, the scale of R for this system.
  const double cterm = kg2 * 1.0 * 0.0013 / 5.2;
  // A curve that is 0 at one point and D elsewhere has delr = D and detec2 = 1, so only
  // the floor decides. Take D as the double at which delr/cterm reaches 1e-20 exactly.
  double d = 1e-20 * cterm;
  while (d / cterm >= 1e-20) {
    d = std::nextafter(d, 0.0);
  }
  while (d / cterm < 1e-20) {
    d = std::nextafter(d, 1.0);
  }
  ASSERT_TRUE(same(d / cterm, 1e-20)) << digits17(d) << " / " << digits17(cterm);
  const auto step_curve = [](double depth) {
    RCurve c = curve_of([](int) { return 0.0; });
    for (int i = 1; i < isimax; ++i) {
      c.rp[i] = depth;
    }
    return c;
  };
  const Analysis at = analyse_rsigma(step_curve(d), in.sys, in.res, in.orbits);
  EXPECT_NEAR(at.cterm / cterm, 1.0, 1e-15);
  EXPECT_TRUE(at.detectable);
  EXPECT_TRUE(same(at.delr, d));
  const double below = std::nextafter(d, 0.0);
  const Analysis under = analyse_rsigma(step_curve(below), in.sys, in.res, in.orbits);
  EXPECT_FALSE(under.detectable);
  EXPECT_TRUE(same(under.delr, 0.0));
}

}  // namespace
}  // namespace tandem
