#pragma once
// The order in which the threads take the sigma grid: sigma values whose samples put
// planet 1 at the same mean anomalies come one after the other, so that a thread's cache
// of planet 1's states (Planet1Cache) still holds them when the next one needs them.
//
// The samples of one sigma value put planet 1 at the longitudes teta/k1 + j*step degrees
// (j = 1..ipasos, step = 360*k2/ipasos, teta the offset that holds the critical angle,
// in degrees), reduced to one revolution. Where a whole number of steps makes one
// revolution and the cycle covers it, that set is fixed by teta/k1 modulo step: sigma
// values with the same remainder meet the same anomalies (for k1 = 2, every 18th value).
// Elsewhere the grid keeps its own order. The order only decides which thread computes a
// point and when; every point is computed alone, so it cannot change a bit of the curve.

#include <array>

#include "resonance/rsigma.hpp"

namespace tandem {

// Given: k1, k2 (reals as typed); p1g, planet 1's longitude of perihelion in degrees;
// ipasos, the samples per resonant cycle.
// Returned: order[n], the grid index (0-based, sigma = order[n] degrees) taken n-th; a
// permutation of 0..isimax-1.
std::array<int, isimax> sigma_visit_order(double k1, double k2, double p1g, int ipasos);

}  // namespace tandem
