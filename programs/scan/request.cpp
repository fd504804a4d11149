#include "scan/request.hpp"

#include <charconv>
#include <cmath>

namespace tandem::scan {
namespace {

std::optional<int> whole(std::string_view text) {
  int n = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), n);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return n;
}

std::optional<double> real(std::string_view text) {
  double x = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), x);
  if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return x;
}

// Splits "A<sep>B" at the first separator; nothing when it has none.
std::optional<std::pair<std::string_view, std::string_view>> split(std::string_view text,
                                                                   char separator) {
  const auto at = text.find(separator);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  return std::pair{text.substr(0, at), text.substr(at + 1)};
}

std::string quoted(std::string_view text) {
  std::string out(1, '\'');
  out += text;
  out += '\'';
  return out;
}

}  // namespace

std::string placement_text(Placement p) {
  return p == Placement::planet1 ? "planet1" : "planet2";
}

Parsed<std::vector<ResonancePair>> parse_resonances(const std::vector<std::string>& texts) {
  std::vector<ResonancePair> list;
  for (const std::string& text : texts) {
    const auto parsed = parse_resonance(text);
    if (const auto* why = std::get_if<std::string>(&parsed)) {
      return *why;
    }
    const ResonancePair r = std::get<ResonancePair>(parsed);
    for (const ResonancePair& earlier : list) {
      if (earlier == r) {
        return "resonance " + resonance_text(r) + " is given twice";
      }
    }
    list.push_back(r);
  }
  return list;
}

Parsed<Enumeration> parse_window(std::string_view option, std::string_view text) {
  Enumeration e;
  e.axis = option == "--a1"   ? WindowAxis::a1
           : option == "--a2" ? WindowAxis::a2
                              : WindowAxis::ratio;
  const auto parts = split(text, ':');
  const auto lo = parts ? real(parts->first) : std::nullopt;
  const auto hi = parts ? real(parts->second) : std::nullopt;
  if (!lo || !hi) {
    return std::string(option) + " " + quoted(text) + " is not of the form LO:HI (e.g. " +
           std::string(option) + (e.axis == WindowAxis::ratio ? " 1.2:2.3)" : " 3.0:4.6)");
  }
  if (!(std::isfinite(*lo) && std::isfinite(*hi) && *lo > 0 && *lo <= *hi)) {
    return std::string(option) + " " + quoted(text) + ": the window needs 0 < LO <= HI";
  }
  e.lo = *lo;
  e.hi = *hi;
  return e;
}

Parsed<std::pair<int, int>> parse_order(std::string_view text) {
  const auto parts = split(text, '-');
  const auto lo = whole(parts ? parts->first : text);
  const auto hi = whole(parts ? parts->second : text);
  if (!lo || !hi) {
    return "--order " + quoted(text) + " is not of the form MIN-MAX (e.g. --order 1-3)";
  }
  if (*lo < 0 || *lo > *hi || *hi > common::max_k2 - 1) {
    return "--order " + quoted(text) + ": the orders need 0 <= MIN <= MAX <= 49";
  }
  return std::pair{*lo, *hi};
}

Parsed<Shard> parse_shard(std::string_view text) {
  const auto parts = split(text, '/');
  const auto i = parts ? whole(parts->first) : std::nullopt;
  const auto n = parts ? whole(parts->second) : std::nullopt;
  if (!i || !n) {
    return "--shard " + quoted(text) + " is not of the form I/N (e.g. --shard 2/4)";
  }
  if (*n < 1 || *i < 1 || *i > *n) {
    return "--shard " + quoted(text) + ": the part needs 1 <= I <= N";
  }
  return Shard{*i, *n};
}

Parsed<Placement> parse_placement(std::string_view text) {
  if (text == "planet1") {
    return Placement::planet1;
  }
  if (text == "planet2") {
    return Placement::planet2;
  }
  return "--place " + quoted(text) + ": the placed planet is planet1 or planet2";
}

}  // namespace tandem::scan
