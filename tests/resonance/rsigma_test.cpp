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
  Planet2Table table;
};

Case make_case(const PlanetarySystem& sys, const Resonance& res) {
  Case c{sys, res, setup_orbits(sys, res), {}};
  c.table = tabulate_planet2(c.orbits.planet2, res.k1, c.orbits.ipasos);
  return c;
}

RCurve evaluate(const Case& c, unsigned threads = 1) {
  return evaluate_rsigma(c.sys, c.res, c.orbits, c.table, threads);
}

// Sun, a Jupiter-mass inner planet and a Saturn-mass outer one, eccentric and inclined.
PlanetarySystem eccentric_system() {
  PlanetarySystem s;
  s.mst = 1.0;
  s.planet1 = {0.0, 0.1, 2.0, 30.0, 60.0, 0.001};
  s.planet2 = {6.8, 0.05, 1.0, 100.0, 15.0, 0.0003};
  return s;
}

PlanetarySystem circular_coplanar_system() {
  PlanetarySystem s;
  s.mst = 1.0;
  s.planet1 = {0.0, 0.0, 0.0, 0.0, 40.0, 0.001};
  s.planet2 = {6.8, 0.0, 0.0, 0.0, 70.0, 0.0003};
  return s;
}

struct Reference {
  double rp;
  double md;
};

// R averaged over the cycle at sigma (degrees), and the closest approach, from classical
// elements: lambda2 runs over the samples, lambda1 follows from
// sigma = k1*lambda1 - k2*lambda2 + (k2 - k1)*varpi1.
Reference reference_point(const PlanetarySystem& sys, const Resonance& res, int ipasos,
                          double sigma_deg) {
  const double deg = std::acos(-1.0) / 180;
  const double tau = 2 * std::acos(-1.0);
  const PlanetElements& p1 = sys.planet1;
  const PlanetElements& p2 = sys.planet2;
  const double n2 = std::sqrt(kg2 * (sys.mst + p2.sm) / (p2.se * p2.se * p2.se));
  const double n1 = res.k2 / res.k1 * n2;
  const double a1 = std::cbrt(kg2 * (sys.mst + p1.sm) / (n1 * n1));
  const testing::RefOrbit o1{a1, p1.ex, p1.yn * deg, p1.ln * deg, p1.lp * deg, n1};
  const testing::RefOrbit o2{p2.se, p2.ex, p2.yn * deg, p2.ln * deg, p2.lp * deg, n2};
  const double rhs = std::cbrt((p1.sm + p2.sm) / (3 * sys.mst)) * (a1 + p2.se) / 2;
  double sum = 0;
  double closest = 1e300;
  for (int k = 1; k <= ipasos; ++k) {
    const double la2 = tau * res.k1 * k / ipasos;
    const double la1 = (sigma_deg * deg + res.k2 * la2 - (res.k2 - res.k1) * o1.varpi) / res.k1;
    const testing::RefState s1 = testing::ref_state(o1, la1);
    const testing::RefState s2 = testing::ref_state(o2, la2);
    const double d = std::hypot(s1.x - s2.x, s1.y - s2.y, s1.z - s2.z);
    const double v1v2 = s1.vx * s2.vx + s1.vy * s2.vy + s1.vz * s2.vz;
    sum += kg2 * p1.sm * p2.sm / d - p1.sm * p2.sm * v1v2 / sys.mst;
    closest = std::min(closest, d / rhs);
  }
  return {sum / ipasos, closest};
}

TEST(RSigma, GridPointsAgreeWithAnIndependentEvaluation) {
  const Case c = make_case(eccentric_system(), {3.0, 2.0});
  const RCurve curve = evaluate(c);
  for (const int i : {0, 1, 90, 181, 359}) {
    EXPECT_TRUE(same(curve.sma[i], static_cast<float>(i)));
    const Reference ref = reference_point(c.sys, c.res, c.orbits.ipasos, i);
    // The solver's 1e-12 stop leaves errors far below this; R itself is about 1e-10.
    EXPECT_NEAR(curve.rp[i] / ref.rp, 1.0, 1e-11)
        << "sigma " << i << ": " << digits17(curve.rp[i]) << " vs " << digits17(ref.rp);
    EXPECT_NEAR(curve.md[i] / ref.md, 1.0, 1e-11)
        << "sigma " << i << ": " << digits17(curve.md[i]) << " vs " << digits17(ref.md);
    EXPECT_EQ(curve.ace[i], blank_label);
  }
}

TEST(RSigma, NonIntegerResonanceNumbersKeepTheirFractionInTheMotion) {
  // 3.5:2.5 has 3000 samples over 2.5 revolutions of planet 2.
  const Case c = make_case(eccentric_system(), {3.5, 2.5});
  ASSERT_EQ(c.orbits.ipasos, 3000);
  const RCurve curve = evaluate(c);
  for (const int i : {0, 200}) {
    const Reference ref = reference_point(c.sys, c.res, c.orbits.ipasos, i);
    EXPECT_NEAR(curve.rp[i] / ref.rp, 1.0, 1e-11)
        << "sigma " << i << ": " << digits17(curve.rp[i]) << " vs " << digits17(ref.rp);
  }
}

