#pragma once
// The resonance's phase space: the one-degree-of-freedom model that the curvature
// coefficient hii and the curve R(sigma) define,
//
//     H(sigma, Sigma) = 1/2 * hii * Sigma^2 + R(sigma),   dsigma/dt = hii * Sigma,
//
// whose level curves are the motion of sigma that the averaged model predicts. Sigma maps
// linearly onto the semi-major axes (the same map that gives the program's widths):
//
//     a1 = a1(exact resonance) - a1_per_sigma * Sigma,
//     a2 = a2(given)           + a2_per_sigma * Sigma,
//
// so Sigma > 0 (sigma increasing) is planet 1 inside and planet 2 outside exact resonance.
//
// R(sigma) between the grid points is a periodic piecewise quintic that passes through
// every grid value of R - Rmin and has, at each grid point, the first and second
// derivatives of the sixth-order central differences on the closed grid: twice
// continuously differentiable, exact to rounding for a pendulum curve (-A cos sigma), and
// local (a sharp rise inside a close-encounter band disturbs only the three or four
// degrees beside it, where a Fourier interpolant would ring around the whole circle).
//
// Given:    a Result of tandem::solve (its curve, orbit quantities, masses, resonance).
// Returned: the wells of H (one Zone per minimum of R), the maxima that bound them, and,
//           for any starting point, the level curve through it (a Trajectory).
// Units:    sigma in degrees (0 <= sigma < 360 where a single angle is given; ranges are
//           unwrapped, sigma_min <= sigma_max, and may pass below 0 or above 360); R and
//           energies as R - Rmin in M_sun au^2/day^2; semi-major axes and widths in au;
//           periods in years of 365.25 days; Sigma in M_sun au^2/day.
// Notes:    A resonance the program finds undetectable has no wells: R is taken as
//           constant, every trajectory circulates at the constant rate hii*Sigma, and one
//           at exact resonance (Sigma = 0) does not move and has no period.
//           The averaged model does not hold where the planets come within 3 mutual Hill
//           radii: a close-encounter band is taken to reach one grid step (1 degree) to
//           either side of every grid point the program flags, and a zone or trajectory
//           whose sigma range enters one says so (close_encounter).
//           Near a separatrix the period grows without bound. Within the energy the curve
//           resolves (1e-9 of the curve's span, or the rounding of an average of ipasos
//           values of R, whichever is larger) of a maximum that the level curve touches
//           or passes over, the period is not given (PeriodState::near_separatrix).
// Reference: the width formula and the small-amplitude period 2*pi/sqrt(R''*hii) of the
//           program; the pendulum's period (4/omega0) K(sin(amplitude/2)).

#include <array>
#include <string_view>
#include <vector>

#include "tandem/result.hpp"

