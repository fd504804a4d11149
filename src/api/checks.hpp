#pragma once
// The checks behind tandem::validate, one item at a time, for callers whose values may be
// missing (a file whose null value or slash left an item unset). Items are checked in the
// order of the Item enumeration; for each, presence first, then finiteness, then its range.

#include <optional>
#include <span>

#include "tandem/problem.hpp"

namespace tandem::api {

// One item of the system (star mass or a planet's element): present, finite, and within
// its range (masses and planet 2's semi-major axis positive, 0 <= e < 1). Planet 1's
// semi-major axis is never used and never refused.
std::optional<Problem> check_system_item(Item item, const std::optional<double>& value);

// The resonance as typed: both present and finite, K2 >= K1, K1 > 0, K2 >= 1, trunc(K2) <= 50.
std::optional<Problem> check_resonance(const std::optional<double>& k2,
                                       const std::optional<double>& k1);

// "star mass", "eccentricity of planet 1", ..., "K2": the item as messages name it.
std::string item_name(Item item);

// The shortest text that reads back as the same double; words for non-finite values.
std::string value_text(double v);

}  // namespace tandem::api
