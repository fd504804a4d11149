// The order in which the threads take the sigma grid.

#include "resonance/sigma_order.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>

namespace tandem {
namespace {

bool is_permutation_of_grid(const std::array<int, isimax>& order) {
  std::array<int, isimax> grid;
  std::iota(grid.begin(), grid.end(), 0);
  return std::is_permutation(order.begin(), order.end(), grid.begin());
}

// For k1 = 2 and a whole k2 (1000 samples per revolution of planet 1, 0.36 degrees
// apart), planet 1's longitudes at sigma and sigma + d differ by d/2 degrees, which is a
// whole number of samples exactly when d is a multiple of 18: the grid falls into 18
// classes of 20 values each, to be taken one class after the other.
TEST(SigmaOrder, ValuesThatShareAnomaliesComeTogether) {
  for (const double k2 : {3.0, 7.0}) {
    const std::array<int, isimax> order = sigma_visit_order(2.0, k2, 30.0, 1000 * int(k2));
    ASSERT_TRUE(is_permutation_of_grid(order));
    for (int n = 0; n < isimax; ++n) {
      EXPECT_EQ(order[n] % 18, order[n - n % 20] % 18) << "k2 = " << k2 << ", position " << n;
    }
  }
}

TEST(SigmaOrder, GridOrderWhereNoRevolutionIsAWholeNumberOfSamples) {
  std::array<int, isimax> grid;
  std::iota(grid.begin(), grid.end(), 0);
  EXPECT_EQ(sigma_visit_order(2.5, 3.5, 60.0, 3000), grid);  // 857.14 samples a revolution
  EXPECT_EQ(sigma_visit_order(2.0, 3.0, 60.0, 0), grid);
  EXPECT_TRUE(is_permutation_of_grid(sigma_visit_order(49.0, 50.0, 60.0, 50000)));
}

}  // namespace
}  // namespace tandem
