#include "tandem/phase_space.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "orbit/constants.hpp"
#include "phase/interpolant.hpp"
#include "phase/period.hpp"
#include "phase/structure.hpp"

namespace tandem {
namespace {

constexpr double days_per_year = 365.25;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
// A level within this fraction of the curve's span of a maximum is its separatrix.
constexpr double separatrix_fraction = 1e-9;
// A program's stable point belongs to the well whose minimum lies this close, degrees.
constexpr double equilibrium_match_deg = 1.5;
// Turning points closer than this (degrees) are a libration of zero amplitude.
constexpr double zero_amplitude_deg = 1e-9;

// au of a1 (and a2) per unit of Sigma: half the program's full width per Sigma at the
// pendulum's maximum, Sigma_max = sqrt(2 delr/hii).
double axis_per_sigma(double mst, double m, double a, double k) {
  return (2 * (((std::sqrt((mst + m) * a) * k) / mst) / m)) / kgaus;
}

// The program's full width with the depth of a well in place of Rmax - Rmin.
double full_width(double mst, double m, double a, double k, double depth, double hii) {
  const double ff = 2 * std::sqrt(((2 * depth) / hii) / kg2);
  return 2 * ((((std::sqrt((mst + m) * a) * k) / mst) / m) * ff);
}

// Does [lo, hi] (unwrapped degrees) come within a grid step of a flagged point?
bool reaches_band(const GridArray<bool>& flags, double lo, double hi) {
  for (int g = 0; g < grid_points; ++g) {
    if (!flags[g]) {
      continue;
    }
    const double base = g + grid_points * std::floor((lo - 1 - g) / grid_points);
    for (double p = base; p < hi + 1; p = p + grid_points) {
      if (p > lo - 1) {
        return true;
      }
    }
  }
  return false;
}

double angular_distance(double a, double b) {
  const double d = std::fabs(a - b);
  return std::min(d, grid_points - d);
}

int matching_equilibrium(const Result& result, double sigma) {
  int best = -1;
  double best_d = equilibrium_match_deg;
  for (const Equilibrium& eq : result.analysis.equilibria) {
    if (eq.kind != EquilibriumKind::stable) {
      continue;
    }
    const double d = angular_distance(eq.index, sigma);
    if (d <= best_d) {
      best_d = d;
      best = eq.index;
    }
  }
  return best;
}

double curvature_per_radian2(const PhaseSpace& space, double sigma) {
  const phase::CellPoint p = phase::locate(sigma);
  return phase::curvature(space.cells[p.cell], p.t) / (g2r * g2r);
}

double small_amplitude_years(const PhaseSpace& space, double sigma) {
  return (twopi / std::sqrt(curvature_per_radian2(space, sigma) * space.hii)) / days_per_year;
}

std::vector<int> zone_indices(const PhaseSpace& space, const std::vector<int>& minima) {
  std::vector<int> out;
  for (const int m : minima) {
    for (std::size_t z = 0; z < space.zones.size(); ++z) {
      if (space.zones[z].sigma == space.extrema[m].sigma) {
        out.push_back(static_cast<int>(z));
      }
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

void fill_horseshoe(const PhaseSpace& space, Zone& zone) {
  zone.horseshoe_barrier = nan;
  zone.horseshoe_sigma_min = nan;
  zone.horseshoe_sigma_max = nan;
  const phase::Arc above =
      phase::arc_at(space.cells, space.extrema, zone.sigma, zone.barrier, true);
  if (above.circulates) {
    return;
  }
  for (const int z : zone_indices(space, above.minima)) {
    if (space.zones[z].sigma != zone.sigma) {
      zone.horseshoe_with.push_back(z);
    }
  }
  zone.horseshoe_barrier = std::min(space.extrema[above.wall_lo].r, space.extrema[above.wall_hi].r);
  const phase::Arc shoe =
      phase::arc_at(space.cells, space.extrema, zone.sigma, zone.horseshoe_barrier, false);
  zone.horseshoe_sigma_min = shoe.lo;
  zone.horseshoe_sigma_max = shoe.hi;
  zone.horseshoe_close_encounter = reaches_band(space.close_encounter, shoe.lo, shoe.hi);
}

Zone zone_of(const Result& result, const PhaseSpace& space, int m, double mst, double sm1,
             double sm2) {
  const int n = static_cast<int>(space.extrema.size());
  const Extremum& low = space.extrema[m];
  const Extremum& left = space.extrema[(m + n - 1) % n];
  const Extremum& right = space.extrema[(m + 1) % n];
  const Extremum& wall = left.r <= right.r ? left : right;
  Zone zone;
  zone.sigma = low.sigma;
  zone.r = low.r;
  zone.equilibrium_index = matching_equilibrium(result, low.sigma);
  zone.barrier = wall.r;
  zone.barrier_sigma = wall.sigma;
  const phase::Arc arc = phase::arc_at(space.cells, space.extrema, low.sigma, wall.r, false);
  zone.sigma_min = arc.lo;
  zone.sigma_max = arc.hi;
  const double depth = zone.barrier - zone.r;
  zone.width_a1 = full_width(mst, sm1, space.a1, result.resonance.k1, depth, space.hii);
  zone.width_a2 = full_width(mst, sm2, space.a2, result.resonance.k2, depth, space.hii);
  zone.small_amplitude_period_years = small_amplitude_years(space, low.sigma);
  zone.close_encounter = reaches_band(space.close_encounter, arc.lo, arc.hi);
  return zone;
}

double separatrix_band(const Result& result, const std::vector<Extremum>& extrema) {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -lo;
  for (const Extremum& x : extrema) {
    lo = std::min(lo, x.r);
    hi = std::max(hi, x.r);
  }
  double largest = 0;
  for (const double r : result.curve.r) {
    largest = std::max(largest, std::fabs(r));
  }
  const double rounding = result.orbit.ipasos * std::numeric_limits<double>::epsilon() * largest;
  return std::max(separatrix_fraction * (hi - lo), rounding);
}

bool touches_separatrix(const PhaseSpace& space, const phase::Arc& arc, double e) {
  std::vector<int> maxima = arc.passed;
  if (arc.wall_lo >= 0) {
    maxima.push_back(arc.wall_lo);
  }
  if (arc.wall_hi >= 0) {
    maxima.push_back(arc.wall_hi);
  }
  for (const int m : maxima) {
    if (std::fabs(e - space.extrema[m].r) <= space.separatrix_band) {
      return true;
    }
  }
  return false;
}

void set_axes(const PhaseSpace& space, double sigma_lo, double sigma_hi, Trajectory& t) {
  // sigma_lo <= sigma_hi: the range of Sigma along the curve.
  const double a1a = space.a1 - space.a1_per_sigma * sigma_lo;
  const double a1b = space.a1 - space.a1_per_sigma * sigma_hi;
  const double a2a = space.a2 + space.a2_per_sigma * sigma_lo;
  const double a2b = space.a2 + space.a2_per_sigma * sigma_hi;
  t.a1_min = std::min(a1a, a1b);
  t.a1_max = std::max(a1a, a1b);
  t.a2_min = std::min(a2a, a2b);
  t.a2_max = std::max(a2a, a2b);
}

// |Sigma| on the level e where R = r.
double momentum_on_level(const PhaseSpace& space, double e, double r) {
  const double gap = e - r;
  return gap > 0 ? std::sqrt((2 * gap) / space.hii) : 0.0;
}

Trajectory flat_trajectory(const PhaseSpace& space, double momentum) {
  Trajectory t;
  t.regime = Regime::circulation;
  t.centre = nan;
  t.sigma_min = nan;
  t.sigma_max = nan;
  t.momentum = momentum;
  t.energy = 0.5 * space.hii * (momentum * momentum);
  set_axes(space, momentum, momentum, t);
  t.close_encounter = reaches_band(space.close_encounter, 0, grid_points);
  if (momentum == 0) {
    t.period_state = PeriodState::none;
    t.period_years = nan;
  } else {
    t.period_years = (twopi / (space.hii * std::fabs(momentum))) / days_per_year;
  }
  return t;
}

std::vector<double> peak_positions(const PhaseSpace& space, const std::vector<int>& maxima) {
  std::vector<double> out;
  for (const int m : maxima) {
    out.push_back(space.extrema[m].sigma);
  }
  return out;
}

Trajectory level_through(const PhaseSpace& space, double sigma_deg, double momentum) {
  if (space.flat) {
    return flat_trajectory(space, momentum);
  }
  const double s0 = sigma_deg - grid_points * std::floor(sigma_deg / grid_points);
  const double start = s0 >= grid_points ? 0.0 : s0;
  Trajectory t;
  t.momentum = momentum;
  t.energy = phase::value_at(space.cells, start) + 0.5 * space.hii * (momentum * momentum);
  const phase::Arc arc = phase::arc_at(space.cells, space.extrema, start, t.energy, false);
  const bool separatrix = touches_separatrix(space, arc, t.energy);
  phase::PeriodSum sum;
  if (arc.circulates) {
    t.regime = Regime::circulation;
    t.centre = nan;
    t.sigma_min = nan;
    t.sigma_max = nan;
    double rmin = std::numeric_limits<double>::infinity();
    double rmax = -rmin;
    for (const Extremum& x : space.extrema) {
      rmin = std::min(rmin, x.r);
      rmax = std::max(rmax, x.r);
    }
    const double sign = momentum < 0 ? -1.0 : 1.0;
    set_axes(space, sign * momentum_on_level(space, t.energy, rmax),
             sign * momentum_on_level(space, t.energy, rmin), t);
    t.close_encounter = reaches_band(space.close_encounter, 0, grid_points);
    if (!separatrix) {
      sum = phase::circulation_days(space.cells, space.hii, t.energy,
                                    peak_positions(space, arc.passed));
    }
  } else {
    t.centres = zone_indices(space, arc.minima);
    t.regime = t.centres.size() == 1 ? Regime::libration : Regime::horseshoe;
    t.centre = t.centres.size() == 1 ? space.zones[t.centres[0]].sigma : nan;
    t.sigma_min = arc.lo;
    t.sigma_max = arc.hi;
    double rmin = std::numeric_limits<double>::infinity();
    for (const int m : arc.minima) {
      rmin = std::min(rmin, space.extrema[m].r);
    }
    const double top = momentum_on_level(space, t.energy, rmin);
    set_axes(space, -top, top, t);
    t.close_encounter = reaches_band(space.close_encounter, arc.lo, arc.hi);
    if (!separatrix) {
      if (arc.hi - arc.lo <= zero_amplitude_deg && t.centres.size() == 1) {
        sum.days = space.zones[t.centres[0]].small_amplitude_period_years * days_per_year;
      } else {
        sum = phase::libration_days(space.cells, space.hii, t.energy, arc.lo, arc.hi,
                                    peak_positions(space, arc.passed));
      }
    }
  }
  if (separatrix || !sum.converged) {
    t.period_state = PeriodState::near_separatrix;
    t.period_years = nan;
  } else {
    t.period_years = sum.days / days_per_year;
  }
  return t;
}

}  // namespace

PhaseSpace phase_space(const Result& result) {
  PhaseSpace space;
  const double mst = result.system.star_mass;
  const double sm1 = result.system.planet1.mass;
  const double sm2 = result.system.planet2.mass;
  space.hii = result.orbit.hii;
  space.a1 = result.orbit.a1;
  space.a2 = result.orbit.a2;
  space.a1_per_sigma = axis_per_sigma(mst, sm1, space.a1, result.resonance.k1);
  space.a2_per_sigma = axis_per_sigma(mst, sm2, space.a2, result.resonance.k2);
  space.close_encounter = result.curve.close_encounter;
  space.flat = !result.analysis.detectable;
  GridArray<double> f{};
  if (!space.flat) {
    f = result.curve.r_minus_rmin;
  }
  space.cells = phase::quintic_cells(f);
  if (space.flat) {
    return space;
  }
  space.extrema = phase::find_extrema(space.cells);
  for (Extremum& x : space.extrema) {
    x.close_encounter = reaches_band(space.close_encounter, x.sigma, x.sigma);
  }
  if (space.extrema.empty()) {
    space.flat = true;
    return space;
  }
  space.separatrix_band = separatrix_band(result, space.extrema);
  const int n = static_cast<int>(space.extrema.size());
  for (int m = 0; m < n; ++m) {
    if (space.extrema[m].kind == ExtremumKind::minimum) {
      space.zones.push_back(zone_of(result, space, m, mst, sm1, sm2));
    }
  }
  // Horseshoes name other zones, so they come once all zones are known.
  for (Zone& zone : space.zones) {
    fill_horseshoe(space, zone);
  }
  return space;
}

Trajectory trajectory(const PhaseSpace& space, double sigma_deg) {
  if (!std::isfinite(sigma_deg)) {
    throw std::invalid_argument("sigma must be finite");
  }
  return level_through(space, sigma_deg, 0.0);
}

Trajectory trajectory(const PhaseSpace& space, double sigma_deg, Axis axis, double a_au) {
  if (!std::isfinite(sigma_deg)) {
    throw std::invalid_argument("sigma must be finite");
  }
  if (!std::isfinite(a_au) || !(a_au > 0)) {
    throw std::invalid_argument("the semi-major axis must be finite and positive");
  }
  return level_through(space, sigma_deg, sigma_momentum(space, axis, a_au));
}

double model_r(const PhaseSpace& space, double sigma_deg) {
  return phase::value_at(space.cells, sigma_deg);
}

double energy(const PhaseSpace& space, double sigma_deg, Axis axis, double a_au) {
  const double momentum = sigma_momentum(space, axis, a_au);
  return model_r(space, sigma_deg) + 0.5 * space.hii * (momentum * momentum);
}

double sigma_momentum(const PhaseSpace& space, Axis axis, double a_au) {
  if (axis == Axis::a1) {
    return (space.a1 - a_au) / space.a1_per_sigma;
  }
  return (a_au - space.a2) / space.a2_per_sigma;
}

std::string_view name(Regime regime) {
  switch (regime) {
    case Regime::libration:
      return "libration";
    case Regime::horseshoe:
      return "horseshoe";
    case Regime::circulation:
      return "circulation";
  }
  return "";
}

std::string_view name(PeriodState state) {
  switch (state) {
    case PeriodState::finite:
      return "finite";
    case PeriodState::near_separatrix:
      return "near separatrix";
    case PeriodState::none:
      return "none";
  }
  return "";
}

}  // namespace tandem
