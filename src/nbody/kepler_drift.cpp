#include "nbody/kepler_drift.hpp"

#include <cmath>

#include "nbody/vector.hpp"
#include "orbit/constants.hpp"

namespace tandem::nbody {
namespace {

constexpr int max_newton = 60;

// The root of x - ec*sin x + es*(1 - cos x) = m, with |ec|, |es| <= e < 1; the left side
// grows strictly with x and differs from x by at most 2e.
double delta_anomaly(double ec, double es, double m) {
  const double e = std::sqrt(ec * ec + es * es);
  double lo = m - 2 * e;
  double hi = m + 2 * e;
  double x = m;
  for (int k = 0; k < max_newton; ++k) {
    const double s = std::sin(x);
    const double c = std::cos(x);
    const double f = x - ec * s + es * (1 - c) - m;
    if (f == 0) {
      return x;
    }
    if (f < 0) {
      lo = x;
    } else {
      hi = x;
    }
    const double step = f / (1 - ec * c + es * s);
    double next = x - step;
    if (!(next > lo && next < hi)) {
      next = lo + (hi - lo) / 2;
    }
    if (std::fabs(next - x) <= 4e-16 * (1 + std::fabs(x))) {
      return next;
    }
    x = next;
  }
  return x;
}

}  // namespace

bool kepler_drift(KeplerState& s, double mu, double dt) {
  const Vec3 r0 = s.pos;
  const Vec3 v0 = s.vel;
  const double r0n = norm(r0);
  const double alpha = 2 / r0n - dot(v0, v0) / mu;  // 1/a
  if (!(alpha > 0)) {
    return false;
  }
  const double a = 1 / alpha;
  const double n = std::sqrt(mu * alpha * alpha * alpha);
  const double sqmua = std::sqrt(mu * a);
  const double ec = 1 - r0n * alpha;
  const double es = dot(r0, v0) / sqmua;
  // Whole revolutions change nothing: drift over the remainder of one.
  const double m = mod(n * dt, twopi);
  const double t = m / n;
  const double x = delta_anomaly(ec, es, m);
  const double sx = std::sin(x);
  const double cx = std::cos(x);
  const double r = a * (1 - ec * cx + es * sx);
  const double f = 1 - a / r0n * (1 - cx);
  const double g = t - (x - sx) / n;
  const double fdot = -sqmua * sx / (r * r0n);
  const double gdot = 1 - a / r * (1 - cx);
  s.pos = r0 * f + v0 * g;
  s.vel = r0 * fdot + v0 * gdot;
  return true;
}

}  // namespace tandem::nbody

namespace tandem::nbody {

Elements elements_after(const Elements& el, double mu, double dt) {
  KeplerState s = state_from_elements(el, mu);
  if (!kepler_drift(s, mu, dt)) {
    Elements bad = el;
    bad.i = bad.node = bad.peri = bad.lambda = std::nan("");
    return bad;
  }
  return elements_from_state(s, mu);
}

}  // namespace tandem::nbody
