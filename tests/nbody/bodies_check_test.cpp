#include "nbody/bodies_check.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "nbody/barycentric.hpp"
#include "nbody/kepler_drift.hpp"
#include "nbody/vector.hpp"
#include "orbit/constants.hpp"

namespace tandem::nbody {
namespace {

// The planets of JPL's approximate Keplerian elements (E. M. Standish, Table 1, 1800-2050)
// at JD 2458600.5: a, e, I, L, longitude of perihelion, node and rates per century; the
// IAU masses (M_sun).
struct TableRow {
  double v[12];
  double mass;
};
const TableRow planets[] = {
    {{0.38709927, 0.20563593, 7.00497902, 252.25032350, 77.45779628, 48.33076593, 0.00000037,
      0.00001906, -0.00594749, 149472.67411175, 0.16047689, -0.12534081},
     1.6601e-7},
    {{0.72333566, 0.00677672, 3.39467605, 181.97909950, 131.60246718, 76.67984255, 0.00000390,
      -0.00004107, -0.00078890, 58517.81538729, 0.00268329, -0.27769418},
     2.4478e-6},
    {{1.00000261, 0.01671123, -0.00001531, 100.46457166, 102.93768193, 0.0, 0.00000562, -0.00004392,
      -0.01294668, 35999.37244981, 0.32327364, 0.0},
     3.0404e-6},
    {{1.52371034, 0.09339410, 1.84969142, -4.55343205, -23.94362959, 49.55953891, 0.00001847,
      0.00007882, -0.00813131, 19140.30268499, 0.44441088, -0.29257343},
     3.2272e-7},
    {{5.20288700, 0.04838624, 1.30439695, 34.39644051, 14.72847983, 100.47390909, -0.00011607,
      -0.00013253, -0.00183714, 3034.74612775, 0.21252668, 0.20469106},
     9.5479e-4},
    {{9.53667594, 0.05386179, 2.48599187, 49.95424423, 92.59887831, 113.66242448, -0.00125060,
      -0.00050991, 0.00193609, 1222.49362201, -0.41897216, -0.28867794},
     2.8589e-4},
    {{19.18916464, 0.04725744, 0.77263783, 313.23810451, 170.95427630, 74.01692503, -0.00196176,
      -0.00004397, -0.00242939, 428.48202785, 0.40805281, 0.04240589},
     4.3662e-5},
    {{30.06992276, 0.00859048, 1.77004347, -55.12002969, 44.96476227, 131.78422574, 0.00026291,
      0.00005105, 0.00035372, 218.45945325, -0.32241464, -0.00508664},
     5.1514e-5},
};
constexpr int neptune = 7;
constexpr double epoch = 2458600.5;

// The table's elements at a date (JD).
std::vector<Elements> table_at(double jd) {
  const double t = (jd - 2451545.0) / 36525;
  std::vector<Elements> out;
  for (const TableRow& r : planets) {
    double v[6];
    for (int q = 0; q < 6; ++q) {
      v[q] = r.v[q] + r.v[q + 6] * t;
    }
    out.push_back({v[0], v[1], v[2] * g2r, v[5] * g2r, wrap_pi(v[4] * g2r), wrap_pi(v[3] * g2r)});
  }
  return out;
}

CheckSetup setup_with_neptune(double years) {
  CheckSetup s;
  s.epoch_jd = epoch;
  const std::vector<Elements> at = table_at(epoch);
  for (std::size_t k = 0; k < at.size(); ++k) {
    s.planets.push_back({planets[k].mass, at[k], false});
  }
  s.planets[neptune].integrated = true;
  s.planets_at = table_at;
  s.mean_elements = true;
  s.length_years = years;
  return s;
}

// An MPC orbit line's a, e, i, node, argument of perihelion and mean anomaly.
Elements mpc(double a, double e, double i, double node, double arg, double m) {
  return {a, e, i * g2r, node * g2r, wrap_pi((node + arg) * g2r), wrap_pi((node + arg + m) * g2r)};
}

// Pluto and (50000) Quaoar from the Minor Planet Center's Distant.txt (epoch JD 2458600.5):
// Pluto librates in 3:2 about 180 degrees with a period near 20 000 years; Quaoar, a
// classical object, circulates in the 7:4 nearest to it.
std::vector<CheckBody> two_bodies() {
  return {{mpc(39.8461085, 0.2537532, 17.10337, 110.29733, 115.01131, 41.54710),
           epoch,
           {{neptune, 3, 2, false, NAN}}},
          {mpc(43.6917980, 0.0395519, 7.98813, 188.83696, 146.40216, 300.71282),
           epoch,
           {{neptune, 7, 4, false, NAN}}}};
}

TEST(BodiesCheck, PlutoLibratesAndQuaoarDoesNot) {
  const CheckSetup s = setup_with_neptune(60'000);
  const auto out = check_bodies(s, two_bodies());
  ASSERT_EQ(out.size(), 2u);
  const WatchResult& pluto = out[0][0];
  EXPECT_EQ(pluto.decision.verdict, NbodyVerdict::resonant);
  EXPECT_EQ(pluto.stop, StopReason::completed);
  EXPECT_NEAR(pluto.length_years, 60'000, 5);
  EXPECT_EQ(pluto.decision.fraction, 1.0);
  EXPECT_NEAR(pluto.decision.centre_deg, 180, 10);
  EXPECT_GT(pluto.decision.amplitude_deg, 50);
  EXPECT_LT(pluto.decision.amplitude_deg, 135);
  EXPECT_NEAR(pluto.decision.period_years, 20'000, 3000);
  EXPECT_FALSE(pluto.decision.low_eccentricity);

  const WatchResult& quaoar = out[1][0];
  EXPECT_EQ(quaoar.decision.verdict, NbodyVerdict::not_resonant);
  EXPECT_TRUE(quaoar.decision.low_eccentricity);
}

// The bodies share the planets' steps but nothing else: split over two threads they give
// the same numbers, bit for bit.
TEST(BodiesCheck, ThreadsChangeNoBit) {
  CheckSetup s = setup_with_neptune(5'000);
  const auto one = check_bodies(s, two_bodies());
  s.threads = 2;
  const auto two = check_bodies(s, two_bodies());
  for (std::size_t b = 0; b < 2; ++b) {
    const LibrationDecision& x = one[b][0].decision;
    const LibrationDecision& y = two[b][0].decision;
    EXPECT_EQ(x.verdict, y.verdict);
    EXPECT_EQ(std::isnan(x.centre_deg), std::isnan(y.centre_deg));
    if (!std::isnan(x.centre_deg)) {
      EXPECT_EQ(x.centre_deg, y.centre_deg);
      EXPECT_EQ(x.amplitude_deg, y.amplitude_deg);
    }
  }
  // No planet integrated: refused.
  s.planets[neptune].integrated = false;
  EXPECT_THROW(check_bodies(s, two_bodies()), std::invalid_argument);
}

// A body given at another epoch starts where the same body given at the common one does.
// Pluto's heliocentric elements ten years earlier are made here as the check is said to
// undo them: its state about the centre (the Sun with Mercury to Uranus, from the table
// at each date) carried back along its two-body orbit. The two give the same libration to
// rounding; elements taken as they stand at the wrong date would put Pluto 15 degrees
// back along its orbit.
TEST(BodiesCheck, ABodyAtAnotherEpochStartsWithTheOthers) {
  const CheckSetup s = setup_with_neptune(45'000);
  auto centre_at = [](double jd) {
    std::vector<MassiveBody> all;
    const std::vector<Elements> at = table_at(jd);
    for (std::size_t k = 0; k < at.size(); ++k) {
      all.push_back({planets[k].mass, state_from_elements(at[k], kg2 * (1 + planets[k].mass))});
    }
    std::vector<bool> merged(at.size(), true);
    merged[neptune] = false;
    return merged_centre(1.0, all, merged);
  };
  const double earlier = epoch - 3652.5;
  const CheckBody now = two_bodies()[0];
  const Centre c0 = centre_at(epoch);
  const Centre c1 = centre_at(earlier);
  KeplerState st = about_centre(c0, state_from_elements(now.heliocentric, kg2));
  ASSERT_TRUE(kepler_drift(st, kg2 * c0.mass, earlier - epoch));
  const KeplerState helio{st.pos + c1.state.pos, st.vel + c1.state.vel};
  const CheckBody then{elements_from_state(helio, kg2), earlier, now.watches};

  const auto out = check_bodies(s, {now, then});
  const LibrationDecision& x = out[0][0].decision;
  const LibrationDecision& y = out[1][0].decision;
  EXPECT_EQ(x.verdict, NbodyVerdict::resonant);
  EXPECT_EQ(y.verdict, NbodyVerdict::resonant);
  EXPECT_NEAR(x.centre_deg, y.centre_deg, 1e-3);
  EXPECT_NEAR(x.amplitude_deg, y.amplitude_deg, 1e-3);
  EXPECT_NEAR(x.period_years, y.period_years, 1);
}

}  // namespace
}  // namespace tandem::nbody
