// Planet 2 placed at exact resonance with planet 1 (tandem/solve.hpp).

#include <algorithm>
#include <cmath>

#include "tandem/solve.hpp"

namespace tandem {
namespace {

double resonant_a1(System system, double a2, const Resonance& r) {
  system.planet2.a = a2;
  return resonant_orbits(system, r).a1;
}

}  // namespace

double planet2_at_resonance(const System& system, const Resonance& r) {
  const double target = system.planet1.a;
  const double ratio = r.k2 / r.k1;
  const double masses =
      (system.star_mass + system.planet2.mass) / (system.star_mass + system.planet1.mass);
  double a2 = target * std::pow(masses * (ratio * ratio), 1.0 / 3);
  double a1 = resonant_a1(system, a2, r);
  if (a1 == target) {
    return a2;
  }
  // a1(a2) never decreases with a2: walk one way until a1 passes the target.
  const double direction = a1 < target ? INFINITY : 0.0;
  constexpr int max_steps = 64;
  for (int step = 0; step < max_steps; ++step) {
    const double next = std::nextafter(a2, direction);
    const double next_a1 = resonant_a1(system, next, r);
    const bool passed = a1 < target ? next_a1 >= target : next_a1 <= target;
    if (passed) {
      const double here = std::fabs(a1 - target);
      const double there = std::fabs(next_a1 - target);
      if (there < here) {
        return next;
      }
      if (here < there) {
        return a2;
      }
      return std::min(a2, next);
    }
    a2 = next;
    a1 = next_a1;
  }
  return a2;
}

}  // namespace tandem
