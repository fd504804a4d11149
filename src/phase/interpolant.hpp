#pragma once
// The periodic piecewise quintic through R - Rmin on the closed one-degree grid.
//
// Given:    f, the 360 grid values (grid point i at sigma = i degrees).
// Returned: per cell [i, i + 1) the coefficients c0..c5 of f(sigma) = sum c_k t^k with
//           t = sigma - i in degrees; value, first and second derivative at any sigma.
// Notes:    At each grid point the quintic takes the grid value and the sixth-order central
//           differences of the first and second derivative; so it is C2, exact to
//           rounding for cos sigma, and a feature of the grid reaches only three points to
//           either side. A grid point itself is t = 0 of its own cell, where the value is
//           the grid value exactly.
// Reference: Fornberg's central-difference weights, order 6: first derivative
//           (-1, 9, -45, 0, 45, -9, 1)/60, second (2, -27, 270, -490, 270, -27, 2)/180.

#include <array>
#include <vector>

#include "tandem/result.hpp"

namespace tandem::phase {

using Cell = std::array<double, 6>;

std::vector<Cell> quintic_cells(const GridArray<double>& f);

// The cell and the t in [0, 1) of sigma_deg (any real).
struct CellPoint {
  int cell = 0;
  double t = 0;
};
CellPoint locate(double sigma_deg);

// Value, and derivatives per degree of the cell variable t (d/dt, d2/dt2).
double value(const Cell& c, double t);
double slope(const Cell& c, double t);
double curvature(const Cell& c, double t);

double value_at(const std::vector<Cell>& cells, double sigma_deg);

}  // namespace tandem::phase
