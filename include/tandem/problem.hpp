#pragma once
// What tandem::validate finds wrong with an input, as a value: which item, which bound it
// breaks, and the value it has. message() gives the words the console program uses for
// the same refusal ("the eccentricity of planet 1 must lie in 0 <= e < 1, but it is 1.5";
// the console program puts "tandem.inp: " before those of the system, and repeats its
// question with those of the resonance, e.g. "K1 MUST BE > 0").

#include <optional>
#include <stdexcept>
#include <string>

#include "tandem/system.hpp"

namespace tandem {

enum class Item {
  star_mass,
  planet1_a,
  planet1_e,
  planet1_i,
  planet1_node,
  planet1_peri,
  planet1_mass,
  planet2_a,
  planet2_e,
  planet2_i,
  planet2_node,
  planet2_peri,
  planet2_mass,
  k2,
  k1,
};

enum class Bound {
  present,          // the item has a value (a null value or a slash in a file leaves none)
  finite,           // not an infinity or NaN
  positive,         // > 0: masses, planet 2's semi-major axis
  eccentricity,     // 0 <= e < 1
  k2_at_least_k1,   // K2 >= K1
  k1_positive,      // K1 > 0
  k2_at_least_one,  // K2 >= 1
  k2_below_51,      // trunc(K2) <= 50: one cycle holds at most 50000 samples
};

struct Problem {
  Item item = Item::star_mass;
  Bound bound = Bound::present;
  std::optional<double> value;  // none when the item has no value
};

// The console program's words for the problem, without a line end.
std::string message(const Problem& problem);

// The first problem of the input, in the order the console program checks: the star mass,
// planet 1 (e, i, node, perihelion, mass; its a is never used), planet 2 (a, e, i, node,
// perihelion, mass), then the resonance. std::nullopt when solve can take it.
std::optional<Problem> validate(const System& system, const Resonance& resonance);
std::optional<Problem> validate(const System& system);
std::optional<Problem> validate(const Resonance& resonance);

// Thrown by solve for an input that validate refuses; what() is message(problem()).
class InvalidInput : public std::invalid_argument {
 public:
  explicit InvalidInput(const Problem& problem);
  const Problem& problem() const noexcept { return problem_; }

 private:
  Problem problem_;
};

}  // namespace tandem
