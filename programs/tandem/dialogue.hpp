#pragma once
// The console dialogue that asks for the resonance K2:K1.
//
// Asks with two prompt lines and reads K2 and K1 in one list-directed read from the
// keyboard, asking again (with one line saying why) until the answer gives two finite
// values with K2 >= K1, K1 > 0, K2 >= 1 and trunc(K2) <= 50. An answer that leaves a value
// null keeps the value of an earlier answer; in the first answer there is none, and the
// answer is refused. Non-whole values are accepted as typed.

#include <optional>
#include <string>

#include "tandem/system.hpp"
#include "textio/record_layer.hpp"

namespace tandem {

// Why an answer is refused (the line written before asking again); std::nullopt when it
// is accepted.
std::optional<std::string> refusal(const std::optional<double>& k2,
                                   const std::optional<double>& k1);

Resonance ask_resonance(textio::RecordLayer& io);

}  // namespace tandem
