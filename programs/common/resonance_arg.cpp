#include "common/resonance_arg.hpp"

#include <charconv>
#include <optional>

namespace tandem::common {
namespace {

std::optional<int> whole(std::string_view text) {
  int n = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return n;
}

}  // namespace

std::variant<ResonancePair, std::string> parse_resonance(std::string_view text) {
  const std::string quoted = "resonance '" + std::string(text) + "'";
  const auto at = text.find(':');
  if (at == std::string_view::npos) {
    return quoted + " is not of the form K2:K1 (e.g. 3:2)";
  }
  const auto k2 = whole(text.substr(0, at));
  const auto k1 = whole(text.substr(at + 1));
  if (!k2 || !k1) {
    return quoted + ": K2 and K1 must be whole numbers (e.g. 3:2)";
  }
  if (*k1 < 1) {
    return quoted + ": K1 must be at least 1";
  }
  if (*k2 < *k1) {
    return quoted + ": K2 must be at least K1";
  }
  if (*k2 > max_k2) {
    return quoted + ": K2 must be at most " + std::to_string(max_k2);
  }
  return ResonancePair{*k2, *k1};
}

std::string resonance_text(const ResonancePair& r) {
  return std::to_string(r.k2) + ":" + std::to_string(r.k1);
}

Resonance as_resonance(const ResonancePair& r) {
  return {static_cast<double>(r.k2), static_cast<double>(r.k1)};
}

}  // namespace tandem::common
