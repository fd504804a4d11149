// The enumeration against an independent count: every pair K2 >= K1 reduced by its common
// divisor, duplicates dropped, filtered by order, K2 and window; and the catalogue order
// against Kepler's third law evaluated here. --shard takes every N-th of the list.

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <set>
#include <sstream>

#include "scan_process.hpp"
#include "support/program_run.hpp"

namespace tandem::testing {
namespace {

struct Listed {
  int k2 = 0, k1 = 0;
  double a = 0;
};

std::vector<Listed> listed(const std::string& out) {
  std::vector<Listed> list;
  for (const std::string& line : lines_of(out)) {
    std::istringstream in(line);
    std::string place, resonance, order_word, a_word;
    int order = 0;
    double a = 0;
    in >> place >> resonance >> order_word >> order >> a_word >> a;
    const int k2 = std::stoi(resonance);
    const int k1 = std::stoi(resonance.substr(resonance.find(':') + 1));
    EXPECT_EQ(order, k2 - k1) << line;
    list.push_back({k2, k1, a});
  }
  return list;
}

// Every reduced K2:K1 up to max_k2 within the orders, found by reducing all pairs.
std::set<std::pair<int, int>> reduced_pairs(int max_k2, int order_min, int order_max) {
  std::set<std::pair<int, int>> pairs;
  for (int p = 1; p <= max_k2; ++p) {
    for (int q = 1; q <= p; ++q) {
      const int g = std::gcd(p, q);
      const int k2 = p / g, k1 = q / g;
      if (k2 - k1 >= order_min && k2 - k1 <= order_max) {
        pairs.insert({k2, k1});
      }
    }
  }
  return pairs;
}

class EnumerationTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_.write("tandem.inp", example_file("hilda-3-2", "tandem.inp")); }
  ScratchDir dir_;
};

TEST_F(EnumerationTest, RatioWindowHoldsEveryReducedResonanceInIt) {
  const ScanOutcome o =
      run_scan(dir_.path(), {"--ratio", "1.25:2.5", "--max-k2", "20", "--order", "1-5", "--list"});
  ASSERT_EQ(o.status, 0) << o.err;
  std::set<std::pair<int, int>> expected;
  for (const auto& [k2, k1] : reduced_pairs(20, 1, 5)) {
    if (k2 >= 1.25 * k1 && k2 <= 2.5 * k1) {
      expected.insert({k2, k1});
    }
  }
  std::set<std::pair<int, int>> got;
  for (const Listed& l : listed(o.out)) {
    EXPECT_TRUE(got.insert({l.k2, l.k1}).second) << l.k2 << ":" << l.k1 << " twice";
  }
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(got.count({5, 4}) == 1 && got.count({5, 2}) == 1);  // the ends are in the window
}

TEST_F(EnumerationTest, AxisWindowInIncreasingA1ByKeplersLaw) {
  const ScanOutcome o = run_scan(dir_.path(), {"--a1", "3.0:4.6", "--order", "0-4", "--list"});
  ASSERT_EQ(o.status, 0) << o.err;
  // a1 = a2 ((M + m1)/(M + m2))^(1/3) (K1/K2)^(2/3) for the Hilda example's masses.
  const double scale = 5.2 * std::cbrt((1.0 + 1e-9) / (1.0 + 9.5e-4));
  std::vector<std::pair<double, std::pair<int, int>>> expected;
  for (const auto& [k2, k1] : reduced_pairs(50, 0, 4)) {
    const double a1 = scale * std::pow(static_cast<double>(k1) / k2, 2.0 / 3);
    ASSERT_GT(std::fabs(a1 - 3.0), 1e-6);  // no resonance on the edges of the window
    ASSERT_GT(std::fabs(a1 - 4.6), 1e-6);
    if (a1 >= 3.0 && a1 <= 4.6) {
      expected.push_back({a1, {k2, k1}});
    }
  }
  std::sort(expected.begin(), expected.end());
  const std::vector<Listed> got = listed(o.out);
  ASSERT_EQ(got.size(), expected.size());
  EXPECT_GT(got.size(), 10U);
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(std::pair(got[i].k2, got[i].k1), expected[i].second) << i;
    EXPECT_NEAR(got[i].a, expected[i].first, 1e-12 * expected[i].first);
  }
  // Part 2 of 5 is the 2nd, 7th, 12th, ... of the list, with their places in it.
  const ScanOutcome part =
      run_scan(dir_.path(), {"--a1", "3.0:4.6", "--order", "0-4", "--list", "--shard", "2/5"});
  const auto all_lines = lines_of(o.out);
  std::vector<std::string> every_fifth;
  for (std::size_t i = 1; i < all_lines.size(); i += 5) {
    every_fifth.push_back(all_lines[i]);
  }
  EXPECT_EQ(lines_of(part.out), every_fifth);
}

TEST_F(EnumerationTest, EmptyWindowIsAnEmptyCatalogue) {
  const ScanOutcome o = run_scan(dir_.path(), {"--a1", "10:20"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(lines_of(o.out).size(), 1U);  // the header row alone
  EXPECT_NE(o.err.find("no resonance lies in the window"), std::string::npos);
}

}  // namespace
}  // namespace tandem::testing
