#include "tandem/phase_space.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "api/convert.hpp"
#include "orbit/constants.hpp"
#include "orbit/orbit_setup.hpp"
#include "phase/gauss_kronrod.hpp"
#include "resonance/analysis.hpp"
#include "support/exact.hpp"
#include "tandem/files.hpp"
#include "tandem/solve.hpp"

namespace tandem {
namespace {

using testing::same;

constexpr double amplitude_r = 1e-10;  // A of the test curves, M_sun au^2/day^2

// A Jupiter-Saturn-like pair in 3:2 whose R(sigma) is replaced by a curve of our own, run
// through the program's own analysis (widths, equilibria, periods).
Result result_with(const std::function<double(int)>& r, bool mirror = true) {
  PlanetarySystem sys;
  sys.mst = 1.0;
  sys.planet1 = {3.9, 0.05, 1.0, 10.0, 20.0, 3e-4};
  sys.planet2 = {5.2, 0.05, 1.0, 10.0, 20.0, 1e-3};
  const Resonance res{3.0, 2.0};
  const OrbitSetup orbits = setup_orbits(sys, res);
  RCurve curve;
  for (int i = 0; i < isimax; ++i) {
    // Mirrored about sigma = 0, so that both sides of a symmetric curve are the same bits.
    const int j = mirror && i > 180 ? isimax - i : i;
    curve.rp[i] = r(j);
    curve.md[i] = 10.0;
    curve.sma[i] = static_cast<float>(i);
  }
  return api::result_of(api::system_of(sys), res, orbits, curve,
                        analyse_rsigma(curve, sys, res, orbits));
}

double years(double days) {
  return days / 365.25;
}

double rel(double a, double b) {
  return std::fabs(a - b) / std::fabs(b);
}

// The pendulum R = A cos sigma: the minimum at 180, the barrier at 0.
TEST(PhaseSpace, PendulumZonePeriodsAndWidth) {
  const Result res = result_with([](int i) { return amplitude_r * std::cos(i * g2r); });
  const PhaseSpace ps = phase_space(res);
  ASSERT_EQ(ps.zones.size(), 1u);
  const Zone& z = ps.zones[0];
  EXPECT_EQ(z.sigma, 180.0);
  EXPECT_EQ(z.equilibrium_index, 180);
  EXPECT_EQ(z.barrier_sigma, 0.0);
  EXPECT_EQ(z.sigma_min, 0.0);
  EXPECT_EQ(z.sigma_max, 360.0);
  EXPECT_TRUE(z.horseshoe_with.empty());
  // One minimum and one maximum: the zone is the program's resonance, to the bit.
  EXPECT_TRUE(same(z.width_a1, res.analysis.width_a1));
  EXPECT_TRUE(same(z.width_a2, res.analysis.width_a2));

  // T(amplitude) = (4/omega0) K(sin(amplitude/2)), K from the C++ library.
  const double omega0 = std::sqrt(amplitude_r * res.orbit.hii);
  for (const double amp : {1.0, 5.0, 20.0, 60.0, 120.0, 170.0}) {
    const Trajectory t = trajectory(ps, 180 + amp);
    ASSERT_EQ(t.regime, Regime::libration) << amp;
    ASSERT_EQ(t.period_state, PeriodState::finite) << amp;
    EXPECT_NEAR(t.sigma_min, 180 - amp, 1e-9) << amp;
    EXPECT_EQ(t.sigma_max, 180 + amp);
    const double want = years(4 / omega0 * std::comp_ellint_1(std::sin(amp * g2r / 2)));
    EXPECT_LT(rel(t.period_years, want), 1e-6) << amp << ": " << t.period_years << " " << want;
    // The a1 range scales with the program's width as sqrt(energy / (Rmax - Rmin)).
    const double depth = amplitude_r * (1 - std::cos(amp * g2r));
    EXPECT_LT(
        rel(t.a1_max - t.a1_min, res.analysis.width_a1 * std::sqrt(depth / res.analysis.amplitude)),
        1e-9)
        << amp;
  }

  // Small amplitudes: the program's period comes from the five-point second difference,
  // A sin(h)^2/h^2 for this curve, the interpolant's from A itself: the ratio is sin(h)/h.
  const double h = g2r;
  EXPECT_LT(rel(z.small_amplitude_period_years / res.curve.period_years[180], std::sin(h) / h),
            1e-10);
  EXPECT_LT(rel(trajectory(ps, 180.001).period_years, z.small_amplitude_period_years), 1e-9);
  EXPECT_EQ(trajectory(ps, 180.0).period_years, z.small_amplitude_period_years);

  // On the separatrix there is no period; above it sigma circulates with
  // T = 4 K(kappa)/sqrt(2 hii E), kappa^2 = 2A/E.
  const Trajectory top = trajectory(ps, 0.0);
  EXPECT_EQ(top.period_state, PeriodState::near_separatrix);
  EXPECT_TRUE(std::isnan(top.period_years));
  const double e = 3 * amplitude_r;
  const double a1 = ps.a1 - ps.a1_per_sigma * std::sqrt(2 * e / res.orbit.hii);
  const Trajectory round = trajectory(ps, 180.0, Axis::a1, a1);
  EXPECT_EQ(round.regime, Regime::circulation);
  const double want =
      years(4 * std::comp_ellint_1(std::sqrt(2.0 / 3)) / std::sqrt(2 * res.orbit.hii * e));
  EXPECT_LT(rel(round.period_years, want), 1e-9);
  EXPECT_THROW(trajectory(ps, NAN), std::invalid_argument);
  EXPECT_THROW(trajectory(ps, 0.0, Axis::a2, -1.0), std::invalid_argument);
}

// R = A (-cos sigma + cos(2 sigma)/2): minima at 60 and 300 (R = -3A/4) behind a low
// barrier at 0 (-A/2) and a high one at 180 (3A/2). R = E where c = cos sigma solves
// c^2 - c - 1/2 = E/A.
TEST(PhaseSpace, TwoWellsTadpoleAndHorseshoe) {
  const Result res = result_with(
      [](int i) { return amplitude_r * (-std::cos(i * g2r) + 0.5 * std::cos(2 * i * g2r)); });
  const PhaseSpace ps = phase_space(res);
  ASSERT_EQ(ps.zones.size(), 2u);
  const Zone& l4 = ps.zones[0];
  EXPECT_NEAR(l4.sigma, 60, 1e-6);
  EXPECT_EQ(l4.barrier_sigma, 0.0);
  EXPECT_EQ(l4.sigma_min, 0.0);
  EXPECT_NEAR(l4.sigma_max, 90, 1e-6);  // c = 0
  EXPECT_NEAR(ps.zones[1].sigma_min, 270, 1e-6);
  // Depth A/4 of Rmax - Rmin = 9A/4: a third of the program's width.
  EXPECT_LT(rel(l4.width_a1, res.analysis.width_a1 / 3), 1e-9);
  EXPECT_EQ(l4.horseshoe_with, (std::vector<int>{1}));
  EXPECT_NEAR(l4.horseshoe_barrier, 2.25 * amplitude_r, 1e-9 * amplitude_r);
  EXPECT_NEAR(l4.horseshoe_sigma_min, -180, 1e-6);
  EXPECT_NEAR(l4.horseshoe_sigma_max, 180, 1e-6);

  const Trajectory tadpole = trajectory(ps, 30.0);
  EXPECT_EQ(tadpole.regime, Regime::libration);
  EXPECT_EQ(tadpole.centres, (std::vector<int>{0}));
  EXPECT_EQ(tadpole.centre, l4.sigma);
  EXPECT_EQ(tadpole.sigma_min, 30.0);
  EXPECT_NEAR(tadpole.sigma_max, std::acos(1 - std::cos(30 * g2r)) / g2r, 1e-7);
  EXPECT_EQ(tadpole.period_state, PeriodState::finite);

  const Trajectory shoe = trajectory(ps, 120.0);  // c = -1/2 and c = 3/2
  EXPECT_EQ(shoe.regime, Regime::horseshoe);
  EXPECT_EQ(shoe.centres, (std::vector<int>{0, 1}));
  EXPECT_TRUE(std::isnan(shoe.centre));
  EXPECT_NEAR(shoe.sigma_min, -120, 1e-7);
  EXPECT_EQ(shoe.sigma_max, 120.0);
  EXPECT_GT(shoe.period_years, tadpole.period_years);
}

// A constant curve is undetectable: no wells, sigma circulates at hii*Sigma, which is
// k1 n1 - k2 n2 from Kepler's third law to first order in the offset.
TEST(PhaseSpace, FlatCurveCirculates) {
  const Result res = result_with([](int) { return -1e-9; });
  ASSERT_FALSE(res.analysis.detectable);
  const PhaseSpace ps = phase_space(res);
  EXPECT_TRUE(ps.flat);
  EXPECT_TRUE(ps.zones.empty());
  const Trajectory still = trajectory(ps, 42.0);
  EXPECT_EQ(still.regime, Regime::circulation);
  EXPECT_EQ(still.period_state, PeriodState::none);

  const double a1 = ps.a1 * (1 - 1e-7);
  const Trajectory t = trajectory(ps, 42.0, Axis::a1, a1);
  ASSERT_EQ(t.period_state, PeriodState::finite);
  const double sigma = sigma_momentum(ps, Axis::a1, a1);
  const double a2 = ps.a2 + ps.a2_per_sigma * sigma;
  const auto n = [](double a, double m) { return kgaus * std::sqrt((1.0 + m) / (a * a * a)); };
  const double rate = 2 * (n(a1, 3e-4) - n(ps.a1, 3e-4)) - 3 * (n(a2, 1e-3) - n(ps.a2, 1e-3));
  EXPECT_LT(rel(t.period_years, years(twopi / std::fabs(rate))), 1e-6);
}

// The Trojan example: L4 and L5 bounded by L3, a horseshoe about both that reaches the
// close-encounter band about sigma = 0.
TEST(PhaseSpace, BundledTrojan) {
  const InputFile in = read_input(TANDEM_SOURCE_DIR "/examples/trojan-1-1/tandem.inp");
  const Result res = solve(in.system, {1, 1});
  const PhaseSpace ps = phase_space(res);
  const Zone* l4 = nullptr;
  for (const Zone& z : ps.zones) {
    if (z.equilibrium_index == 60) {
      l4 = &z;
    }
  }
  ASSERT_NE(l4, nullptr);
  EXPECT_NEAR(l4->barrier_sigma, 180, 1);
  EXPECT_GT(l4->sigma_min, 20);  // the tadpole's far end, 23.9 degrees in the
  EXPECT_LT(l4->sigma_min, 27);  // restricted problem at small e
  EXPECT_FALSE(l4->close_encounter);
  EXPECT_EQ(l4->horseshoe_with.size(), 1u);
  EXPECT_TRUE(l4->horseshoe_close_encounter);
  // Small amplitudes: the program's five-point curvature at the grid point against the
  // interpolant's at its minimum. They differ by the stencil's error, (h^2/3) R'''' from
  // the fourth difference, and by R''' times the distance between the two points; the
  // period by half the relative difference.
  const auto& f = res.curve.r;
  const int i = 60;
  const double program_period = res.curve.period_years[i];
  const double h = g2r;
  const double r4 =
      (f[i + 2] - 4 * f[i + 1] + 6 * f[i] - 4 * f[i - 1] + f[i - 2]) / (h * h * h * h);
  const double r3 = (f[i + 2] - 2 * f[i + 1] + 2 * f[i - 1] - f[i - 2]) / (2 * h * h * h);
  const double r2 = (f[i + 2] - 2 * f[i] + f[i - 2]) / (4 * h * h);
  const double bound =
      (std::fabs(r4) * h * h / 3 + std::fabs(r3) * std::fabs(l4->sigma - i) * h) / r2 / 2;
  EXPECT_LT(std::fabs(l4->small_amplitude_period_years / program_period - 1), 1.5 * bound)
      << l4->small_amplitude_period_years << " " << program_period << " bound " << bound;
}

// The quadrature rule against exact moments: Kronrod exact to degree 22, Gauss to 13.
TEST(PhaseSpace, GaussKronrodMoments) {
  for (int k = 0; k <= 22; ++k) {
    const auto f = [k](double x) { return std::pow(x, k); };
    const phase::RulePair r = phase::gauss_kronrod15(f, -1.0, 1.0);
    const double exact = k % 2 == 0 ? 2.0 / (k + 1) : 0.0;
    EXPECT_NEAR(r.kronrod, exact, 1e-15) << k;
    if (k <= 13) {
      EXPECT_NEAR(r.gauss, exact, 1e-15) << k;
    }
  }
}

}  // namespace
}  // namespace tandem
