// The interleaved solver must hand back exactly what solkep returns, for every anomaly,
// whichever lane solves it and however many anomalies share the call.

#include "resonance/kepler_lanes.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orbit/constants.hpp"
#include "orbit/kepler.hpp"
#include "support/exact.hpp"

namespace tandem {
namespace {

void expect_as_solkep(double ex, const std::vector<double>& m) {
  std::vector<double> e(m.size(), -1.0);
  solve_kepler_interleaved(ex, m.data(), e.data(), m.size());
  for (std::size_t k = 0; k < m.size(); ++k) {
    const double want = solkep(ex, m[k]).e;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(e[k]), std::bit_cast<std::uint64_t>(want))
        << "e = " << ex << ", M = " << testing::digits17(m[k]) << ": " << testing::digits17(e[k])
        << " vs solkep " << testing::digits17(want);
  }
}

TEST(KeplerLanes, EveryAnomalyAsSolkepGivesIt) {
  // Eccentricities from circular to where the start E = M needs hundreds of steps (and a
  // lane hands the anomaly to solkep), anomalies over the whole range the callers pass.
  for (const double ex : {0.0, 0.05, 0.3, 0.6, 0.85, 0.95, 0.99, 0.9999}) {
    std::vector<double> m;
    for (int k = 0; k < 2001; ++k) {
      m.push_back(-twopi + (k + 0.25) * (2 * twopi / 2001));
    }
    m.push_back(0.0);
    m.push_back(-0.0);
    m.push_back(6.2831765821795864);  // iterates that repeat at e = 0.9999
    expect_as_solkep(ex, m);
  }
}

TEST(KeplerLanes, CallsOfAnySizeAndNonFiniteAnomalies) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  expect_as_solkep(0.3, {});
  expect_as_solkep(0.3, {1.0});
  expect_as_solkep(0.3, {1.0, nan, -2.0, inf, 3.0});
  expect_as_solkep(1.5, {0.5, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0});  // outside the domain
}

}  // namespace
}  // namespace tandem
