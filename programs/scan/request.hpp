#pragma once
// What a scan computes, as the command line asks for it: an explicit list of resonances
// (3:2 5:3 1:1) or an enumeration (every reduced K2:K1 with K2 >= K1 >= 1 whose order
// K2 - K1 and K2 lie in their ranges and whose placed semi-major axis, au, or period
// ratio K2/K1 lies in a window), and which planet is put at exact resonance.
//
// The parsers take the texts of the options and return the value, or the reason the text
// is refused (one line, for the usage error). A single K2:K1 is parsed by the programs'
// common parser, which tandem-verify shares.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/resonance_arg.hpp"

namespace tandem::scan {

// Which planet goes to exact resonance. planet1: as the console program does, from
// planet 2's a. planet2: planet 1 keeps the a of the file and planet 2 is placed, for
// bodies outside a planet.
enum class Placement { planet1, planet2 };

// The resonance as the programs take it, whole K2 and K1 (common/resonance_arg.hpp).
using common::parse_resonance;  // "3:2"
using common::resonance_text;   // "3:2"
using common::ResonancePair;

// What the enumeration window bounds: the placed planet's semi-major axis at exact
// resonance (a1 with planet 1 placed, a2 with planet 2 placed), or K2/K1.
enum class WindowAxis { a1, a2, ratio };

struct Enumeration {
  int order_min = 0;  // K2 - K1, both ends included
  int order_max = 49;
  int max_k2 = 50;
  WindowAxis axis = WindowAxis::a1;
  double lo = 0;  // both ends included
  double hi = 0;
};

struct ScanRequest {
  std::variant<std::vector<ResonancePair>, Enumeration> what;
  Placement placement = Placement::planet1;
};

// Part I of N: the resonances whose 1-based index i has (i - 1) mod N == I - 1.
struct Shard {
  int index = 1;
  int count = 1;
};

template <typename T>
using Parsed = std::variant<T, std::string>;  // the value, or why the text is refused

Parsed<std::vector<ResonancePair>> parse_resonances(const std::vector<std::string>& texts);
Parsed<Enumeration> parse_window(std::string_view option, std::string_view text);  // "3:4.6"
Parsed<std::pair<int, int>> parse_order(std::string_view text);                    // "1-3" or "2"
Parsed<Shard> parse_shard(std::string_view text);                                  // "2/4"
Parsed<Placement> parse_placement(std::string_view text);  // "planet1", "planet2"

std::string placement_text(Placement p);  // "planet1"

}  // namespace tandem::scan
