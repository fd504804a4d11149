#pragma once
// Kepler's equation for many mean anomalies at one eccentricity, several solved at a time.
//
// Given: ex, the eccentricity; m[0..n), mean anomalies in radians as solkep takes them.
// Returned: e[k] = solkep(ex, m[k]).e, bit for bit, for every k.
//
// One solution is a serial chain (a sine, a cosine and two dependent divisions per step),
// so solved one after the other the processor mostly waits. Here a few lanes step side by
// side, each with its own scalar sin and cos calls and the solver's step written exactly
// as solkep forms it, so the chains of different anomalies overlap. A lane hands back its
// iterate only where solkep's test ends the iteration with a finite change within a short
// bound; any other anomaly (a non-finite step, or more steps than normal eccentricities
// ever need) is solved by solkep itself from the start. A sequence that ends by the test
// never repeated an iterate, so solkep reaches the same value at the same step.

#include <cstddef>

namespace tandem {

// The steps a lane takes before it leaves the anomaly to solkep. From the start E = M the
// iteration needs at most 7 steps up to e = 0.95 (4 at e = 0.1, 5 at e = 0.6); near
// e = 1 some anomalies need hundreds.
inline constexpr int lane_step_bound = 16;

void solve_kepler_interleaved(double ex, const double* m, double* e, std::size_t n);

}  // namespace tandem
