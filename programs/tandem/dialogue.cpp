#include "dialogue.hpp"

#include "api/checks.hpp"
#include "textio/unit_numbers.hpp"

namespace tandem {

std::optional<std::string> refusal(const std::optional<double>& k2,
                                   const std::optional<double>& k1) {
  if (const auto problem = api::check_resonance(k2, k1)) {
    return message(*problem);
  }
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
    io.write_list(textio::unit_screen, {std::string_view(*why)});
  }
}

}  // namespace tandem
