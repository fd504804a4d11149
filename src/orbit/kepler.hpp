#pragma once
// solkep: Kepler's equation E - e*sin(E) = M for the eccentric anomaly of an ellipse.
//
// Given:
//   ex   the eccentricity (0 <= ex < 1)
//   m    the mean anomaly in radians, reduced by the caller modulo 2*pi with the sign of
//        the unreduced angle (-2*pi < m < 2*pi)
// Returned (KeplerSolution):
//   e    the eccentric anomaly in radians (same sign as m, not moved into 0..2*pi)
//   niter  the number of iterations performed (at least 1)
//
// Notes:
//   Start E = M; each iteration averages Newton's estimate and a second estimate
//   E - u/(1 - u*e*sin E), u the Newton correction, until two successive iterates differ
//   by no more than 1e-12 radians. Where that test does not succeed within 32 iterations
//   (only for e above 0.98: the iterates creep, jump or repeat), or a step is not finite
//   (1 - e*cos E came out as 0, near e = 1), the root is finished by bisection on
//   [M - e, M + e] to full double resolution, and niter counts the bisection steps as
//   well. Wherever the plain iteration ends within the bound, its result and niter are
//   returned unchanged. So the root is finite for every 0 <= e < 1 and -2*pi < M < 2*pi.
//
// Reference: Kepler's equation, Murray & Dermott, Solar System Dynamics (1999), ch. 2;
// the iteration and its bisection fallback are this program's own.

namespace tandem {

struct KeplerSolution {
  double e = 0;
  int niter = 0;
};

KeplerSolution solkep(double ex, double m);

// The same with a chosen bound on the number of iterations before bisection takes over.
KeplerSolution solkep_bounded(double ex, double m, int max_iterations);

}  // namespace tandem
