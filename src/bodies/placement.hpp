#pragma once
// A body outside its perturber's orbit, placed at exact resonance as planet 2.
//
// Given: the system with planet 1 (the perturber) at its own a; the resonance.
// Returned: planet 2's a (au) for which the orbit set-up puts planet 1 at exact resonance
// on the perturber's a: Kepler's third law with n1 = (K2/K1)*n2 gives
// a2 = a1*((M + m2)/(M + m1)*(K2/K1)^2)^(1/3); the set-up computes a1 from a2 by its own
// roundings, so the neighbours of that value are tried one ulp at a time and the one
// whose a1 comes nearest is kept (tandem-scan --place planet2 places its planet 2 so).

#include "tandem/system.hpp"

namespace tandem::bodies {

double planet2_at_resonance(const System& system, const Resonance& resonance);

}  // namespace tandem::bodies
