#pragma once
// The 9-character labels of the table and the equilibrium lines, from the result's flags.

#include <string_view>

#include "tandem/result.hpp"

namespace tandem {

inline constexpr std::string_view blank_label = "         ";
inline constexpr std::string_view close_enc_label = "CLOSE ENC";
inline constexpr std::string_view stable_label = "E. STABLE";
inline constexpr std::string_view unstable_label = " UNSTABLE";

inline std::string_view close_encounter_text(bool close) {
  return close ? close_enc_label : blank_label;
}

inline std::string_view equilibrium_text(EquilibriumKind kind) {
  switch (kind) {
    case EquilibriumKind::stable:
      return stable_label;
    case EquilibriumKind::unstable:
      return unstable_label;
    default:
      return blank_label;
  }
}

}  // namespace tandem
