#pragma once
// The averaged model checked against the real motion: the star and the two planets of a
// solved resonance integrated directly (three bodies under their mutual gravity), started
// beside an equilibrium of sigma, and what sigma then does.
//
// The start is set in the variables of the averaged model: heliocentric positions and
// barycentric momenta, with the osculating elements of planet i taken with the
// gravitational parameter k^2 (M + m_i), so that its mean motion is n_i of the orbit
// set-up. Planet 1 is at the computed a1, both planets have the e, i, node and perihelion
// of the input, planet 2 starts at mean longitude 0 and planet 1 where
// sigma = K1*lambda1 - K2*lambda2 + (K2 - K1)*varpi1 is the equilibrium plus the offset.
// The computation's elements are averages over the resonant cycle, so the start is
// corrected until the averages over one resonant cycle centred on it of a, e and varpi of
// both planets, and of sigma, are the computation's (inclinations and nodes are kept).
// The integration: Boost.Odeint's Runge-Kutta-Fehlberg 7(8) under step control at
// `tolerance` per step, for `periods` predicted libration periods plus one cycle.
//
// sigma(t) comes from the osculating elements, smoothed over one resonant cycle
// (2*pi*K1/n2). It librates when the range it sweeps stays below 360 degrees. The period
// is measured between the upward crossings of its centre line, the running mean of sigma
// over one period, so that a slow drift of the centre does not bias it.
//
// Verdicts (tolerances in VerifyOptions, with their defaults):
//   confirmed      sigma librates, no wider than max_amplitude_deg (90), about a centre
//                  within centre_tolerance_deg (5) of the predicted sigma;
//   shifted        it librates as narrowly, about a centre further off;
//   not_confirmed  it circulates, librates wider (over the neighbouring equilibria, as a
//                  horseshoe about L3 does), the planets come closer than
//                  close_encounter_hill (3) mutual Hill radii, an orbit becomes unbound,
//                  or the relative energy error passes max_energy_error (1e-9).
//
// Units: angles in degrees, times in years of 365.25 days; the integration itself runs in
// units of a2 and 1/n2. Only resonances with whole K2 and K1 can be checked: sigma is an
// angle of the real motion only then.

#include <string_view>
#include <vector>

#include "tandem/result.hpp"

namespace tandem {

enum class Verdict : unsigned char { confirmed, shifted, not_confirmed };

// Why the integration ended.
enum class StopReason : unsigned char {
  completed,        // the whole requested run
  close_encounter,  // closer than close_encounter_hill mutual Hill radii
  escape,           // an orbit became unbound (e >= 1)
  energy_drift,     // the relative energy error passed max_energy_error
  step_limit,       // max_steps spent before the end: what was seen is analysed
};

struct VerifyOptions {
  double offset_deg = 5;             // start at sigma = equilibrium + offset (taken mod 360)
  double periods = 5;                // run length in predicted libration periods
  double centre_tolerance_deg = 5;   // |measured - predicted centre| for confirmed
  double max_amplitude_deg = 90;     // widest libration still taken as one about the point
  double close_encounter_hill = 3;   // stop closer than this, in mutual Hill radii
  double tolerance = 1e-13;          // integrator error per step, absolute and relative
  double max_energy_error = 1e-9;    // stop when the relative energy error passes this
  int samples_per_orbit = 64;        // samples of sigma per orbit of planet 1
  int max_iterations = 20;           // corrections of the start at most
  long long max_steps = 20'000'000;  // integrator steps at most, per run
  bool keep_series = false;          // fill Verification::series
};

// One point of sigma(t); osculating and smoothed are unwrapped (continuous, not reduced
// to 0..360), so that a circulation shows as a steady climb.
struct SeriesPoint {
  double t_years = 0;
  double sigma_deg = 0;     // osculating
  double smoothed_deg = 0;  // averaged over one resonant cycle centred on t
};

struct Verification {
  double sigma_deg = 0;        // the predicted centre: the equilibrium checked, in 0..360
  double start_sigma_deg = 0;  // sigma_deg + offset, the offset reduced into -180..180
  Verdict verdict = Verdict::not_confirmed;
  StopReason stop = StopReason::completed;
  bool librates = false;
  double predicted_period_years = 0;  // 2*pi/sqrt(|R''|*hii) of the averaged model
  // The rest is NaN where the run did not show it: the centre and amplitude need
  // libration, the period at least one whole libration.
  double measured_period_years = 0;
  double period_ratio = 0;         // predicted / measured
  double measured_centre_deg = 0;  // in 0..360
  double centre_offset_deg = 0;    // measured - predicted centre, in -180..180
  double amplitude_deg = 0;        // half the range about the centre line
  double centre_drift_deg = 0;     // how far the centre line moved over the librations seen
  int librations = 0;              // whole librations seen
  // Largest |E - E0|/|E0| at the integrator's steps, and the same for the total angular
  // momentum; NaN when the run ended while its start was being set.
  double energy_error = 0;
  double angular_momentum_error = 0;
  double min_distance_hill = 0;     // closest approach of the planets, mutual Hill radii
  double duration_years = 0;        // integrated after the start was set
  long long steps = 0;              // integrator steps of the run, the start's excluded
  int start_iterations = 0;         // corrections of the start
  bool start_converged = false;     // the cycle averages met the computation's elements
  std::vector<SeriesPoint> series;  // when keep_series
};

// Every stable equilibrium of result.analysis.equilibria, in increasing sigma.
// Throws std::invalid_argument for a resonance with K2 or K1 not whole, or options out of
// range (offset and tolerances not finite, periods, samples or steps not positive).
std::vector<Verification> verify(const Result& result, const VerifyOptions& options = {});

// One point sigma_deg given by the caller, stable or not, reduced exactly into 0..360
// however large (1e17 and 1e308 are the angles they stand for); the predicted period is
// 2*pi/sqrt(|R''|*hii) at the nearest grid point (for an unstable point the time in which
// a departure grows e^(2*pi)-fold). Throws std::invalid_argument as verify does, and for a
// sigma that is not finite or a curve flat there.
Verification verify_at(const Result& result, double sigma_deg, const VerifyOptions& options = {});

// "confirmed", "shifted", "not confirmed"; and "completed", "close encounter", "escape",
// "energy drift", "step limit".
std::string_view name(Verdict verdict);
std::string_view name(StopReason stop);

}  // namespace tandem
