// Reusing planet 1's states, interleaving its solutions and taking the grid in another
// order are for speed only: the curve must be the plain evaluation's bit for bit, on any
// number of threads and whatever the cache's size (a tiny one evicts all the time).

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "resonance/rsigma.hpp"
#include "support/exact.hpp"

namespace tandem {
namespace {

::testing::AssertionResult same_curve(const RCurve& got, const RCurve& plain) {
  for (int i = 0; i < isimax; ++i) {
    if (std::bit_cast<std::uint64_t>(got.rp[i]) != std::bit_cast<std::uint64_t>(plain.rp[i]) ||
        std::bit_cast<std::uint64_t>(got.md[i]) != std::bit_cast<std::uint64_t>(plain.md[i]) ||
        got.sma[i] != plain.sma[i] || got.ace[i] != plain.ace[i]) {
      return ::testing::AssertionFailure()
             << "sigma " << i << ": rp " << testing::digits17(got.rp[i]) << " vs plain "
             << testing::digits17(plain.rp[i]) << ", md " << testing::digits17(got.md[i]) << " vs "
             << testing::digits17(plain.md[i]) << ", close " << got.ace[i] << " vs "
             << plain.ace[i];
    }
  }
  return ::testing::AssertionSuccess();
}

struct Case {
  const char* name;
  PlanetarySystem sys;
  Resonance res;
};

TEST(RSigmaMethods, EveryMethodGivesThePlainCurveBitForBit) {
  const Case cases[] = {
      {"hilda 3:2 (k1 = 2: the grid taken class by class)",
       {1.0, {3.97, 0.10, 5.0, 100.0, 30.0, 1.0e-9}, {5.2, 0.048, 1.3, 100.5, 14.7, 9.5e-4}},
       {3.0, 2.0}},
      {"e1 = 0.9 2:1, crossing orbits with close encounters",
       {1.0, {0.6, 0.9, 20.0, 30.0, -60.0, 3.0e-6}, {1.0, 0.6, 0.5, 100.0, 15.0, 1.0e-3}},
       {2.0, 1.0}},
      {"e1 = 0.35 inclined 4:3",
       {0.8, {1.0, 0.35, 12.0, 200.0, 400.0, 3.0e-4}, {1.0, 0.3, 2.0, 15.0, 95.0, 8.0e-4}},
       {4.0, 3.0}},
      {"non-whole 3.5:2.5 (grid order)",
       {1.0, {1, 0.2, 1.0, 30.0, 60.0, 1.0e-4}, {1.5, 0.1, 0.5, 100.0, 15.0, 3.0e-4}},
       {3.5, 2.5}},
  };
  const Planet1Method reuse_only{true, false, planet1_cache_bits};
  const Planet1Method interleave_only{false, true, planet1_cache_bits};
  const Planet1Method tiny_cache{true, true, 3};
  for (const Case& c : cases) {
    const OrbitSetup o = setup_orbits(c.sys, c.res);
    const RCurve plain = evaluate_rsigma(c.sys, c.res, o, 1, plain_planet1);
    const auto samples = static_cast<std::uint64_t>(isimax) * o.ipasos;
    for (const unsigned threads : {1U, 2U, 3U}) {
      CacheCounts counts;
      EXPECT_TRUE(same_curve(evaluate_rsigma(c.sys, c.res, o, threads, {}, &counts), plain))
          << c.name << ", " << threads << " threads";
      EXPECT_EQ(counts.samples, samples) << c.name;
      EXPECT_GT(counts.hits, samples / 10) << c.name << ": the cache must be exercised";
    }
    EXPECT_TRUE(same_curve(evaluate_rsigma(c.sys, c.res, o, 2, reuse_only), plain)) << c.name;
    EXPECT_TRUE(same_curve(evaluate_rsigma(c.sys, c.res, o, 2, tiny_cache), plain)) << c.name;
    CacheCounts none;
    EXPECT_TRUE(same_curve(evaluate_rsigma(c.sys, c.res, o, 2, interleave_only, &none), plain))
        << c.name;
    EXPECT_EQ(none.hits, 0U) << c.name;
    EXPECT_TRUE(same_curve(evaluate_rsigma(c.sys, c.res, o, 3, plain_planet1), plain)) << c.name;
  }
}

}  // namespace
}  // namespace tandem
