#include "resonance/rsigma.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "orbit/constants.hpp"
#include "resonance/analysis.hpp"
#include "support/exact.hpp"
#include "support/reference_orbit.hpp"

namespace tandem {
namespace {

using testing::digits17;
using testing::same;

struct Case {
  PlanetarySystem sys;
  Resonance res;
  OrbitSetup orbits;
  RCurve curve;
};

Case evaluate(const PlanetarySystem& sys, const Resonance& res, unsigned threads = 1) {
  const OrbitSetup orbits = setup_orbits(sys, res);
  return {sys, res, orbits, evaluate_rsigma(sys, res, orbits, threads)};
}

// Sun with planets of Jupiter's and Saturn's mass; planet 2's elements (a, e, i, node,
// perihelion) are given, planet 1 shares only its mass, e, i, node and perihelion.
PlanetarySystem system_of(double e1, double i1, double e2, double i2) {
  PlanetarySystem s;
  s.mst = 1.0;
  s.planet1 = {0.0, e1, i1, 30.0, 60.0, 0.001};
  s.planet2 = {6.8, e2, i2, 100.0, 15.0, 0.0003};
  return s;
}

// R averaged over the cycle at sigma (degrees) and the closest approach in Hill radii,
// from classical elements: lambda2 runs over the samples, and lambda1 follows from
// sigma = k1*lambda1 - k2*lambda2 + (k2 - k1)*varpi1.
std::pair<double, double> reference_point(const Case& c, double sigma_deg) {
  const double deg = std::acos(-1.0) / 180;
  const PlanetElements& p1 = c.sys.planet1;
  const PlanetElements& p2 = c.sys.planet2;
  const double k1 = c.res.k1, k2 = c.res.k2, m1m2 = p1.sm * p2.sm, mst = c.sys.mst;
  const double n2 = std::sqrt(kg2 * (mst + p2.sm) / std::pow(p2.se, 3));
  const double n1 = k2 / k1 * n2;
  const double a1 = std::cbrt(kg2 * (mst + p1.sm) / (n1 * n1));
  const testing::RefOrbit o1{a1, p1.ex, p1.yn * deg, p1.ln * deg, p1.lp * deg, n1};
  const testing::RefOrbit o2{p2.se, p2.ex, p2.yn * deg, p2.ln * deg, p2.lp * deg, n2};
  const double rhs = std::cbrt((p1.sm + p2.sm) / (3 * mst)) * (a1 + p2.se) / 2;
  const int samples = 1000 * static_cast<int>(k2);
  double sum = 0, closest = 1e300;
  for (int k = 1; k <= samples; ++k) {
    const double la2 = 360 * deg * k1 * k / samples;
    const double la1 = (sigma_deg * deg + k2 * la2 - (k2 - k1) * o1.varpi) / k1;
    const testing::RefState s1 = testing::ref_state(o1, la1);
    const testing::RefState s2 = testing::ref_state(o2, la2);
    const double d = std::hypot(s1.x - s2.x, s1.y - s2.y, s1.z - s2.z);
    sum += kg2 * m1m2 / d - m1m2 * (s1.vx * s2.vx + s1.vy * s2.vy + s1.vz * s2.vz) / mst;
    closest = std::min(closest, d / rhs);
  }
  return {sum / samples, closest};
}

TEST(RSigma, GridPointsAgreeWithAnIndependentEvaluation) {
  // 3.5:2.5 keeps its fractions in the motion while sampling 3000 points over 2.5 turns.
  for (const Resonance res : {Resonance{3.0, 2.0}, Resonance{3.5, 2.5}}) {
    const Case c = evaluate(system_of(0.1, 2.0, 0.05, 1.0), res);
    for (const int i : {0, 1, 90, 181, 359}) {
      EXPECT_TRUE(same(c.curve.sma[i], i));
      const auto [rp, md] = reference_point(c, i);
      // The solver's stop at 1e-12 rad leaves relative errors far below 1e-11.
      EXPECT_NEAR(c.curve.rp[i] / rp, 1.0, 1e-11)
          << "sigma " << i << ": " << digits17(c.curve.rp[i]) << " vs " << digits17(rp);
      EXPECT_NEAR(c.curve.md[i] / md, 1.0, 1e-11) << "sigma " << i;
    }
  }
}

TEST(RSigma, CircularCoplanarOrbitsGiveAFlatCurveJudgedUndetectable) {
  const Case c = evaluate(system_of(0, 0, 0, 0), {2.0, 1.0});
  const auto [lo, hi] = std::minmax_element(c.curve.rp.begin(), c.curve.rp.end());
  EXPECT_LT((*hi - *lo) / *lo, 1e-12) << digits17(*lo) << " .. " << digits17(*hi);
  // Closest approach at conjunction, a2 - a1, met within 0.09 degrees by a sample.
  const double gap = (c.orbits.planet2.a - c.orbits.planet1.a) / c.orbits.rhs;
  for (const double md : c.curve.md) {
    ASSERT_NEAR(md / gap, 1.0, 1e-5) << digits17(md) << " vs " << digits17(gap);
  }
  const CurveAnalysis an = analyse_rsigma(c.curve, c.sys, c.res, c.orbits);
  EXPECT_FALSE(an.detectable);
  EXPECT_TRUE(same(an.ancha1, 0.0));
}

TEST(RSigma, MasslessPlanetGivesZeroEverywhere) {
  PlanetarySystem sys = system_of(0.1, 2.0, 0.05, 1.0);
  sys.planet2.sm = 0;
  for (const double rp : evaluate(sys, {3.0, 2.0}).curve.rp) {
    ASSERT_TRUE(same(rp, 0.0));
  }
}

// 2:1 with the inner planet at e = 0.5, reaching 0.945 au at aphelion, and the outer one
// circular at 1 au; 3 mutual Hill radii are 0.21 au. Conjunctions fall at the inner
// planet's aphelion for sigma = 180 and at its perihelion for sigma = 0.
PlanetarySystem crossing_system() {
  PlanetarySystem s;
  s.mst = 1.0;
  s.planet1 = {0.0, 0.5, 0.0, 0.0, 0.0, 0.001};
  s.planet2 = {1.0, 0.0, 0.0, 0.0, 0.0, 0.001};
  return s;
}

TEST(RSigma, CloseApproachesAreLabelledAndLeftOutOfRmax) {
  const Case c = evaluate(crossing_system(), {2.0, 1.0});
  EXPECT_TRUE(c.curve.ace[180]);
  EXPECT_FALSE(c.curve.ace[0]);
  double rmax_far = -1e300;
  for (int i = 0; i < isimax; ++i) {
    EXPECT_EQ(c.curve.ace[i], c.curve.md[i] < rhtol) << "sigma " << i;
    rmax_far = c.curve.md[i] > rhtol ? std::max(rmax_far, c.curve.rp[i]) : rmax_far;
  }
  ASSERT_GT(c.curve.rp[180], rmax_far);  // the close approaches do raise R
  EXPECT_TRUE(same(analyse_rsigma(c.curve, c.sys, c.res, c.orbits).vrmax, rmax_far));
}

TEST(RSigma, ThreadCountChangesNoBit) {
  for (const PlanetarySystem& sys : {system_of(0.1, 2.0, 0.05, 1.0), crossing_system()}) {
    const RCurve one = evaluate(sys, {3.0, 2.0}).curve;
    for (const unsigned threads : {2u, 3u}) {
      const RCurve many = evaluate(sys, {3.0, 2.0}, threads).curve;
      for (int i = 0; i < isimax; ++i) {
        ASSERT_EQ(std::bit_cast<std::uint64_t>(one.rp[i]), std::bit_cast<std::uint64_t>(many.rp[i]))
            << threads << " threads, sigma " << i;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(one.md[i]), std::bit_cast<std::uint64_t>(many.md[i]))
            << threads << " threads, sigma " << i;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(one.sma[i]),
                  std::bit_cast<std::uint32_t>(many.sma[i]));
        ASSERT_EQ(one.ace[i], many.ace[i]) << threads << " threads, sigma " << i;
      }
    }
  }
}

TEST(RSigma, CycleTheTableCannotHoldGivesNoMean) {
  EXPECT_TRUE(std::isnan(evaluate(system_of(0.1, 2.0, 0.05, 1.0), {60.0, 2.0}).curve.rp[0]));
}

}  // namespace
}  // namespace tandem
