#include "phase/structure.hpp"

#include <cmath>

namespace tandem::phase {
namespace {

constexpr int samples_per_cell = 8;

struct Sample {
  int cell = 0;
  double t = 0;
  double slope = 0;
};

// dR/dt changes sign between t0 and t0 + step of one cell: bisect on it.
double slope_root(const Cell& c, double t0, double step, double s0) {
  double lo = t0;
  double hi = t0 + step;
  for (int it = 0; it < 200; ++it) {
    const double mid = lo + (hi - lo) / 2;
    if (mid <= lo || mid >= hi) {
      break;
    }
    const double s = slope(c, mid);
    if (s == 0) {
      return mid;
    }
    if ((s < 0) == (s0 < 0)) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return lo + (hi - lo) / 2;
}

Extremum extremum_at(const std::vector<Cell>& cells, int cell, double t, bool rising_after) {
  Extremum e;
  e.kind = rising_after ? ExtremumKind::minimum : ExtremumKind::maximum;
  if (t >= 1) {
    cell = (cell + 1) % grid_points;
    t = 0;
  }
  e.sigma = cell + t;
  if (e.sigma >= grid_points) {  // t rounded up to the cell's end
    e.sigma = 0;
    cell = 0;
    t = 0;
  }
  e.r = value(cells[cell], t);
  return e;
}

// Where R = e between a (R(a) <= e) and b (R(b) >= e), unwrapped degrees, either order.
double crossing(const std::vector<Cell>& cells, double a, double b, double e) {
  if (value_at(cells, a) - e >= 0) {
    return a;
  }
  if (value_at(cells, b) - e <= 0) {
    return b;
  }
  for (int it = 0; it < 200; ++it) {
    const double mid = a + (b - a) / 2;
    if (mid == a || mid == b) {
      break;
    }
    if (value_at(cells, mid) - e <= 0) {
      a = mid;
    } else {
      b = mid;
    }
  }
  return a + (b - a) / 2;
}

}  // namespace

std::vector<Extremum> find_extrema(const std::vector<Cell>& cells) {
  std::vector<Sample> samples;
  samples.reserve(grid_points * samples_per_cell);
  const double step = 1.0 / samples_per_cell;
  for (int i = 0; i < grid_points; ++i) {
    for (int k = 0; k < samples_per_cell; ++k) {
      const double t = k * step;
      samples.push_back({i, t, slope(cells[i], t)});
    }
  }
  const int n = static_cast<int>(samples.size());
  // Start the cyclic pass at a sample with a non-zero slope; none: a flat curve.
  int start = -1;
  for (int j = 0; j < n; ++j) {
    if (samples[j].slope != 0) {
      start = j;
      break;
    }
  }
  std::vector<Extremum> out;
  if (start < 0) {
    return out;
  }
  // Walk once round from start; a run of zero slopes between samples of opposite sign is
  // an extremum at the run's middle sample; a sign change between neighbours is bisected.
  int last = start;
  for (int k = 1; k <= n; ++k) {
    const int j = (start + k) % n;
    if (samples[j].slope == 0) {
      continue;
    }
    const bool was_negative = samples[last].slope < 0;
    const bool is_negative = samples[j].slope < 0;
    if (was_negative != is_negative) {
      const int gap = (j - last + n) % n;
      if (gap == 1) {
        const Sample& s = samples[last];
        const double t = slope_root(cells[s.cell], s.t, step, s.slope);
        out.push_back(extremum_at(cells, s.cell, t, was_negative));
      } else {
        const Sample& s = samples[(last + gap / 2) % n];
        out.push_back(extremum_at(cells, s.cell, s.t, was_negative));
      }
    }
    last = j;
  }
  // In increasing sigma, from the first at or after 0.
  std::size_t first = 0;
  for (std::size_t i = 1; i < out.size(); ++i) {
    if (out[i].sigma < out[first].sigma) {
      first = i;
    }
  }
  std::vector<Extremum> sorted;
  sorted.reserve(out.size());
  for (std::size_t i = 0; i < out.size(); ++i) {
    sorted.push_back(out[(first + i) % out.size()]);
  }
  return sorted;
}

Arc arc_at(const std::vector<Cell>& cells, const std::vector<Extremum>& extrema, double sigma_deg,
           double e, bool pass_level) {
  Arc arc;
  const int n = static_cast<int>(extrema.size());
  const auto is_wall = [&](const Extremum& x) {
    return x.kind == ExtremumKind::maximum && (pass_level ? x.r > e : x.r >= e);
  };
  // Rightwards: the extrema after sigma_deg; leftwards: those at or before it.
  int right = 0;
  while (right < n && extrema[right].sigma <= sigma_deg) {
    ++right;
  }
  std::vector<int> inside_right;
  double prev = sigma_deg;
  bool walled = false;
  for (int k = 0; k < n; ++k) {
    const int idx = (right + k) % n;
    const double pos = extrema[idx].sigma + (right + k >= n ? grid_points : 0);
    if (is_wall(extrema[idx])) {
      arc.wall_hi = idx;
      arc.hi = crossing(cells, prev, pos, e);
      walled = true;
      break;
    }
    inside_right.push_back(idx);
    prev = pos;
  }
  if (!walled) {
    arc.circulates = true;
    for (int idx = 0; idx < n; ++idx) {
      (extrema[idx].kind == ExtremumKind::minimum ? arc.minima : arc.passed).push_back(idx);
    }
    return arc;
  }
  std::vector<int> inside_left;
  prev = sigma_deg;
  for (int k = 0; k < n; ++k) {
    const int raw = right - 1 - k;
    const int idx = ((raw % n) + n) % n;
    const double pos = extrema[idx].sigma - (raw < 0 ? grid_points : 0);
    if (is_wall(extrema[idx])) {
      arc.wall_lo = idx;
      arc.lo = crossing(cells, prev, pos, e);
      break;
    }
    inside_left.push_back(idx);
    prev = pos;
  }
  for (auto it = inside_left.rbegin(); it != inside_left.rend(); ++it) {
    (extrema[*it].kind == ExtremumKind::minimum ? arc.minima : arc.passed).push_back(*it);
  }
  for (const int idx : inside_right) {
    (extrema[idx].kind == ExtremumKind::minimum ? arc.minima : arc.passed).push_back(idx);
  }
  return arc;
}

}  // namespace tandem::phase
