#pragma once
// solkep: Kepler's equation E - e*sin(E) = M for the eccentric anomaly of an ellipse.
//
// Given: ex, the eccentricity (0 <= ex < 1); m, the mean anomaly in radians, reduced by
// the caller modulo 2*pi with the sign of the unreduced angle (-2*pi < m < 2*pi).
// Returned: e, the eccentric anomaly in radians (same sign as m, not moved into 0..2*pi);
// niter, the number of iterations performed (at least 1).
//
// Start E = M; each iteration averages Newton's estimate and a second estimate
// E - u/(1 - u*e*sin E), u the Newton correction, until two successive iterates differ
// by no more than 1e-12 radians. Where that test never succeeds (the iterates repeat, or
// a million steps pass; only for e very close to 1 or outside the domain) the root is
// finished by bisection, and niter counts the bisection steps as well.

namespace tandem {

struct KeplerSolution {
  double e = 0;
  int niter = 0;
};

KeplerSolution solkep(double ex, double m);

// The same with a chosen bound on the number of iterations before bisection takes over.
KeplerSolution solkep_bounded(double ex, double m, int max_iterations);

}  // namespace tandem
