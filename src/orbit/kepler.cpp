#include "orbit/kepler.hpp"

#include <cmath>

namespace tandem {
namespace {

constexpr double tole = 1e-12;  // radians, on the change between two iterates

// Iterations before bisection takes over. Every e <= 0.98 ends within 8 and is never
// affected; at e = 0.99 about 1 % of the anomalies of a run need more. Measured on whole
// 50:49 runs: with e1 = 1 - 1e-16 a run takes about 2.3 times as long as with e1 = 0.05
// at this bound (2.6 at 48 or 64, 3.6 at 128; under a million, as before, 70 times).
constexpr int kIterationBound = 32;

// One step: the mean of Newton's estimate and the second estimate.
double kepler_step(double ex, double m, double e0) {
  const double se = std::sin(e0);
  const double ce = std::cos(e0);
  const double es = ex * se;
  const double ec = 1 - ex * ce;
  const double mk = e0 - es;  // the mean anomaly that belongs to e0
  const double u = (mk - m) / ec;
  const double xpri = e0 - u;
  const double xseg = e0 - u / (1 - u * es);
  return (xpri + xseg) / 2;
}

// Bisection on [m - ex, m + ex], which holds the root because |E - M| = ex*|sin E| <= ex.
// f(E) = E - ex*sin(E) - m is <= 0 at the lower end and >= 0 at the upper one for any
// ex >= 0, so the bracket holds even outside 0 <= ex < 1. Halving stops when the midpoint
// no longer differs from an end, i.e. at full double resolution.
KeplerSolution bisect(double ex, double m, int niter) {
  double lo = m - ex;
  double hi = m + ex;
  for (int step = 0; step < 4096; ++step) {
    const double mid = lo + (hi - lo) / 2;
    if (!(mid > lo && mid < hi)) {
      break;
    }
    ++niter;
    const double f = mid - ex * std::sin(mid) - m;
    if (f == 0) {
      return {mid, niter};
    }
    if (f < 0) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return {lo + (hi - lo) / 2, niter};
}

}  // namespace

// Near e = 1 with |M| close to 2*pi the root sits where 1 - e*cos E is tiny, and the
// rounding of E - e*sin E, divided by it, can keep every change above 1e-12: the iterates
// then repeat for ever (e = 0.9999, M = 6.2831765821795864 alternates between two values
// whose difference is 1.4e-12). Elsewhere the first steps may throw the iterate far from
// the root, from where it creeps back slowly. Both are cut short here: a repeated iterate
// (found by Brent's cycle search, at the cost of one comparison per step) or too many
// steps hand over to bisection, and so does a step that is not finite. Where the plain
// iteration ends within the bound, nothing of this applies.
KeplerSolution solkep_bounded(double ex, double m, int max_iterations) {
  double e = m;
  int niter = 0;
  double tortoise = e;
  long long power = 1;  // wide enough never to overflow before niter does
  long long lam = 0;
  for (;;) {
    const double e0 = e;
    e = kepler_step(ex, m, e0);
    const double dex = std::fabs(e - e0);
    ++niter;
    // A step that is not finite (1 - e*cos E or 1 - u*e*sin E came out as 0) would end the
    // test below with a NaN change, or lead to one: the root is found by bisection instead.
    if (!std::isfinite(e)) {
      return bisect(ex, m, niter);
    }
    if (!(dex > tole)) {
      return {e, niter};
    }
    if (e == tortoise || niter >= max_iterations) {
      return bisect(ex, m, niter);
    }
    if (++lam == power) {
      tortoise = e;
      power *= 2;
      lam = 0;
    }
  }
}

KeplerSolution solkep(double ex, double m) {
  return solkep_bounded(ex, m, kIterationBound);
}

}  // namespace tandem
