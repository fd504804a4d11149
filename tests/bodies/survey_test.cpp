// One body's survey: the critical angles, the barycentric elements, the candidates and
// where real and synthetic bodies sit.

#include <gtest/gtest.h>

#include <cmath>

#include "bodies/angles.hpp"
#include "bodies/barycentric.hpp"
#include "tandem/survey.hpp"

namespace tandem {
namespace {

using bodies::Side;

double wrap(double x) {
  return x - 360.0 * std::floor(x / 360.0);
}

TEST(CriticalAngles, PhiAndSigmaAgreeWithTheirDefinitions) {
  // Arbitrary longitudes; sigma = K1*lambda1 - K2*lambda2 + (K2 - K1)*varpi1 written out with
  // the body as planet 1 (inside) or planet 2 (outside).
  const double lam = 123.4, varpi = 56.7, lam_p = 301.2, varpi_p = 14.9;
  for (const auto& [k2, k1] : {std::pair{3, 2}, std::pair{7, 4}, std::pair{1, 1}}) {
    const double sigma_in = wrap(k1 * lam - k2 * lam_p + (k2 - k1) * varpi);
    const double sigma_out = wrap(k1 * lam_p - k2 * lam + (k2 - k1) * varpi_p);
    const auto in = bodies::angle_map(k2, k1, Side::inside, varpi, varpi_p);
    const auto out = bodies::angle_map(k2, k1, Side::outside, varpi, varpi_p);
    const double phi_in = bodies::critical_phi(k2, k1, Side::inside, lam, varpi, lam_p);
    const double phi_out = bodies::critical_phi(k2, k1, Side::outside, lam, varpi, lam_p);
    EXPECT_NEAR(bodies::sigma_of_phi(in, phi_in), sigma_in, 1e-9) << k2 << ":" << k1;
    EXPECT_NEAR(bodies::sigma_of_phi(out, phi_out), sigma_out, 1e-9) << k2 << ":" << k1;
    EXPECT_NEAR(bodies::phi_of_sigma(out, sigma_out), phi_out, 1e-9) << k2 << ":" << k1;
  }
  // The Hildas' and the Plutinos' conventions.
  EXPECT_NEAR(bodies::critical_phi(3, 2, Side::inside, lam, varpi, lam_p),
              wrap(3 * lam_p - 2 * lam - varpi), 1e-9);
  EXPECT_NEAR(bodies::critical_phi(3, 2, Side::outside, lam, varpi, lam_p),
              wrap(3 * lam - 2 * lam_p - varpi), 1e-9);
  EXPECT_NEAR(bodies::critical_phi(1, 1, Side::inside, lam, varpi, lam_p), wrap(lam - lam_p), 1e-9);
}

TEST(Barycentric, BodyOppositeAPlanetOnCircularOrbits) {
  // Star 1, planet of mass m at (ap, 0, 0) moving +y; body at (-r, 0, 0) moving -y, both on
  // circular heliocentric orbits. About the barycentre R = m*ap/(1+m) on +x, V = m*vp/(1+m)
  // on +y, the body is at distance r + R with speed v + V, perpendicular: an apse, so
  // a = 1/(2/(r+R) - (v+V)^2/mu), mu = k^2*(1+m), e = |1 - (r+R)*(v+V)^2/mu|.
  const double k2g = 0.01720209895 * 0.01720209895;
  const double m = 1e-3, ap = 5.0, r = 40.0;
  const double vp = std::sqrt(k2g * (1 + m) / ap), v = std::sqrt(k2g / r);
  const double big_r = m * ap / (1 + m), big_v = m * vp / (1 + m);
  const double mu = k2g * (1 + m);
  const double rr = r + big_r, vv = v + big_v;
  const double a = 1 / (2 / rr - vv * vv / mu);
  const double e = std::fabs(1 - rr * vv * vv / mu);

  const Body planet{"P", 0, ap, 0, 0, 0, 0, 0, m};
  const Body body{"B", 0, r, 0, 0, 0, 0, 180, {}};
  const auto out = bodies::recentre(body, 0.0, {planet}, {true}, 1.0);
  EXPECT_NEAR(out.body.a, a, 1e-9 * a);
  EXPECT_NEAR(out.body.e, e, 1e-9);
  EXPECT_NEAR(out.central_mass, 1 + m, 1e-15);
  EXPECT_NEAR(wrap(out.body.node + out.body.argperi + out.body.mean_anomaly), 180, 1e-7);
  // Nothing folded: the heliocentric elements come back.
  const auto same = bodies::recentre(body, 0.0, {planet}, {false}, 1.0);
  EXPECT_NEAR(same.body.a, r, 1e-9);
}

// Pluto's row of the MPC's Distant.txt (orbit at 2019-04-27; credit: the MPC).
const Body pluto{"(134340) Pluto", 2458600.5, 39.8461085, 0.2537532, 17.10337,
                 110.29733,        115.01131, 41.54710,   {}};

TEST(SurveyBody, PlutoLibratesAbout180InThe3To2AndItsWidthIgnoresItsMass) {
  SurveyOptions o;
  o.max_k2 = 6;
  const auto rows = survey_body(pluto, standard_planets(), o);
  const SurveyRow* r32 = nullptr;
  for (const auto& r : rows) {
    EXPECT_LE(std::fabs(r.delta_a), 0.5 + 0.05);  // within the window (about a_res)
    if (r.k2 == 3 && r.k1 == 2) {
      r32 = &r;
    }
  }
  ASSERT_NE(r32, nullptr);
  EXPECT_EQ(r32->perturber, "Neptune");
  EXPECT_EQ(r32->side, SurveySide::outside);
  EXPECT_TRUE(r32->pendulum_zone);
  ASSERT_FALSE(r32->stable_phi.empty());
  EXPECT_NEAR(r32->stable_phi[0], 180, 3);
  // Its zone, as phi, is centred on that point (the interpolant's minimum, within a grid
  // step) and holds Pluto's phi (a libration of about 80 degrees about 180); one well, so
  // its width is close to the program's global one.
  ASSERT_EQ(r32->zones.size(), r32->stable_phi.size());
  EXPECT_NEAR(r32->zones[0].centre, r32->stable_phi[0], 1);
  EXPECT_LT(r32->zones[0].phi_min, r32->phi);
  EXPECT_GT(r32->zones[0].phi_max, r32->phi);
  EXPECT_GT(r32->zones[0].width, 0);
  EXPECT_NEAR(r32->zones[0].width / r32->width, 1, 0.02);
  // Pluto's phi swings 180 +- 80 degrees; barycentric a about 39.5 au. The 3:2 lies where
  // the period is 3/2 of Neptune's observed one (the table's 218.45945325 degrees per
  // century) about the Sun and Mercury to Uranus: 39.4030 au by Kepler's third law.
  EXPECT_NEAR(r32->phi, 180, 85);
  EXPECT_NEAR(r32->a, 39.5, 0.1);
  EXPECT_NEAR(r32->a_res, 39.4030, 0.005);
  // The model's trajectory through Pluto librates about the stable point, and its turning
  // points, converted to phi, enclose Pluto's phi (the conversion's sign and shift).
  EXPECT_EQ(r32->model_regime, Regime::libration);
  EXPECT_NEAR(r32->model_centre, r32->stable_phi[0], 2);
  EXPECT_LE(r32->model_phi_min, r32->phi);
  EXPECT_GE(r32->model_phi_max, r32->phi);
  EXPECT_NEAR(r32->model_amplitude, (r32->model_phi_max - r32->model_phi_min) / 2, 1e-9);
  EXPECT_FALSE(r32->close_encounter);

  SurveyOptions lighter = o;
  lighter.body_mass = 1e-14;
  const auto light = survey_body(pluto, standard_planets(), lighter);
  ASSERT_EQ(light.size(), rows.size());
  for (std::size_t k = 0; k < rows.size(); ++k) {
    EXPECT_NEAR(light[k].width, rows[k].width, 1e-6 * rows[k].width) << rows[k].k2;
    EXPECT_NEAR(light[k].a_res, rows[k].a_res, 1e-9);
  }
}

TEST(SurveyBody, AHildaLikeBodyInsideJupiterLibratesAboutZero) {
  // A made-up body near the Hildas' 3:2 (a = 3.97 au, e = 0.2), its phi at 0 at the
  // epoch: Jupiter is the perturber, the body inside, phi = 3*lambda_J - 2*lambda - varpi.
  SurveyOptions o;
  o.max_k2 = 5;
  o.order_min = 1;
  o.order_max = 1;
  o.window_au = 0.1;
  o.elements = ElementsKind::heliocentric;
  const Planets planets = standard_planets();
  const Body jupiter = planets_at(planets, 2451545.0)[4];
  const double lambda_j = jupiter.node + jupiter.argperi + jupiter.mean_anomaly;
  const double varpi = 40.0;
  const double lambda = (3 * lambda_j - varpi) / 2;  // phi = 0
  const Body hilda{"hilda-like",         2451545.0, 3.97, 0.2, 5.0, 10.0, varpi - 10.0,
                   wrap(lambda - varpi), {}};
  const auto rows = survey_body(hilda, planets, o);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].perturber, "Jupiter");
  EXPECT_EQ(rows[0].side, SurveySide::inside);
  EXPECT_EQ(rows[0].k2, 3);
  EXPECT_NEAR(std::remainder(rows[0].phi, 360.0), 0, 1e-6);
  ASSERT_FALSE(rows[0].stable_phi.empty());
  EXPECT_NEAR(std::remainder(rows[0].stable_phi[0], 360.0), 0, 20);
  EXPECT_TRUE(rows[0].pendulum_zone);
}

}  // namespace
}  // namespace tandem
