#include "phase/interpolant.hpp"

#include <cmath>

namespace tandem::phase {
namespace {

int wrap(int i) {
  return i < 0 ? i + grid_points : (i >= grid_points ? i - grid_points : i);
}

}  // namespace

// Derivatives in the cell variable (one degree), so that no step enters: d = h f', s = h^2 f''.
// The differences are formed pairwise, so that a curve symmetric about a grid point has a
// slope of exactly 0 there.
std::vector<Cell> quintic_cells(const GridArray<double>& f) {
  GridArray<double> d{};
  GridArray<double> s{};
  for (int i = 0; i < grid_points; ++i) {
    const double p1 = f[wrap(i + 1)];
    const double m1 = f[wrap(i - 1)];
    const double p2 = f[wrap(i + 2)];
    const double m2 = f[wrap(i - 2)];
    const double p3 = f[wrap(i + 3)];
    const double m3 = f[wrap(i - 3)];
    d[i] = ((45 * (p1 - m1) - 9 * (p2 - m2)) + (p3 - m3)) / 60;
    s[i] = (((270 * (p1 + m1) - 27 * (p2 + m2)) + 2 * (p3 + m3)) - 490 * f[i]) / 180;
  }
  std::vector<Cell> cells(grid_points);
  for (int i = 0; i < grid_points; ++i) {
    const int j = wrap(i + 1);
    const double df = f[j] - f[i];
    Cell& c = cells[i];
    c[0] = f[i];
    c[1] = d[i];
    c[2] = s[i] / 2;
    c[3] = 10 * df - 6 * d[i] - 4 * d[j] - 1.5 * s[i] + 0.5 * s[j];
    c[4] = -15 * df + 8 * d[i] + 7 * d[j] + 1.5 * s[i] - s[j];
    c[5] = 6 * df - 3 * d[i] - 3 * d[j] - 0.5 * s[i] + 0.5 * s[j];
  }
  return cells;
}

CellPoint locate(double sigma_deg) {
  const double turns = std::floor(sigma_deg / grid_points);
  double x = sigma_deg - grid_points * turns;
  if (x >= grid_points) {
    x = 0;
  }
  const double base = std::floor(x);
  return {static_cast<int>(base), x - base};
}

double value(const Cell& c, double t) {
  return c[0] + t * (c[1] + t * (c[2] + t * (c[3] + t * (c[4] + t * c[5]))));
}

double slope(const Cell& c, double t) {
  return c[1] + t * (2 * c[2] + t * (3 * c[3] + t * (4 * c[4] + t * (5 * c[5]))));
}

double curvature(const Cell& c, double t) {
  return 2 * c[2] + t * (6 * c[3] + t * (12 * c[4] + t * (20 * c[5])));
}

double value_at(const std::vector<Cell>& cells, double sigma_deg) {
  const CellPoint p = locate(sigma_deg);
  return value(cells[p.cell], p.t);
}

}  // namespace tandem::phase
