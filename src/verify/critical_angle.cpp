#include "verify/critical_angle.hpp"

#include <cmath>

namespace tandem::nbody {

bool Osculating::bound() const {
  return std::isfinite(planet1.lambda) && std::isfinite(planet2.lambda);
}

Osculating osculating_of(const ThreeBody& sys, const PhaseState& y) {
  const CanonicalPair c = canonical_of(sys, y);
  return {elements_from_state(c.planet1, sys.mu1()), elements_from_state(c.planet2, sys.mu2())};
}

double critical_angle(const Osculating& el, const Resonance& resonance) {
  const double k1 = resonance.k1;
  const double k2 = resonance.k2;
  return wrap_pi(k1 * el.planet1.lambda - k2 * el.planet2.lambda + (k2 - k1) * el.planet1.peri);
}

double Unwrap::next(double angle) {
  value_ += wrap_pi(angle - value_);
  return value_;
}

}  // namespace tandem::nbody
