#pragma once
// The resonances of a scan, each with the system that tandem::solve takes for it, in the
// order of the catalogue.
//
// With planet 1 placed, the system is the file's: solve puts planet 1 at exact resonance
// from planet 2's a. With planet 2 placed, planet 2's a is replaced by the value that
// puts the pair at exact resonance with planet 1's a as the file gives it (planet_2_axis).
// An enumeration lists every reduced K2:K1 (greatest common divisor 1) with
// K2 >= K1 >= 1 inside the window, in increasing placed semi-major axis, ties by K2;
// an explicit list keeps the order it was given in.

#include <vector>

#include "scan/request.hpp"
#include "tandem/system.hpp"

namespace tandem::scan {

struct PlannedResonance {
  ResonancePair resonance;
  System system;    // what solve is given
  double placed_a;  // au: a1 at exact resonance (planet 1 placed) or the a2 put in system
};

// Planet 2's semi-major axis (au) that puts the pair at exact resonance with planet 1's
// a of the system. Among the doubles near the Kepler's-law value, the one for which solve's
// own set-up gives back planet 1's a exactly, or comes closest to it (the lower on a tie).
double planet_2_axis(const System& system, const ResonancePair& resonance);

// Throws tandem::InvalidInput as solve would for a system it refuses.
std::vector<PlannedResonance> plan_scan(const System& file_system, const ScanRequest& request);

}  // namespace tandem::scan
