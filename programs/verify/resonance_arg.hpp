#pragma once
// The resonance argument K2:K1 of tandem-verify: two whole numbers, 1 <= K1 <= K2 <= 50.
// The refusals use the words of tandem-scan for the same argument.

#include <string>
#include <string_view>
#include <variant>

#include "tandem/system.hpp"

namespace tandem::verify_cli {

// The resonance, or the one-line reason it is refused.
std::variant<Resonance, std::string> parse_resonance(std::string_view text);

}  // namespace tandem::verify_cli
