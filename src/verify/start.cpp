#include "verify/start.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "orbit/constants.hpp"
#include "verify/critical_angle.hpp"

namespace tandem::nbody {
namespace {

constexpr double convergence = 1e-9;

Elements model_planet(const Planet& p, double a) {
  return {a, p.e, p.i * g2r, p.node * g2r, p.peri * g2r, 0.0};
}

// The quantities that are averaged and corrected: the eccentricity as a vector, since
// varpi means nothing where e is small.
struct Averaged {
  double a1 = 0, k1 = 0, h1 = 0;
  double a2 = 0, k2 = 0, h2 = 0;
  double sigma = 0;
};

Averaged averaged_of(const ModelElements& m) {
  return {
      m.planet1.a, m.planet1.e * std::cos(m.planet1.peri), m.planet1.e * std::sin(m.planet1.peri),
      m.planet2.a, m.planet2.e * std::cos(m.planet2.peri), m.planet2.e * std::sin(m.planet2.peri),
      m.sigma};
}

// Elements with the averaged quantities of v and the rest (i, node, lambda2) of like;
// where an eccentricity vector vanishes, the perihelion of like is kept.
ModelElements elements_of(const Averaged& v, const ModelElements& like) {
  ModelElements m = like;
  m.planet1.a = v.a1;
  m.planet1.e = std::sqrt(v.k1 * v.k1 + v.h1 * v.h1);
  if (m.planet1.e > 0) {
    m.planet1.peri = std::atan2(v.h1, v.k1);
  }
  m.planet2.a = v.a2;
  m.planet2.e = std::sqrt(v.k2 * v.k2 + v.h2 * v.h2);
  if (m.planet2.e > 0) {
    m.planet2.peri = std::atan2(v.h2, v.k2);
  }
  m.sigma = v.sigma;
  return m;
}

// One sample of the averaged quantities, sigma continued from the start.
struct Sampled {
  Averaged value;
  bool bound = true;
};

Sampled sample(const ThreeBody& sys, const PhaseState& y, const Resonance& resonance,
               Unwrap& sigma) {
  const Osculating el = osculating_of(sys, y);
  if (!el.bound()) {
    return {{}, false};
  }
  ModelElements m;
  m.planet1 = el.planet1;
  m.planet2 = el.planet2;
  m.sigma = sigma.next(critical_angle(el, resonance));
  return {averaged_of(m), true};
}

// Samples half a cycle to one side of the start, the start excluded.
StopReason half_cycle(const ThreeBody& sys, const PhaseState& y, const Resonance& resonance,
                      double cycle, int samples_per_cycle, int direction, const Limits& limits,
                      double sigma0, std::vector<Averaged>& out, double& min_separation) {
  Propagator run(sys, y, limits);
  Unwrap sigma(sigma0);
  for (int j = 1; j <= samples_per_cycle / 2; ++j) {
    const StopReason why = run.advance_to(direction * (j * cycle) / samples_per_cycle);
    min_separation = std::min(min_separation, run.min_separation());
    if (why != StopReason::completed) {
      return why;
    }
    const Sampled s = sample(sys, run.state(), resonance, sigma);
    if (!s.bound) {
      return StopReason::escape;
    }
    out.push_back(s.value);
  }
  return StopReason::completed;
}

double relative_change(double to, double from) {
  return std::fabs((to - from) / to);
}

}  // namespace

ModelElements model_elements(const Result& result, const Scale& scale, double sigma) {
  ModelElements m;
  m.planet1 = model_planet(result.system.planet1, result.orbit.a1 / scale.length_au);
  m.planet2 = model_planet(result.system.planet2, result.orbit.a2 / scale.length_au);
  m.sigma = sigma;
  return m;
}

PhaseState state_of(const ThreeBody& sys, const ModelElements& el, const Resonance& resonance) {
  Elements p1 = el.planet1;
  const Elements& p2 = el.planet2;
  p1.lambda = (el.sigma + resonance.k2 * p2.lambda - (resonance.k2 - resonance.k1) * p1.peri) /
              resonance.k1;
  return phase_of(sys, {state_from_elements(p1, sys.mu1()), state_from_elements(p2, sys.mu2())});
}

CycleMeans cycle_means(const ThreeBody& sys, const PhaseState& y, const Resonance& resonance,
                       double cycle, int samples_per_cycle, const Limits& limits) {
  const Osculating el0 = osculating_of(sys, y);
  CycleMeans out;
  out.min_separation = separation(y);
  if (!el0.bound()) {
    out.stop = StopReason::escape;
    return out;
  }
  Unwrap sigma0(critical_angle(el0, resonance));
  const Averaged at_start = sample(sys, y, resonance, sigma0).value;
  std::vector<Averaged> back;
  std::vector<Averaged> ahead;
  out.stop = half_cycle(sys, y, resonance, cycle, samples_per_cycle, -1, limits, sigma0.value(),
                        back, out.min_separation);
  if (out.stop == StopReason::completed) {
    out.stop = half_cycle(sys, y, resonance, cycle, samples_per_cycle, 1, limits, sigma0.value(),
                          ahead, out.min_separation);
  }
  if (out.stop != StopReason::completed) {
    return out;
  }
  // Trapezoid over the samples from -cycle/2 to +cycle/2: the two ends weigh one half.
  Averaged sum = at_start;
  const auto add = [&sum](const Averaged& v, double w) {
    sum.a1 += w * v.a1;
    sum.k1 += w * v.k1;
    sum.h1 += w * v.h1;
    sum.a2 += w * v.a2;
    sum.k2 += w * v.k2;
    sum.h2 += w * v.h2;
    sum.sigma += w * v.sigma;
  };
  for (const auto* side : {&back, &ahead}) {
    for (std::size_t j = 0; j < side->size(); ++j) {
      add((*side)[j], j + 1 == side->size() ? 0.5 : 1.0);
    }
  }
  const double n = samples_per_cycle;
  const Averaged mean{sum.a1 / n, sum.k1 / n, sum.h1 / n,   sum.a2 / n,
                      sum.k2 / n, sum.h2 / n, sum.sigma / n};
  ModelElements like;
  like.planet1 = el0.planet1;
  like.planet2 = el0.planet2;
  out.mean = elements_of(mean, like);
  return out;
}

Start find_start(const ThreeBody& sys, const ModelElements& model, const Resonance& resonance,
                 double cycle, int samples_per_cycle, const Limits& limits, int max_iterations) {
  const Averaged target = averaged_of(model);
  ModelElements guess = model;
  Start start;
  for (int iteration = 0;; ++iteration) {
    start.state = state_of(sys, guess, resonance);
    start.iterations = iteration;
    const CycleMeans got =
        cycle_means(sys, start.state, resonance, cycle, samples_per_cycle, limits);
    start.min_separation = got.min_separation;
    if (got.stop != StopReason::completed) {
      start.stop = got.stop;
      return start;
    }
    // The mean sigma is continued from the start: the difference is taken modulo a turn.
    const Averaged mean = averaged_of(got.mean);
    const Averaged d{target.a1 - mean.a1,
                     target.k1 - mean.k1,
                     target.h1 - mean.h1,
                     target.a2 - mean.a2,
                     target.k2 - mean.k2,
                     target.h2 - mean.h2,
                     wrap_pi(target.sigma - mean.sigma)};
    const double worst = std::max(
        {relative_change(target.a1, mean.a1), relative_change(target.a2, mean.a2), std::fabs(d.k1),
         std::fabs(d.h1), std::fabs(d.k2), std::fabs(d.h2), std::fabs(d.sigma)});
    if (worst < convergence) {
      start.converged = true;
      return start;
    }
    if (iteration == max_iterations) {
      return start;
    }
    Averaged now = averaged_of(guess);
    now.a1 += d.a1;
    now.k1 += d.k1;
    now.h1 += d.h1;
    now.a2 += d.a2;
    now.k2 += d.k2;
    now.h2 += d.h2;
    now.sigma += d.sigma;
    guess = elements_of(now, guess);
    // A correction that leaves no ellipse: the averages cannot be met from any start.
    if (!(guess.planet1.e < 1 && guess.planet2.e < 1 && guess.planet1.a > 0 &&
          guess.planet2.a > 0)) {
      start.stop = StopReason::escape;
      return start;
    }
  }
}

}  // namespace tandem::nbody
