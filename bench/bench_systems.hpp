#pragma once
// The systems the benchmarks run on, and what a run derives from them before R(sigma).

#include <string>
#include <vector>

#include "orbit/elements.hpp"
#include "orbit/orbit_setup.hpp"
#include "orbit/planet2_table.hpp"

namespace tandem::bench {

struct BenchCase {
  const char* name;
  PlanetarySystem system;
  Resonance resonance;
};

// The bundled example: a Hilda-type asteroid (e = 0.10) with Jupiter, 3:2; 3000 samples.
BenchCase hilda_3_2();
// An asteroid at the 7:2 Kirkwood gap (e = 0.15) with Jupiter; 7000 samples over two
// revolutions of Jupiter.
BenchCase kirkwood_7_2();
// Two close planets in 50:49, the costliest resonance a run takes (50000 samples per
// sigma value), with planet 1 at e = 0.1 and at e = 0.6 (crossing orbits, longer
// solutions of Kepler's equation).
BenchCase pair_50_49_e010();
BenchCase pair_50_49_e060();

// Every case above, in this order.
std::vector<BenchCase> all_cases();

struct Prepared {
  OrbitSetup orbits;
  Planet2Table table;
};

Prepared prepare(const BenchCase& c);

// Every mean anomaly that the sigma loop hands the solver for planet 1, at the sigma grid
// points 0, step, 2*step, ... degrees in this order; within one sigma value they cover
// k2 revolutions.
std::vector<double> planet1_mean_anomalies(const BenchCase& c, const Prepared& p, int step);

// The text of tandem.inp for the case, and the answer typed at the console.
std::string input_file_text(const BenchCase& c);
std::string console_answer(const BenchCase& c);

}  // namespace tandem::bench
