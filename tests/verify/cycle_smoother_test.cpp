#include "verify/cycle_smoother.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "orbit/constants.hpp"

namespace tandem::nbody {
namespace {

TEST(CycleSmoother, TermsPeriodicOverTheCycleAverageOut) {
  // x(t) = 3 + 0.5 t + terms of 1, 2 and 7 per cycle, 32 samples to the cycle: the mean over
  // the cycle centred on t is 3 + 0.5 t, at every window, also past many cycles.
  const int count = 32;
  CycleSmoother s(count);
  for (int k = 0; k <= 40 * count; ++k) {
    const double t = static_cast<double>(k) / count;
    s.push(3 + 0.5 * t + std::sin(twopi * t) + 0.3 * std::cos(2 * twopi * t + 1) +
           0.1 * std::sin(7 * twopi * t));
    EXPECT_EQ(s.full(), k >= count);
    if (s.full()) {
      const double middle = t - 0.5;
      ASSERT_NEAR(s.mean(), 3 + 0.5 * middle, 1e-12) << "k=" << k;
      EXPECT_NEAR(s.middle(),
                  3 + 0.5 * middle + std::sin(twopi * middle) +
                      0.3 * std::cos(2 * twopi * middle + 1) + 0.1 * std::sin(7 * twopi * middle),
                  1e-12);
    }
  }
}

}  // namespace
}  // namespace tandem::nbody
