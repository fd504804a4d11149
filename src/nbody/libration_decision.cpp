#include "nbody/libration_decision.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "verify/libration.hpp"

namespace tandem::nbody {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

bool sweeps_less_than_a_turn(const std::vector<double>& phi, std::size_t first, std::size_t end) {
  if (end <= first) {
    return false;
  }
  const auto [lo, hi] = std::minmax_element(phi.begin() + static_cast<std::ptrdiff_t>(first),
                                            phi.begin() + static_cast<std::ptrdiff_t>(end));
  return *hi - *lo < 360;
}

// Into [0, 360), a result of 360 from rounding going back to 0.
double wrap_360(double deg) {
  const double w = deg - 360 * std::floor(deg / 360);
  return w >= 360 ? 0 : w;
}

}  // namespace

LibrationDecision decide_libration(const std::vector<double>& t, const std::vector<double>& phi,
                                   double span_years, double expected_period_years, double start_e,
                                   const DecisionOptions& o) {
  LibrationDecision d;
  d.centre_deg = d.amplitude_deg = d.period_years = nan;
  d.low_eccentricity = start_e < o.low_e;
  if (t.size() < 3 || !(span_years > 0) || o.windows < 1) {
    return d;
  }
  // The samples of each window: [start[w], start[w + 1]).
  const double width = span_years / o.windows;
  std::vector<std::size_t> start(static_cast<std::size_t>(o.windows) + 1, t.size());
  start[0] = 0;
  for (int w = 1; w < o.windows; ++w) {
    const double edge = t.front() + width * w;
    start[w] = static_cast<std::size_t>(std::lower_bound(t.begin(), t.end(), edge) - t.begin());
  }
  // A window counts only when the series reaches its end, within a sample and a half.
  const double spacing = (t.back() - t.front()) / static_cast<double>(t.size() - 1);
  int librating = 0;
  int best_first = -1;
  int best_count = 0;
  int run_first = -1;
  for (int w = 0; w < o.windows; ++w) {
    const bool covered = t.back() >= t.front() + width * (w + 1) - 1.5 * spacing;
    const bool lib = covered && sweeps_less_than_a_turn(phi, start[w], start[w + 1]);
    if (lib) {
      ++librating;
      if (run_first < 0) {
        run_first = w;
      }
      if (w - run_first + 1 > best_count) {
        best_count = w - run_first + 1;
        best_first = run_first;
      }
    } else {
      run_first = -1;
    }
  }
  d.fraction = static_cast<double>(librating) / o.windows;
  const bool whole = librating == o.windows && sweeps_less_than_a_turn(phi, 0, phi.size());
  if (whole) {
    d.verdict = NbodyVerdict::resonant;
  } else if (librating > 0) {
    d.verdict = NbodyVerdict::transient;
  } else {
    return d;
  }

  const std::size_t first = whole ? 0 : start[best_first];
  const std::size_t end = whole ? phi.size() : start[best_first + best_count];
  const std::vector<double> ts(t.begin() + static_cast<std::ptrdiff_t>(first),
                               t.begin() + static_cast<std::ptrdiff_t>(end));
  const std::vector<double> ps(phi.begin() + static_cast<std::ptrdiff_t>(first),
                               phi.begin() + static_cast<std::ptrdiff_t>(end));
  LibrationFit fit = fit_libration(ts, ps, expected_period_years);
  if (!std::isfinite(expected_period_years) && fit.librations > 0) {
    // Without a model's period the centre line was straight; the period it gave seeds the
    // running centre line, which a drift or a tilt does not bias.
    const LibrationFit again = fit_libration(ts, ps, fit.period);
    if (again.librations > 0) {
      fit = again;
    }
  }
  if (fit.librates) {
    d.centre_deg = wrap_360(fit.centre);
    d.amplitude_deg = fit.amplitude;
    d.period_years = fit.librations > 0 ? fit.period : nan;
    d.near_separatrix = fit.amplitude > o.separatrix_deg;
  }
  return d;
}

}  // namespace tandem::nbody
