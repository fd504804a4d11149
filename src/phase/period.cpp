#include "phase/period.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "orbit/constants.hpp"

namespace tandem::phase {
namespace {

// Each piece is refined until |Kronrod - Gauss| is below this fraction of a first estimate
// of the whole integral: the sum then errs by less than the fraction times the number of
// pieces, and no piece chases the rounding of R where the level passes just over a peak.
constexpr double relative_tolerance = 1e-11;
constexpr int max_depth = 50;
constexpr int max_rules = 4000;
// A turning piece is at least this long (degrees), so that the plain pieces keep away
// from the inverse square root.
constexpr double min_turning_piece = 0.5;

struct Budget {
  double tolerance = 0;
  int rules = 0;
  bool converged = true;
};

template <typename F>
double adaptive(const F& f, double a, double b, int depth, Budget& budget) {
  const RulePair r = gauss_kronrod15(f, a, b);
  ++budget.rules;
  if (!std::isfinite(r.kronrod)) {
    budget.converged = false;
    return r.kronrod;
  }
  if (std::fabs(r.kronrod - r.gauss) <= budget.tolerance) {
    return r.kronrod;
  }
  if (depth >= max_depth || budget.rules >= max_rules) {
    budget.converged = false;
    return r.kronrod;
  }
  const double mid = a + (b - a) / 2;
  return adaptive(f, a, mid, depth + 1, budget) + adaptive(f, mid, b, depth + 1, budget);
}

// R(t0 + d) - R(t0) within one cell, from the Taylor coefficients of the quintic at t0:
// no grid value is subtracted from another, so a small rise keeps its digits.
double cell_rise(const Cell& c, double t0, double d) {
  const double a1 = slope(c, t0);
  const double a2 = c[2] + t0 * (3 * c[3] + t0 * (6 * c[4] + t0 * (10 * c[5])));
  const double a3 = c[3] + t0 * (4 * c[4] + t0 * (10 * c[5]));
  const double a4 = c[4] + t0 * (5 * c[5]);
  return d * (a1 + d * (a2 + d * (a3 + d * (a4 + d * c[5]))));
}

// R(p + d) - R(p), p in unwrapped degrees, through as many cells as d crosses.
double rise(const std::vector<Cell>& cells, double p, double d) {
  CellPoint at = locate(p);
  if (d < 0 && at.t == 0) {
    at.cell = at.cell == 0 ? grid_points - 1 : at.cell - 1;
    at.t = 1;
  }
  double total = 0;
  double left = d;
  for (int guard = 0; guard < grid_points && left != 0; ++guard) {
    const double room = left > 0 ? 1 - at.t : -at.t;
    const double step = left > 0 ? std::min(left, room) : std::max(left, room);
    total = total + cell_rise(cells[at.cell], at.t, step);
    left = left - step;
    if (left > 0) {
      at.cell = (at.cell + 1) % grid_points;
      at.t = 0;
    } else if (left < 0) {
      at.cell = at.cell == 0 ? grid_points - 1 : at.cell - 1;
      at.t = 1;
    }
  }
  return total;
}

// dx/sqrt(2 hii (e - R)) with x in radians, at sigma in degrees.
struct Plain {
  const std::vector<Cell>& cells;
  double hii;
  double e;
  double operator()(double sigma) const {
    const double gap = e - value_at(cells, sigma);
    return 1 / std::sqrt(2 * hii * gap);
  }
};

// The piece from the turning point p to q (either side of p): sigma = p + D u^2 with
// D = q - p, so dx = 2 |D| g2r u du, and the gap R(p) - R(sigma) = -D u^2 A(D u^2) where
// A is the divided difference of R: the u cancels and the integrand 2 |D| g2r /
// sqrt(-2 hii D A) is smooth and finite up to the turning point itself.
struct Turning {
  const std::vector<Cell>& cells;
  double hii;
  double p;
  double d;
  double operator()(double u) const {
    const double offset = d * (u * u);
    const double quotient = offset != 0 ? rise(cells, p, offset) / offset : slope_at(p);
    return 2 * std::fabs(d) * g2r / std::sqrt(-2 * hii * d * quotient);
  }
  double slope_at(double sigma) const {
    const CellPoint at = locate(sigma);
    return slope(cells[at.cell], at.t);
  }
};

}  // namespace

PeriodSum libration_days(const std::vector<Cell>& cells, double hii, double e, double lo, double hi,
                         const std::vector<double>& peaks) {
  // Turning pieces at both ends; plain pieces between, cut at the grid points (the
  // quintic's joints) and at the peaks.
  std::vector<double> c;
  if (hi - lo <= 2 * min_turning_piece + 1) {
    c = {lo, lo + (hi - lo) / 2, hi};
  } else {
    c.push_back(lo);
    for (double g = std::ceil(lo + min_turning_piece); g <= hi - min_turning_piece; g = g + 1) {
      c.push_back(g);
    }
    for (const double p : peaks) {
      const double q = p - grid_points * std::floor((p - lo) / grid_points);
      if (q > c[1] && q < c.back()) {
        c.push_back(q);
      }
    }
    c.push_back(hi);
    std::sort(c.begin(), c.end());
    c.erase(std::unique(c.begin(), c.end()), c.end());
  }
  const std::size_t last = c.size() - 2;
  const Plain plain{cells, hii, e};
  const auto piece = [&](std::size_t k, Budget& budget, bool first_pass) {
    if (k == 0 || k == last) {
      const double p = k == 0 ? c[0] : c[k + 1];
      const double q = k == 0 ? c[1] : c[k];
      const Turning f{cells, hii, p, q - p};
      return first_pass ? gauss_kronrod15(f, 0.0, 1.0).kronrod : adaptive(f, 0.0, 1.0, 0, budget);
    }
    return (first_pass ? gauss_kronrod15(plain, c[k], c[k + 1]).kronrod
                       : adaptive(plain, c[k], c[k + 1], 0, budget)) *
           g2r;
  };
  Budget budget;
  double estimate = 0;
  for (std::size_t k = 0; k + 1 < c.size(); ++k) {
    estimate = estimate + piece(k, budget, true);
  }
  budget.tolerance = relative_tolerance * std::fabs(estimate);
  double half = 0;
  for (std::size_t k = 0; k + 1 < c.size(); ++k) {
    half = half + piece(k, budget, false);
  }
  PeriodSum sum;
  sum.days = 2 * half;
  sum.converged = budget.converged && std::isfinite(sum.days);
  return sum;
}

PeriodSum circulation_days(const std::vector<Cell>& cells, double hii, double e,
                           const std::vector<double>& peaks) {
  std::vector<double> c;
  for (int g = 0; g <= grid_points; ++g) {
    c.push_back(g);
  }
  for (const double p : peaks) {
    c.push_back(p);
  }
  std::sort(c.begin(), c.end());
  c.erase(std::unique(c.begin(), c.end()), c.end());
  const Plain plain{cells, hii, e};
  Budget budget;
  double estimate = 0;
  for (std::size_t k = 0; k + 1 < c.size(); ++k) {
    estimate = estimate + gauss_kronrod15(plain, c[k], c[k + 1]).kronrod;
  }
  budget.tolerance = relative_tolerance * std::fabs(estimate);
  double total = 0;
  for (std::size_t k = 0; k + 1 < c.size(); ++k) {
    total = total + adaptive(plain, c[k], c[k + 1], 0, budget);
  }
  PeriodSum sum;
  sum.days = total * g2r;
  sum.converged = budget.converged && std::isfinite(sum.days);
  return sum;
}

}  // namespace tandem::phase
