// One body's survey: the planets at its epoch, the perturber, the elements the model takes,
// the candidates, and one solve per candidate.

#include <algorithm>
#include <cmath>
#include <numeric>

#include "bodies/angles.hpp"
#include "bodies/barycentric.hpp"
#include "tandem/phase_space.hpp"
#include "tandem/solve.hpp"
#include "tandem/survey.hpp"

namespace tandem {
namespace {

using bodies::Side;

constexpr double giant_mass = 1e-5;  // M_sun: Uranus and Neptune are 4.4e-5 and 5.2e-5

struct Frame {
  Body body;       // the body's elements as the model takes them
  Body perturber;  // the perturber's
  double star_mass = 0;
  double body_mass = 0;
  double perturber_mass = 0;
};

std::size_t perturber_index(const std::vector<Body>& planets, const std::string& name) {
  for (std::size_t k = 0; k < planets.size(); ++k) {
    if (planets[k].name == name) {
      return k;
    }
  }
  std::string known;
  for (const Body& p : planets) {
    known += (known.empty() ? "" : ", ") + p.name;
  }
  throw BodiesError("no planet " + name + " among the planets (" + known + ")");
}

Frame frame_of(const Body& body, const Planets& planets, const SurveyOptions& options) {
  const std::vector<Body> at = planets_at(planets, body.epoch_jd);
  const std::string name = options.perturber ? *options.perturber : default_perturber(at, body.a);
  const std::size_t p = perturber_index(at, name);
  Frame f;
  f.body_mass = body.mass.value_or(options.body_mass);
  f.perturber_mass = at[p].mass.value_or(0.0);
  if (options.elements == ElementsKind::heliocentric) {
    f.body = body;
    f.perturber = at[p];
    f.star_mass = planets.star_mass;
    return f;
  }
  std::vector<bool> folded(at.size());
  for (std::size_t k = 0; k < at.size(); ++k) {
    folded[k] = k != p && at[k].a < body.a;
  }
  const bodies::Recentred b = bodies::recentre(body, f.body_mass, at, folded, planets.star_mass);
  const bodies::Recentred q =
      bodies::recentre(at[p], f.perturber_mass, at, folded, planets.star_mass);
  if (!(b.body.e < 1) || !std::isfinite(b.body.node)) {
    throw BodiesError("the orbit of " + body.name + " is not bound about the barycentre");
  }
  f.body = b.body;
  // The standard table's elements are mean ones, their a that of the observed mean motion
  // about the Sun and the planets inside: they already are the perturber's orbit about
  // that barycentre (recentred as an osculating heliocentric orbit, Neptune's a would
  // come out 0.06 au short and every resonance 0.2 % too close in).
  f.perturber = planets.standard_table ? at[p] : q.body;
  f.star_mass = b.central_mass;
  return f;
}

Planet planet_of(const Body& b, double mass) {
  return {b.a, b.e, b.i, b.node, bodies::degrees_0_360(b.node + b.argperi), mass};
}

// R(sigma) - Rmin at sigma (degrees), linear between grid points; whether either point is
// in a close-encounter band.
std::pair<double, bool> curve_at(const Curve& c, double sigma) {
  const double lower = std::floor(sigma);
  const int i0 = static_cast<int>(lower) % grid_points;
  const int i1 = (i0 + 1) % grid_points;
  const double f = sigma - lower;
  const double r = c.r_minus_rmin[i0] + f * (c.r_minus_rmin[i1] - c.r_minus_rmin[i0]);
  return {r, c.close_encounter[i0] || c.close_encounter[i1]};
}

// The trajectory of the averaged model through the body's sigma and a, in phi.
void model_row(SurveyRow& row, const Result& r, const bodies::AngleMap& map, Side side) {
  const double nan = std::nan("");
  const PhaseSpace space = phase_space(r);
  const Trajectory t =
      trajectory(space, row.sigma, side == Side::inside ? Axis::a1 : Axis::a2, row.a);
  row.model_regime = t.regime;
  for (const Zone& z : space.zones) {
    if (z.equilibrium_index < 0) {
      continue;
    }
    // phi = s*(sigma - c): the extent's ends swap when s = -1; the shift that brings the
    // centre into 0..360 moves both ends with it.
    const double centre = map.s * (z.sigma - map.c);
    const double x = map.s * (z.sigma_min - map.c);
    const double y = map.s * (z.sigma_max - map.c);
    const double shift = bodies::degrees_0_360(centre) - centre;
    row.zones.push_back({centre + shift, std::min(x, y) + shift, std::max(x, y) + shift,
                         side == Side::inside ? z.width_a1 : z.width_a2, z.close_encounter});
  }
  row.close_encounter = t.close_encounter;
  row.model_centre = t.regime == Regime::libration ? bodies::phi_of_sigma(map, t.centre) : nan;
  row.model_period_years = t.period_state == PeriodState::finite ? t.period_years : nan;
  if (t.regime == Regime::circulation) {
    row.model_phi_min = row.model_phi_max = row.model_amplitude = nan;
    return;
  }
  // phi = s*(sigma - c): the turning points swap when s = -1.
  const double x = map.s * (t.sigma_min - map.c);
  const double y = map.s * (t.sigma_max - map.c);
  const double lo = std::min(x, y);
  const double hi = std::max(x, y);
  const double shift = bodies::degrees_0_360(lo) - lo;
  row.model_phi_min = lo + shift;
  row.model_phi_max = hi + shift;
  row.model_amplitude = (hi - lo) / 2;
}

SurveyRow solved_row(const Body& original, const Frame& f, int k2, int k1, Side side) {
  const Resonance res{static_cast<double>(k2), static_cast<double>(k1)};
  const Planet body = planet_of(f.body, f.body_mass);
  const Planet pert = planet_of(f.perturber, f.perturber_mass);
  System system;
  system.star_mass = f.star_mass;
  if (side == Side::inside) {
    system.planet1 = body;
    system.planet2 = pert;
  } else {
    system.planet1 = pert;
    system.planet2 = body;
    system.planet2.a = planet2_at_resonance(system, res);
  }
  const Result r = solve(system, res, SolveOptions{1});

  SurveyRow row;
  row.body = original.name;
  row.epoch_jd = original.epoch_jd;
  row.perturber = f.perturber.name;
  row.side = side;
  row.k2 = k2;
  row.k1 = k1;
  row.order = k2 - k1;
  row.a = f.body.a;
  row.e = f.body.e;
  row.i = f.body.i;
  row.a_res = side == Side::inside ? r.orbit.a1 : r.orbit.a2;
  row.delta_a = row.a - row.a_res;
  row.strength = r.analysis.strength;
  row.width = side == Side::inside ? r.analysis.width_a1 : r.analysis.width_a2;
  row.detectable = r.analysis.detectable;

  const double varpi = body.peri;
  const double varpi_p = pert.peri;
  const double lambda = bodies::degrees_0_360(varpi + f.body.mean_anomaly);
  const double lambda_p = bodies::degrees_0_360(varpi_p + f.perturber.mean_anomaly);
  const bodies::AngleMap map = bodies::angle_map(k2, k1, side, varpi, varpi_p);
  row.phi = bodies::critical_phi(k2, k1, side, lambda, varpi, lambda_p);
  row.sigma = bodies::sigma_of_phi(map, row.phi);
  for (const Equilibrium& q : r.analysis.equilibria) {
    if (q.kind == EquilibriumKind::stable) {
      row.stable_phi.push_back(bodies::phi_of_sigma(map, q.sigma));
    }
  }
  model_row(row, r, map, side);
  const double delr = r.analysis.amplitude;
  if (row.detectable && delr > 0 && row.width > 0) {
    const auto [above, close] = curve_at(r.curve, row.sigma);
    const double x = row.delta_a / (row.width / 2);
    row.pendulum_zone = !close && above + delr * (x * x) < delr;
  }
  return row;
}

}  // namespace

std::string default_perturber(const std::vector<Body>& planets, double a) {
  const Body* best = nullptr;
  double best_distance = 0;
  for (const Body& p : planets) {
    if (p.mass.value_or(0.0) <= giant_mass) {
      continue;
    }
    const double d = std::fabs(std::log(a / p.a));
    if (!best || d < best_distance) {
      best = &p;
      best_distance = d;
    }
  }
  if (!best) {
    throw BodiesError("no planet above 1e-5 M_sun to take as the perturber: name one");
  }
  return best->name;
}

std::vector<SurveyRow> survey_body(const Body& body, const Planets& planets,
                                   const SurveyOptions& options) {
  const Frame f = frame_of(body, planets, options);
  const Side side = f.body.a < f.perturber.a ? Side::inside : Side::outside;
  const double masses = std::cbrt((f.star_mass + f.body_mass) / (f.star_mass + f.perturber_mass));
  struct Candidate {
    int k2, k1;
    double a_nominal;
  };
  std::vector<Candidate> candidates;
  for (int k2 = 1; k2 <= options.max_k2; ++k2) {
    for (int k1 = 1; k1 <= k2; ++k1) {
      const int order = k2 - k1;
      if (order < options.order_min || order > options.order_max || std::gcd(k2, k1) != 1) {
        continue;
      }
      const double ratio =
          side == Side::inside ? static_cast<double>(k1) / k2 : static_cast<double>(k2) / k1;
      const double a_nominal = f.perturber.a * masses * std::cbrt(ratio * ratio);
      if (std::fabs(a_nominal - f.body.a) <= options.window_au) {
        candidates.push_back({k2, k1, a_nominal});
      }
    }
  }
  std::stable_sort(
      candidates.begin(), candidates.end(),
      [](const Candidate& x, const Candidate& y) { return x.a_nominal < y.a_nominal; });
  std::vector<SurveyRow> rows;
  for (const Candidate& c : candidates) {
    rows.push_back(solved_row(body, f, c.k2, c.k1, side));
  }
  return rows;
}

}  // namespace tandem
