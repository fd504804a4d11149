// Refusal of input values outside the domain of the computation: with them the orbits,
// the Kepler solver or the averages would produce non-finite values or never end.

#include <charconv>
#include <cmath>
#include <string>

#include "driver/input_error.hpp"
#include "driver/input_file.hpp"

namespace tandem {

namespace {

// The shortest text that reads back as the same double; words for non-finite values.
std::string value_text(double v) {
  if (std::isnan(v))
    return "NaN";
  if (std::isinf(v))
    return v < 0 ? "-Infinity" : "Infinity";
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

enum class Rule { finite, positive, eccentricity };

double checked(const std::optional<double>& item, const std::string& name, Rule rule) {
  const std::string where = std::string(input_file_name) + ": the " + name;
  if (!item) {
    throw InputError(where + " has no value (a null value or a slash left it unset)");
  }
  const double v = *item;
  if (!std::isfinite(v)) {
    throw InputError(where + " must be a finite number, but it is " + value_text(v));
  }
  if (rule == Rule::positive && !(v > 0)) {
    throw InputError(where + " must be positive, but it is " + value_text(v));
  }
  if (rule == Rule::eccentricity && !(v >= 0 && v < 1)) {
    throw InputError(where + " must lie in 0 <= e < 1, but it is " + value_text(v));
  }
  return v;
}

PlanetElements checked_planet(const RawPlanet& raw, int number, bool uses_semi_major_axis) {
  const std::string of = " of planet " + std::to_string(number);
  PlanetElements p;
  if (uses_semi_major_axis) {
    p.se = checked(raw.se, "semi-major axis" + of, Rule::positive);
  } else {
    // Planet 1 sits at exact resonance; the axis given for it is read and ignored.
    p.se = raw.se.value_or(0.0);
  }
  p.ex = checked(raw.ex, "eccentricity" + of, Rule::eccentricity);
  p.yn = checked(raw.yn, "inclination" + of, Rule::finite);
  p.ln = checked(raw.ln, "longitude of the node" + of, Rule::finite);
  p.lp = checked(raw.lp, "longitude of perihelion" + of, Rule::finite);
  p.sm = checked(raw.sm, "mass" + of, Rule::positive);
  return p;
}

}  // namespace

PlanetarySystem checked_system(const RawInput& raw) {
  PlanetarySystem system;
  system.mst = checked(raw.mst, "star mass", Rule::positive);
  system.planet1 = checked_planet(raw.planet1, 1, false);
  system.planet2 = checked_planet(raw.planet2, 2, true);
  return system;
}

}  // namespace tandem
