// The K2:K1 argument that tandem-scan and tandem-verify share, and its refusals, which
// both programs print after their name.

#include "common/resonance_arg.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <variant>

namespace tandem::common {
namespace {

TEST(ResonanceArgument, WholeNumbersOrTheReasonInOneLine) {
  const auto ok = parse_resonance("3:2");
  ASSERT_TRUE(std::holds_alternative<ResonancePair>(ok));
  EXPECT_EQ(std::get<ResonancePair>(ok).k2, 3);
  EXPECT_EQ(std::get<ResonancePair>(ok).k1, 2);
  const std::pair<const char*, const char*> refused[] = {
      {"3/2", "resonance '3/2' is not of the form K2:K1 (e.g. 3:2)"},
      {"3.5:2", "resonance '3.5:2': K2 and K1 must be whole numbers (e.g. 3:2)"},
      {"2:3", "resonance '2:3': K2 must be at least K1"},
      {"3:0", "resonance '3:0': K1 must be at least 1"},
      {"51:50", "resonance '51:50': K2 must be at most 50"}};
  for (const auto& [text, why] : refused) {
    const auto got = parse_resonance(text);
    ASSERT_TRUE(std::holds_alternative<std::string>(got)) << text;
    EXPECT_EQ(std::get<std::string>(got), why);
  }
}

}  // namespace
}  // namespace tandem::common
