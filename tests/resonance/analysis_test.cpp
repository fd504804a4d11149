#include "resonance/analysis.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <string_view>

#include "orbit/constants.hpp"
#include "support/exact.hpp"

namespace tandem {
namespace {

using testing::digits17;
using testing::same;

// The analysis reads only the masses, a1, a2, hii and the resonance numbers; they are set
// by hand so that every expected value can be worked out from them.
CurveAnalysis analyse(const RCurve& c) {
  PlanetarySystem sys;
  sys.mst = 1.0;
  sys.planet1.sm = 0.001;
  sys.planet2.sm = 0.0003;
  OrbitSetup orbits;
  orbits.planet1.a = 5.2;
  orbits.planet2.a = 6.8;
  orbits.hii = 4.0;
  return analyse_rsigma(c, sys, {3.0, 2.0}, orbits);
}

// A curve with every point far from close approaches.
template <typename F>
RCurve curve_of(F f) {
  RCurve c;
  for (int i = 0; i < isimax; ++i) {
    c.rp[i] = f(i);
    c.md[i] = 10.0;
  }
  return c;
}

double vee(int i) {
  return std::abs(i - 180);
}  // bottom at sigma = 180

// Libration period in years for d2R/dsigma2 = d2 per radian^2, with hii = 4.
double period_years(double d2) {
  return 2 * std::acos(-1.0) / std::sqrt(d2 * 4.0) / 365.25;
}

// Exactly the listed labels; a period at each stable one and nowhere else.
void expect_labels(const CurveAnalysis& an, const std::map<int, EquilibriumKind>& want) {
  for (int i = 0; i < isimax; ++i) {
    const auto it = want.find(i);
    const EquilibriumKind label = it == want.end() ? EquilibriumKind::none : it->second;
    EXPECT_EQ(an.aeq[i], label) << "sigma " << i;
    EXPECT_EQ(an.tlib[i] != 0, label == EquilibriumKind::stable) << "sigma " << i;
  }
}

void expect_undetectable(const CurveAnalysis& an) {
  EXPECT_FALSE(an.detectable);
  EXPECT_TRUE(same(an.delr, 0.0));
  EXPECT_TRUE(same(an.ancha1, 0.0));
  EXPECT_TRUE(same(an.ancha2, 0.0));
  expect_labels(an, {});
}

const double g = std::acos(-1.0) / 180;

TEST(Analysis, WorkedExampleOfAVShapedCurve) {
  const CurveAnalysis an = analyse(curve_of(vee));
  // Sum 180 + 2*(1 + ... + 179) = 32400 over 360 points, every partial sum exact.
  EXPECT_TRUE(same(an.vmedio, 90.0));
  EXPECT_TRUE(same(an.vrmin, 0.0));
  EXPECT_TRUE(same(an.delr, 180.0));
  EXPECT_TRUE(same(an.detec2, 1.0));
  // Slopes of one unit per degree, (2/2)/g2r; zero at the bottom and the top.
  for (int i = 0; i < isimax; ++i) {
    const double slope = i == 0 || i == 180 ? 0.0 : (i < 180 ? -1.0 : 1.0) / g2r;
    ASSERT_TRUE(same(an.deriv1[i], slope)) << "sigma " << i;
  }
  EXPECT_TRUE(same(an.deriv2[180], (1.0 / g2r) / g2r));
  expect_labels(an, {{0, EquilibriumKind::unstable}, {180, EquilibriumKind::stable}});
  EXPECT_NEAR(an.tlib[180], period_years(1 / (g * g)), 1e-15 * an.tlib[180]);
  // ff = 2 sqrt(2 delr/(hii kg2)); Da = 2 ff k sqrt((M + m) a)/(M m).
  const double ff = 2 * std::sqrt(2 * 180.0 / (4.0 * kg2));
  EXPECT_NEAR(an.ancha1 / (2 * ff * 2.0 * std::sqrt(1.001 * 5.2) / 0.001), 1.0, 1e-15);
  EXPECT_NEAR(an.ancha2 / (2 * ff * 3.0 * std::sqrt(1.0003 * 6.8) / 0.0003), 1.0, 1e-15);
}

TEST(Analysis, EquilibriumBetweenLastAndFirstPointWraps) {
  // R is the distance along the circle from sigma = 359.25: the minimum lies between 359
  // (R = 0.25) and 0 (0.75), the maximum between 179 (179.75) and 180 (179.25).
  const CurveAnalysis an = analyse(curve_of([](int i) {
    const double d = std::fabs(i - 359.25);
    return d < 180 ? d : 360 - d;
  }));
  expect_labels(an, {{359, EquilibriumKind::stable}, {179, EquilibriumKind::unstable}});
  // Found at 0, given to the lower 359, where d2R = ((0.75 + 1)/2)/g2r^2.
  EXPECT_NEAR(an.tlib[359], period_years(0.875 / (g * g)), 1e-15 * an.tlib[359]);
}

TEST(Analysis, VanishingCurvatureAtADetectedPointIsUnstable) {
  // R = max(|i - 180| - 2, 0) is 0 on 178..182: the slope vanishes on 179..181 and the
  // curvature exactly at 180; 179, 181 and 182 see the bottom curving up.
  const CurveAnalysis an = analyse(curve_of([](int i) { return std::max(vee(i) - 2, 0.0); }));
  EXPECT_TRUE(same(an.deriv2[180], 0.0));
  expect_labels(an, {{0, EquilibriumKind::unstable},
                     {179, EquilibriumKind::stable},
                     {180, EquilibriumKind::unstable},
                     {181, EquilibriumKind::stable},
                     {182, EquilibriumKind::stable}});
  // At 179 the slopes around are -0.5/g2r and 0: d2R = 0.25/g2r^2.
  EXPECT_NEAR(an.tlib[179], period_years(0.25 / (g * g)), 1e-15 * an.tlib[179]);
}

TEST(Analysis, ClosenessLimitsRmaxAndTheSearchAtEachPointAlone) {
  // The bottom of the V is detected twice, at 180 (previous 179) and 181 (previous 180).
  RCurve c = curve_of(vee);
  c.md[0] = 3.0;    // not beyond rhtol: the top no longer counts for Rmax
  c.md[180] = 2.0;  // still searched
  expect_labels(analyse(c), {{0, EquilibriumKind::unstable}, {180, EquilibriumKind::stable}});
  EXPECT_TRUE(same(analyse(c).vrmax, 179.0));
  c.md[181] = 0.5;  // one detection is enough
  expect_labels(analyse(c), {{0, EquilibriumKind::unstable}, {180, EquilibriumKind::stable}});
  c.md[180] = 0.5;  // 0.5 itself is not searched
  expect_labels(analyse(c), {{0, EquilibriumKind::unstable}});
}

TEST(Analysis, UndetectableCurves) {
  expect_undetectable(analyse(curve_of([](int) { return 0.25; })));
  RCurve all_close = curve_of(vee);
  all_close.md.fill(3.0);  // Rmax keeps its start value, the amplitude is clipped to 0
  EXPECT_TRUE(same(analyse(all_close).vrmax, -999999.0));
  expect_undetectable(analyse(all_close));
  // R = 1 + s*|i - 180|/180: mean 1 + s/2, detec2 = (s/2)/(1 + s/2), while the amplitude
  // s stays far above the floor of 1e-20 times kg2*mst*(m1 + m2)/a1 (about 6e-7).
  const auto shallow = [](double s) {
    return curve_of([s](int i) { return 1 + s * (vee(i) / 180); });
  };
  const CurveAnalysis below = analyse(shallow(1.8e-11));  // detec2 9e-12
  EXPECT_LT(below.detec2, 1e-11) << digits17(below.detec2);
  expect_undetectable(below);
  const CurveAnalysis above = analyse(shallow(2.2e-11));  // detec2 1.1e-11
  EXPECT_TRUE(above.detectable) << digits17(above.detec2);
}

TEST(Analysis, AmplitudeFloorRelativeToTheMassScale) {
  // 0 at one point and D elsewhere: delr = D and detec2 = 1, so only the floor decides.
  // D is the double at which delr/cterm reaches 1e-20 exactly.
  const double cterm = kg2 * 1.0 * 0.0013 / 5.2;
  double d = std::nextafter(1e-20 * cterm, 0.0);
  while (d / cterm < 1e-20) {
    d = std::nextafter(d, 1.0);
  }
  ASSERT_TRUE(same(d / cterm, 1e-20)) << digits17(d) << " / " << digits17(cterm);
  const auto step = [](double depth) { return curve_of([depth](int i) { return i ? depth : 0; }); };
  const CurveAnalysis at = analyse(step(d));
  EXPECT_TRUE(same(at.cterm, cterm));
  EXPECT_TRUE(at.detectable);
  EXPECT_TRUE(same(at.delr, d));
  expect_undetectable(analyse(step(std::nextafter(d, 0.0))));
}

}  // namespace
}  // namespace tandem
