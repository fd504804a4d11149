#pragma once
// The one entry point to the computation: both orbits, planet 2 over the resonant cycle,
// R(sigma) on the grid and its analysis.

#include "tandem/problem.hpp"
#include "tandem/result.hpp"
#include "tandem/system.hpp"

namespace tandem {

// Throws InvalidInput (tandem/problem.hpp) when validate(system, resonance) finds a
// problem. The result is the same bit for bit whatever options.threads is.
Result solve(const System& system, const Resonance& resonance, const SolveOptions& options = {});

// The orbit quantities alone (a1 at exact resonance, the mean motions, hii, rhs, ipasos),
// as solve computes them, without R(sigma): cheap enough to place many resonances.
// Throws InvalidInput as solve does.
OrbitQuantities resonant_orbits(const System& system, const Resonance& resonance);

// Planet 2's a (au) that puts the pair at exact resonance with planet 1 at its own a:
// Kepler's third law with n1 = (K2/K1)*n2 gives a2 = a1*((M + m2)/(M + m1)*(K2/K1)^2)^(1/3);
// the set-up computes a1 from a2 by its own roundings, so the neighbours of that value are
// tried one ulp at a time and the one whose a1 comes nearest is kept (tandem-scan
// --place planet2; tandem-survey for a body outside its perturber). Throws InvalidInput
// as solve does.
double planet2_at_resonance(const System& system, const Resonance& resonance);

// The number of processors this process may run on: its affinity mask, bounded by the CPU
// limit of its control group where one is set; at least 1. threads = 0 means this many.
unsigned available_processors();

}  // namespace tandem
