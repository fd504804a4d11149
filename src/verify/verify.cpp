#include "tandem/verify.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "orbit/constants.hpp"
#include "resonance/equilibria.hpp"
#include "verify/angle_reduction.hpp"
#include "verify/critical_angle.hpp"
#include "verify/cycle_smoother.hpp"
#include "verify/libration.hpp"
#include "verify/propagation.hpp"
#include "verify/start.hpp"
#include "verify/three_body.hpp"

namespace tandem {
namespace {

using namespace nbody;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double days_per_year = 365.25;
// The smoothed sigma is kept at this many points per resonant cycle, and at most at
// max_kept points over the stretch actually run: when they fill up, every other one is
// dropped and the spacing doubled, so that the points stay evenly spaced over however far
// the run got (it may stop long before its planned end). The spacing never grows past
// 1/min_kept_per_period of the predicted libration period: a run of more librations than
// that allows keeps more points rather than alias the libration.
constexpr int kept_per_cycle = 16;
constexpr std::size_t max_kept = 200'000;
constexpr double min_kept_per_period = 32;
constexpr long long min_cycles = 3;

void refuse(const std::string& what) {
  throw std::invalid_argument(what);
}

std::string shortest(double x) {
  char buf[32];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
}

void check(const Result& result, const VerifyOptions& o) {
  const Resonance& r = result.resonance;
  if (!(r.k1 >= 1 && r.k2 >= r.k1 && r.k2 <= 50 && std::trunc(r.k1) == r.k1 &&
        std::trunc(r.k2) == r.k2)) {
    refuse("the resonance must have whole K2 >= K1 >= 1, K2 <= 50");
  }
  if (!std::isfinite(o.offset_deg)) {
    refuse("the offset must be finite");
  }
  if (!(o.periods > 0 && std::isfinite(o.periods))) {
    refuse("the number of periods must be positive");
  }
  if (!(o.centre_tolerance_deg >= 0) || !(o.max_amplitude_deg > 0) ||
      !(o.close_encounter_hill >= 0) || !(o.tolerance > 0 && o.tolerance < 1) ||
      !(o.max_energy_error > 0)) {
    refuse("tolerances must be positive numbers");
  }
  if (o.samples_per_orbit < 4 || o.samples_per_orbit > 100'000 || o.max_iterations < 0 ||
      o.max_steps < 1) {
    refuse("samples per orbit must lie in 4..100000, iterations and steps be positive");
  }
}

// 2*pi/sqrt(|R''|*hii) in years at grid point i, R'' formed as the analysis forms it.
double curvature_period_years(const Result& result, int i) {
  const GridValues deriv2 = central_derivative(central_derivative(result.curve.r));
  return (twopi / std::sqrt(std::fabs(deriv2[i]) * result.orbit.hii)) / days_per_year;
}

double degrees(double radians) {
  return radians / g2r;
}

double wrap_180(double deg) {
  return deg - 360 * std::round(deg / 360);
}

// Into [0, 360): the remainder of the floored division (a result of 360 from rounding
// goes back to 0).
double wrap_360(double deg) {
  const double w = deg - 360 * std::floor(deg / 360);
  return w >= 360 ? 0 : w;
}

Verdict verdict_of(const Verification& v, const VerifyOptions& o) {
  if (v.stop == StopReason::close_encounter || v.stop == StopReason::escape ||
      v.stop == StopReason::energy_drift || !v.librates ||
      !(v.amplitude_deg <= o.max_amplitude_deg)) {
    return Verdict::not_confirmed;
  }
  return std::fabs(v.centre_offset_deg) <= o.centre_tolerance_deg ? Verdict::confirmed
                                                                  : Verdict::shifted;
}

void put_fit(Verification& v, const LibrationFit& fit) {
  v.librates = fit.librates;
  v.centre_offset_deg = wrap_180(fit.centre - v.sigma_deg);
  v.measured_centre_deg = wrap_360(v.sigma_deg + v.centre_offset_deg);
  v.amplitude_deg = fit.amplitude;
  v.measured_period_years = fit.period;
  v.period_ratio = v.predicted_period_years / fit.period;
  v.centre_drift_deg = fit.drift;
  v.librations = fit.librations;
}

// Keeps the points whose sample index (first + i*stride/2) is a multiple of stride;
// returns the sample index of the first point kept.
long long thin(std::vector<double>& ts, std::vector<double>& ss, std::vector<SeriesPoint>& series,
               long long first, long long stride) {
  const std::size_t start = first % stride == 0 ? 0 : 1;
  std::size_t kept = 0;
  for (std::size_t i = start; i < ts.size(); i += 2, ++kept) {
    ts[kept] = ts[i];
    ss[kept] = ss[i];
    if (!series.empty()) {
      series[kept] = series[i];
    }
  }
  ts.resize(kept);
  ss.resize(kept);
  if (!series.empty()) {
    series.resize(kept);
  }
  return first + static_cast<long long>(start) * (stride / 2);
}

Verification run(const Result& result, double sigma_deg, double period_years,
                 const VerifyOptions& o) {
  Verification v;
  v.sigma_deg = sigma_deg;
  v.start_sigma_deg = sigma_deg + reduce_degrees_signed(o.offset_deg);
  v.predicted_period_years = period_years;
  v.measured_period_years = v.period_ratio = v.measured_centre_deg = v.centre_offset_deg = nan;
  v.amplitude_deg = v.centre_drift_deg = nan;

  const System& s = result.system;
  const Resonance& res = result.resonance;
  const double n2 = result.orbit.n2;
  const Scale scale{s.planet2.a, 1 / n2};
  const ThreeBody sys = three_body(s.star_mass, s.planet1.mass, s.planet2.mass, scale);
  const double hill = result.orbit.rhs / scale.length_au;
  const Limits limits{o.tolerance, o.close_encounter_hill * hill, o.max_energy_error, o.max_steps};

  // One resonant cycle: K1 revolutions of planet 2, K2 of planet 1.
  const double cycle = twopi * res.k1;
  int per_cycle = o.samples_per_orbit * static_cast<int>(res.k2);
  per_cycle += per_cycle % 2;

  const ModelElements model = model_elements(result, scale, v.start_sigma_deg * g2r);
  const Start start = find_start(sys, model, res, cycle, per_cycle, limits, o.max_iterations);
  v.start_iterations = start.iterations;
  v.start_converged = start.converged;
  if (start.stop != StopReason::completed) {
    v.stop = start.stop;
    v.energy_error = v.angular_momentum_error = nan;
    v.min_distance_hill = start.min_separation / hill;
    v.verdict = Verdict::not_confirmed;
    return v;
  }

  const double period = period_years * days_per_year * n2;
  const double wanted = std::ceil(o.periods * period / cycle) + 1;
  const long long cycles = std::max(min_cycles, static_cast<long long>(std::min(wanted, 1e12)));
  const long long total = cycles * per_cycle;
  long long stride = std::max(1, per_cycle / kept_per_cycle);
  const double widest_stride = period / cycle * per_cycle / min_kept_per_period;

  Propagator prop(sys, start.state, limits);
  CycleSmoother smooth(per_cycle);
  Unwrap sigma(critical_angle(osculating_of(sys, start.state), res));
  smooth.push(sigma.value());
  std::vector<double> ts;
  std::vector<double> ss;
  long long first_kept = 0;  // the sample index of ts[0]
  const double years = 1 / (n2 * days_per_year);
  for (long long k = 1; k <= total; ++k) {
    const StopReason why = prop.advance_to(static_cast<double>(k) * cycle / per_cycle);
    if (why != StopReason::completed) {
      v.stop = why;
      break;
    }
    const Osculating el = osculating_of(sys, prop.state());
    if (!el.bound()) {
      v.stop = StopReason::escape;
      break;
    }
    smooth.push(sigma.next(critical_angle(el, res)));
    const long long mid = k - per_cycle / 2;
    if (smooth.full() && mid % stride == 0) {
      if (ts.size() == max_kept && 2 * static_cast<double>(stride) <= widest_stride) {
        stride *= 2;
        first_kept = thin(ts, ss, v.series, first_kept, stride);
        if (mid % stride != 0) {
          continue;
        }
      }
      if (ts.empty()) {
        first_kept = mid;
      }
      const double t = static_cast<double>(mid) * cycle / per_cycle * years;
      ts.push_back(t);
      ss.push_back(degrees(smooth.mean()));
      if (o.keep_series) {
        v.series.push_back({t, degrees(smooth.middle()), degrees(smooth.mean())});
      }
    }
  }
  v.duration_years = prop.time() * years;
  v.steps = prop.steps();
  v.energy_error = prop.energy_error();
  v.angular_momentum_error = prop.angular_momentum_error();
  v.min_distance_hill = std::min(start.min_separation, prop.min_separation()) / hill;
  put_fit(v, fit_libration(ts, ss, period_years));
  v.verdict = verdict_of(v, o);
  return v;
}

}  // namespace

std::vector<Verification> verify(const Result& result, const VerifyOptions& options) {
  check(result, options);
  std::vector<Verification> out;
  for (const Equilibrium& eq : result.analysis.equilibria) {
    if (eq.kind == EquilibriumKind::stable) {
      out.push_back(run(result, eq.sigma, eq.period_years, options));
    }
  }
  return out;
}

Verification verify_at(const Result& result, double sigma_deg, const VerifyOptions& options) {
  check(result, options);
  if (!std::isfinite(sigma_deg)) {
    refuse("sigma must be finite");
  }
  // However large the value given, the angle it stands for, exactly.
  const double reduced = reduce_degrees(sigma_deg);
  const int index = static_cast<int>(std::lround(reduced)) % grid_points;
  const double period = curvature_period_years(result, index);
  if (!(std::isfinite(period) && period > 0)) {
    refuse("R(sigma) is flat at sigma = " + shortest(sigma_deg) + " degrees: no period to run for");
  }
  return run(result, reduced, period, options);
}

std::string_view name(Verdict verdict) {
  switch (verdict) {
    case Verdict::confirmed:
      return "confirmed";
    case Verdict::shifted:
      return "shifted";
    case Verdict::not_confirmed:
      break;
  }
  return "not confirmed";
}

std::string_view name(StopReason stop) {
  switch (stop) {
    case StopReason::completed:
      return "completed";
    case StopReason::close_encounter:
      return "close encounter";
    case StopReason::escape:
      return "escape";
    case StopReason::energy_drift:
      return "energy drift";
    case StopReason::step_limit:
      break;
  }
  return "step limit";
}

}  // namespace tandem
