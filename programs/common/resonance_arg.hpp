#pragma once
// The resonance argument K2:K1 of the tandem programs (tandem-scan, tandem-verify): two
// whole numbers with 1 <= K1 <= K2 <= 50, as "3:2" or "1:1".
//
// The programs take whole numbers only, so every resonance they compute has an angle of
// the real motion sigma = K1*lambda1 - K2*lambda2 + (K2 - K1)*varpi1 (what tandem::verify
// needs); the console program alone takes other values. K2 is bounded because one
// resonant cycle holds 1000*K2 samples per sigma value.
//
// A refusal is one line naming the text, for the usage error:
//   resonance '3/2' is not of the form K2:K1 (e.g. 3:2)
//   resonance '3.5:2': K2 and K1 must be whole numbers (e.g. 3:2)
//   resonance '3:0': K1 must be at least 1
//   resonance '2:3': K2 must be at least K1
//   resonance '51:50': K2 must be at most 50

#include <string>
#include <string_view>
#include <variant>

#include "tandem/system.hpp"

namespace tandem::common {

inline constexpr int max_k2 = 50;

struct ResonancePair {
  int k2 = 0;
  int k1 = 0;
  friend bool operator==(const ResonancePair&, const ResonancePair&) = default;
};

// The resonance, or the one-line reason the text is refused.
std::variant<ResonancePair, std::string> parse_resonance(std::string_view text);

std::string resonance_text(const ResonancePair& r);  // "3:2"

// The library's form of the same resonance.
Resonance as_resonance(const ResonancePair& r);

}  // namespace tandem::common
