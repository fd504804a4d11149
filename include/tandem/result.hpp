#pragma once
// What tandem::solve returns: plain values, the same bits that the console program writes.
//
// Units: R and everything derived from it in M_sun au^2/day^2 (Gaussian gravitational
// constant), distances in au, mean motions in radians per day, angles in degrees,
// libration periods in years of 365.25 days. The sigma grid has 360 points; point i
// (0-based) stands for sigma = i degrees, and 359 and 0 are neighbours.

#include <array>
#include <vector>

#include "tandem/system.hpp"

namespace tandem {

inline constexpr int grid_points = 360;

template <typename T>
using GridArray = std::array<T, grid_points>;

// The label of a grid point. A later detection can relabel a point unstable after it was
// found stable; it then keeps the period it was given.
enum class EquilibriumKind : unsigned char { none, stable, unstable };

// Fixed geometry of the two orbits.
struct OrbitQuantities {
  double a1 = 0;  // planet 1's semi-major axis at exact resonance, au
  double a2 = 0;  // planet 2's, as given, au
  double n1 = 0;  // mean motions, rad/day: n1 = K2*n2/K1
  double n2 = 0;
  double hii = 0;  // curvature coefficient of the periods and widths, 1/(M_sun au^2)
  double rhs = 0;  // mutual Hill radius, au
  int ipasos = 0;  // samples per resonant cycle: 1000*trunc(K2)
};

// R over the sigma grid, averaged over one resonant cycle at each sigma.
struct Curve {
  GridArray<double> sigma{};          // degrees: 0, 1, ..., 359
  GridArray<double> r{};              // R
  GridArray<double> r_minus_rmin{};   // R - Rmin, as the table prints it
  GridArray<double> min_distance{};   // closest approach over the cycle, mutual Hill radii
  GridArray<bool> close_encounter{};  // some sample came closer than 3 mutual Hill radii
  GridArray<EquilibriumKind> equilibrium{};
  GridArray<double> period_years{};  // libration period where one was set, else 0
};

// A grid point with an equilibrium label.
struct Equilibrium {
  int index = 0;                                 // grid index
  double sigma = 0;                              // degrees
  EquilibriumKind kind = EquilibriumKind::none;  // stable or unstable
  double period_years = 0;                       // 0 where no period was set
  bool close_encounter = false;                  // inside a close-encounter band
};

struct Analysis {
  double mean = 0;       // <R> over the grid
  double rmin = 0;       // Rmin
  double rmax = 0;       // Rmax over points without close encounter (-999999 if none is)
  double amplitude = 0;  // Rmax - Rmin after its floors; 0 when undetectable
  double strength = 0;   // <R> - Rmin
  bool detectable = false;
  double width_a1 = 0;  // full width of the resonance in a1, au (0 when undetectable)
  double width_a2 = 0;  // the same in a2
  std::vector<Equilibrium> equilibria;  // every labelled point, in increasing sigma
};

struct Result {
  System system;  // as given to solve
  Resonance resonance;
  OrbitQuantities orbit;
  Curve curve;
  Analysis analysis;
};

}  // namespace tandem
