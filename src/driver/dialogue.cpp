#include "driver/dialogue.hpp"

#include <cmath>

#include "textio/unit_numbers.hpp"

namespace tandem {

std::optional<std::string_view> refusal(const std::optional<double>& k2,
                                        const std::optional<double>& k1) {
  if (!k2 || !k1)
    return "GIVE TWO NUMBERS, K2 AND K1";
  if (!std::isfinite(*k2) || !std::isfinite(*k1))
    return "K2 AND K1 MUST BE FINITE";
  if (*k2 < *k1)
    return "I SAID K2 >= K1";
  if (*k1 <= 0)
    return "K1 MUST BE > 0";
  if (*k2 < 1)
    return "K2 MUST BE >= 1";
  if (std::trunc(*k2) > max_k2_whole_part)
    return "K2 MUST BE BELOW 51";
  return std::nullopt;
}

Resonance ask_resonance(textio::RecordLayer& io) {
  // Values survive from one answer to the next, so that a null value or a slash keeps
  // what an earlier answer gave.
  std::optional<double> k2;
  std::optional<double> k1;
  for (;;) {
    io.write_list(textio::unit_screen, {"RESONANCE K2:K1 ? (K2 >= K1)"});
    io.write_list(textio::unit_screen, {"(ex. 3,2 for hildas or plutinos, <50,50)"});
    io.read_list(textio::unit_keyboard, {&k2, &k1});
    const auto why = refusal(k2, k1);
    if (!why)
      return Resonance{*k2, *k1};
    io.write_list(textio::unit_screen, {*why});
  }
}

}  // namespace tandem
