// Refusal of input values outside the domain of the computation: with them the orbits,
// the Kepler solver or the averages would produce non-finite values or never end. The
// rules are the library's (tandem::validate); here they meet values that may be missing.

#include "api/input_check.hpp"

#include <string>

#include "api/checks.hpp"

namespace tandem {

namespace {

double checked(Item item, const std::optional<double>& value) {
  if (const auto problem = api::check_system_item(item, value)) {
    throw InputError(std::string(input_file_name) + ": " + message(*problem), *problem);
  }
  return value.value_or(0.0);
}

Planet checked_planet(const RawPlanet& raw, Item first) {
  const auto item = [first](int k) { return static_cast<Item>(static_cast<int>(first) + k); };
  Planet p;
  p.a = checked(item(0), raw.se);
  p.e = checked(item(1), raw.ex);
  p.i = checked(item(2), raw.yn);
  p.node = checked(item(3), raw.ln);
  p.peri = checked(item(4), raw.lp);
  p.mass = checked(item(5), raw.sm);
  return p;
}

}  // namespace

System checked_system(const RawInput& raw) {
  System system;
  system.star_mass = checked(Item::star_mass, raw.mst);
  system.planet1 = checked_planet(raw.planet1, Item::planet1_a);
  system.planet2 = checked_planet(raw.planet2, Item::planet2_a);
  return system;
}

}  // namespace tandem
