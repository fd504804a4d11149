#include <charconv>
#include <cmath>
#include <string>

#include "api/checks.hpp"
#include "tandem/problem.hpp"

namespace tandem {
namespace api {
namespace {

// Whole part of K2 allowed: one resonant cycle holds 1000*trunc(K2) samples of planet 2,
// and the table has room for 50000.
constexpr double max_k2_whole_part = 50;

bool is_planet1(Item item) {
  return item >= Item::planet1_a && item <= Item::planet1_mass;
}

// The element an item names, whichever planet it belongs to (planet 1's offset).
Item element_of(Item item) {
  if (item >= Item::planet2_a && item <= Item::planet2_mass) {
    return static_cast<Item>(static_cast<int>(item) - static_cast<int>(Item::planet2_a) +
                             static_cast<int>(Item::planet1_a));
  }
  return item;
}

}  // namespace

std::string item_name(Item item) {
  if (item == Item::star_mass) {
    return "star mass";
  }
  if (item == Item::k2) {
    return "K2";
  }
  if (item == Item::k1) {
    return "K1";
  }
  const char* element = "";
  switch (element_of(item)) {
    case Item::planet1_a:
      element = "semi-major axis";
      break;
    case Item::planet1_e:
      element = "eccentricity";
      break;
    case Item::planet1_i:
      element = "inclination";
      break;
    case Item::planet1_node:
      element = "longitude of the node";
      break;
    case Item::planet1_peri:
      element = "longitude of perihelion";
      break;
    default:
      element = "mass";
      break;
  }
  return std::string(element) + " of planet " + (is_planet1(item) ? "1" : "2");
}

namespace {

Bound range_of(Item item) {
  switch (element_of(item)) {
    case Item::star_mass:
    case Item::planet1_mass:
      return Bound::positive;
    case Item::planet1_a:
      return item == Item::planet2_a ? Bound::positive : Bound::finite;
    case Item::planet1_e:
      return Bound::eccentricity;
    default:
      return Bound::finite;
  }
}

bool within(Bound bound, double v) {
  switch (bound) {
    case Bound::positive:
      return v > 0;
    case Bound::eccentricity:
      return v >= 0 && v < 1;
    default:
      return true;
  }
}

}  // namespace

std::string value_text(double v) {
  if (std::isnan(v)) {
    return "NaN";
  }
  if (std::isinf(v)) {
    return v < 0 ? "-Infinity" : "Infinity";
  }
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

std::optional<Problem> check_system_item(Item item, const std::optional<double>& value) {
  if (item == Item::planet1_a) {
    return std::nullopt;  // planet 1 sits at exact resonance; its axis is read and ignored
  }
  if (!value) {
    return Problem{item, Bound::present, std::nullopt};
  }
  if (!std::isfinite(*value)) {
    return Problem{item, Bound::finite, value};
  }
  const Bound bound = range_of(item);
  if (!within(bound, *value)) {
    return Problem{item, bound, value};
  }
  return std::nullopt;
}

std::optional<Problem> check_resonance(const std::optional<double>& k2,
                                       const std::optional<double>& k1) {
  if (!k2 || !k1) {
    return Problem{k2 ? Item::k1 : Item::k2, Bound::present, std::nullopt};
  }
  if (!std::isfinite(*k2) || !std::isfinite(*k1)) {
    const bool k2_bad = !std::isfinite(*k2);
    return Problem{k2_bad ? Item::k2 : Item::k1, Bound::finite, k2_bad ? k2 : k1};
  }
  if (*k2 < *k1) {
    return Problem{Item::k2, Bound::k2_at_least_k1, k2};
  }
  if (*k1 <= 0) {
    return Problem{Item::k1, Bound::k1_positive, k1};
  }
  if (*k2 < 1) {
    return Problem{Item::k2, Bound::k2_at_least_one, k2};
  }
  if (std::trunc(*k2) > max_k2_whole_part) {
    return Problem{Item::k2, Bound::k2_below_51, k2};
  }
  return std::nullopt;
}

}  // namespace api

std::string message(const Problem& problem) {
  if (problem.item == Item::k2 || problem.item == Item::k1) {
    switch (problem.bound) {
      case Bound::present:
        return "GIVE TWO NUMBERS, K2 AND K1";
      case Bound::finite:
        return "K2 AND K1 MUST BE FINITE";
      case Bound::k2_at_least_k1:
        return "I SAID K2 >= K1";
      case Bound::k1_positive:
        return "K1 MUST BE > 0";
      case Bound::k2_at_least_one:
        return "K2 MUST BE >= 1";
      default:
        return "K2 MUST BE BELOW 51";
    }
  }
  const std::string what = "the " + api::item_name(problem.item);
  const std::string value = problem.value ? api::value_text(*problem.value) : "";
  switch (problem.bound) {
    case Bound::present:
      return what + " has no value (a null value or a slash left it unset)";
    case Bound::finite:
      return what + " must be a finite number, but it is " + value;
    case Bound::positive:
      return what + " must be positive, but it is " + value;
    default:
      return what + " must lie in 0 <= e < 1, but it is " + value;
  }
}

std::optional<Problem> validate(const System& system) {
  const Planet* planets[] = {&system.planet1, &system.planet2};
  if (auto p = api::check_system_item(Item::star_mass, system.star_mass)) {
    return p;
  }
  for (int k = 0; k < 2; ++k) {
    const Planet& pl = *planets[k];
    const int first = static_cast<int>(k == 0 ? Item::planet1_a : Item::planet2_a);
    const double values[] = {pl.a, pl.e, pl.i, pl.node, pl.peri, pl.mass};
    for (int j = 0; j < 6; ++j) {
      if (auto p = api::check_system_item(static_cast<Item>(first + j), values[j])) {
        return p;
      }
    }
  }
  return std::nullopt;
}

std::optional<Problem> validate(const Resonance& resonance) {
  return api::check_resonance(resonance.k2, resonance.k1);
}

std::optional<Problem> validate(const System& system, const Resonance& resonance) {
  if (auto p = validate(system)) {
    return p;
  }
  return validate(resonance);
}

InvalidInput::InvalidInput(const Problem& problem)
    : std::invalid_argument(message(problem)), problem_(problem) {}

}  // namespace tandem