namespace tandem {

enum class ExtremumKind : unsigned char { minimum, maximum };

// A minimum or maximum of the interpolated R: minima are the centres of libration,
// maxima the barriers (their levels are the separatrices).
struct Extremum {
  ExtremumKind kind = ExtremumKind::minimum;
  double sigma = 0;              // degrees, 0 <= sigma < 360
  double r = 0;                  // R - Rmin there
  bool close_encounter = false;  // inside a close-encounter band
};

// The libration zone about one minimum of R: bounded by the lower of the two maxima that
// enclose it. Above that barrier the zone merges with its neighbours into a horseshoe
// (bounded by the next barrier), or, above the highest barrier, sigma circulates.
struct Zone {
  double sigma = 0;            // the minimum, degrees
  double r = 0;                // R - Rmin at the minimum
  int equilibrium_index = -1;  // the program's stable grid point in this well; -1 if none
  double sigma_min = 0;        // the zone's extent at the barrier energy, degrees
  double sigma_max = 0;
  double barrier = 0;        // R - Rmin of the barrier
  double barrier_sigma = 0;  // where the barrier is, degrees
  double width_a1 = 0;       // full width at the minimum, au: the program's width formula
  double width_a2 = 0;       // with the zone's depth (barrier - r) in place of Rmax - Rmin
  double small_amplitude_period_years = 0;  // 2*pi/sqrt(R''*hii) of the interpolant
  bool close_encounter = false;             // the zone reaches a close-encounter band
  // The other zones (indices into PhaseSpace::zones) with which this one forms a horseshoe
  // just above its barrier; empty when sigma circulates above the barrier.
  std::vector<int> horseshoe_with;
  double horseshoe_barrier = 0;    // the barrier that bounds that horseshoe (NaN if none)
  double horseshoe_sigma_min = 0;  // the horseshoe's extent at that barrier (NaN if none)
  double horseshoe_sigma_max = 0;
  bool horseshoe_close_encounter = false;
};

struct PhaseSpace {
  bool flat = false;              // undetectable resonance: no wells
  std::vector<Zone> zones;        // one per minimum, in increasing sigma
  std::vector<Extremum> extrema;  // minima and maxima alternately, in increasing sigma
  double hii = 0;                 // 1/(M_sun au^2)
  double a1 = 0;                  // planet 1 at exact resonance, au
  double a2 = 0;                  // planet 2, au
  double a1_per_sigma = 0;        // au per unit of Sigma
  double a2_per_sigma = 0;
  double separatrix_band = 0;  // the energy within which a level is a separatrix
  // The interpolant: per grid cell [i, i + 1) degrees, the coefficients c0..c5 of
  // R - Rmin = sum c_k t^k with t = sigma - i in degrees. Read through model_r.
  std::vector<std::array<double, 6>> cells;
  GridArray<bool> close_encounter{};  // the program's flags, per grid point
};

enum class Regime : unsigned char { libration, horseshoe, circulation };

enum class PeriodState : unsigned char {
  finite,           // period_years holds the period
  near_separatrix,  // the level is a separatrix within the resolved energy: no period
  none,             // sigma does not move (a flat curve at exact resonance)
};

// The level curve of H through a starting point.
struct Trajectory {
  Regime regime = Regime::circulation;
  std::vector<int> centres;  // the zones (indices) it goes round: one for libration,
                             // two or more for a horseshoe, none for circulation
  double centre = 0;         // the libration centre, degrees (NaN for the others)
  double sigma_min = 0;      // turning points, degrees, unwrapped (NaN for circulation)
  double sigma_max = 0;
  double a1_min = 0;  // extremes of a1 and a2 along the level curve, au
  double a1_max = 0;
  double a2_min = 0;
  double a2_max = 0;
  double energy = 0;    // H at the start, as R - Rmin
  double momentum = 0;  // Sigma at the start, M_sun au^2/day
  PeriodState period_state = PeriodState::finite;
  double period_years = 0;       // T = closed integral of dsigma/(hii*Sigma); NaN unless finite
  bool close_encounter = false;  // the curve reaches a close-encounter band
};

// Whose semi-major axis a trajectory starts from.
enum class Axis : unsigned char { a1, a2 };

// The structure of the curve: wells, barriers, horseshoes. Cost: a few tens of
// microseconds.
PhaseSpace phase_space(const Result& result);

// The level curve through sigma_deg at exact resonance (Sigma = 0, a turning point).
// Throws std::invalid_argument for a sigma that is not finite.
Trajectory trajectory(const PhaseSpace& space, double sigma_deg);

// The level curve through sigma_deg with the semi-major axis a_au of the given planet.
// Throws std::invalid_argument for a sigma or an axis that is not finite or not positive.
Trajectory trajectory(const PhaseSpace& space, double sigma_deg, Axis axis, double a_au);

// R - Rmin of the interpolant at sigma_deg (any real, taken modulo 360).
double model_r(const PhaseSpace& space, double sigma_deg);

// H at a point of the (sigma, a) plane, as R - Rmin: its level curves are the motion.
double energy(const PhaseSpace& space, double sigma_deg, Axis axis, double a_au);

// Sigma for a semi-major axis of the given planet, M_sun au^2/day.
double sigma_momentum(const PhaseSpace& space, Axis axis, double a_au);

// "libration", "horseshoe", "circulation"; "finite", "near separatrix", "none".
std::string_view name(Regime regime);
std::string_view name(PeriodState state);

}  // namespace tandem