TEST(RSigma, CircularCoplanarOrbitsGiveAFlatCurveJudgedUndetectable) {
  const Case c = make_case(circular_coplanar_system(), {2.0, 1.0});
  const RCurve curve = evaluate(c);
  const auto [lo, hi] = std::minmax_element(curve.rp.begin(), curve.rp.end());
  EXPECT_LT((*hi - *lo) / std::fabs(*lo), 1e-12) << digits17(*lo) << " .. " << digits17(*hi);
  // Closest approach at conjunction: a2 - a1, to the sampling (planet 1 laps planet 2 once
  // per cycle, at most 0.09 degrees from a sample).
  const double gap = (c.orbits.planet2.a - c.orbits.planet1.a) / c.orbits.rhs;
  for (const double md : curve.md) {
    ASSERT_GE(md, gap * (1 - 1e-12));
    ASSERT_LE(md, gap * (1 + 1e-5));
  }
  const Analysis an = analyse_rsigma(curve, c.sys, c.res, c.orbits);
  EXPECT_FALSE(an.detectable);
  EXPECT_TRUE(same(an.delr, 0.0));
  EXPECT_TRUE(same(an.ancha1, 0.0));
  EXPECT_TRUE(same(an.ancha2, 0.0));
}

TEST(RSigma, MasslessPlanetGivesZeroEverywhere) {
  for (const int which : {1, 2}) {
    PlanetarySystem sys = eccentric_system();
    (which == 1 ? sys.planet1 : sys.planet2).sm = 0;
    const RCurve curve = evaluate(make_case(sys, {3.0, 2.0}));
    for (const double rp : curve.rp) {
      ASSERT_TRUE(same(rp, 0.0)) << "massless planet " << which;
    }
  }
}

// Inner planet on a 2:1 orbit with e = 0.5 reaching 0.945 au at aphelion, outer planet
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
  const Case c = make_case(crossing_system(), {2.0, 1.0});
  const RCurve curve = evaluate(c);
  EXPECT_EQ(curve.ace[180], close_enc_label);
  EXPECT_LT(curve.md[180], rhtol);
  EXPECT_EQ(curve.ace[0], blank_label);
  EXPECT_GT(curve.md[0], rhtol);
  double rmax_far = -1e300;
  double rmax_all = -1e300;
  for (int i = 0; i < isimax; ++i) {
    // The label and the distance tell the same story (no sample sits exactly at rhtol).
    EXPECT_EQ(curve.ace[i] == close_enc_label, curve.md[i] < rhtol) << "sigma " << i;
    rmax_all = std::max(rmax_all, curve.rp[i]);
    if (curve.md[i] > rhtol) {
      rmax_far = std::max(rmax_far, curve.rp[i]);
    }
  }
  ASSERT_GT(rmax_all, rmax_far);  // the close approaches do raise R
  const Analysis an = analyse_rsigma(curve, c.sys, c.res, c.orbits);
  EXPECT_TRUE(same(an.vrmax, rmax_far));
  EXPECT_TRUE(same(an.vrmin, *std::min_element(curve.rp.begin(), curve.rp.end())));
}

void expect_bitwise_equal(const RCurve& x, const RCurve& y, unsigned threads) {
  for (int i = 0; i < isimax; ++i) {
    ASSERT_EQ(std::bit_cast<std::uint64_t>(x.rp[i]), std::bit_cast<std::uint64_t>(y.rp[i]))
        << threads << " threads, sigma " << i;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(x.md[i]), std::bit_cast<std::uint64_t>(y.md[i]))
        << threads << " threads, sigma " << i;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(x.sma[i]), std::bit_cast<std::uint32_t>(y.sma[i]))
        << threads << " threads, sigma " << i;
    ASSERT_EQ(x.ace[i], y.ace[i]) << threads << " threads, sigma " << i;
  }
}

TEST(RSigma, ThreadCountChangesNoBit) {
  for (const PlanetarySystem& sys : {eccentric_system(), crossing_system()}) {
    const Case c = make_case(sys, {3.0, 2.0});
    const RCurve one = evaluate(c, 1);
    for (const unsigned threads : {2u, 3u, 0u}) {
      expect_bitwise_equal(one, evaluate(c, threads), threads);
    }
  }
}

TEST(RSigma, CycleTheTableCannotHoldGivesNoMean) {
  const Case c = make_case(eccentric_system(), {60.0, 2.0});
  ASSERT_TRUE(c.table.empty());
  const RCurve curve = evaluate(c);
  EXPECT_TRUE(std::isnan(curve.rp[0])) << digits17(curve.rp[0]);
}

}  // namespace
}  // namespace tandem
