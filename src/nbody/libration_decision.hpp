#pragma once
// Whether a body's critical angle phi librates over an integration: the verdict, and
// what the libration looks like.
//
// Given: t (years, equally spaced, increasing) and phi (degrees, smoothed over the
// resonant cycle and unwrapped, so that a circulation is a steady climb or fall); the
// span the series would have over the whole requested run (years, from its first sample;
// longer than the series when the body stopped early); the expected libration period (years, NaN
// when unknown: it seeds the running centre line, see verify/libration.hpp); the body's
// eccentricity at the start. Returned: the verdict
//   resonant      phi sweeps less than 360 degrees over the whole requested span;
//   transient     it does so over at least one window (windows: the span cut into
//                 `windows` equal pieces) but not over the whole span;
//   not_resonant  it circulates in every window;
// fraction, the share of the windows in which phi librates (a window the series does not
// reach counts as circulating); for a libration, over the whole series when resonant,
// over the longest stretch of consecutive librating windows when transient: the centre
// (0..360), the amplitude (half the range swept about the centre line) and the period
// between upward crossings of the centre line, as tandem-verify measures them (NaN where
// the stretch shows no whole libration); and two flags for what the verdict cannot bear:
// low_eccentricity (e below low_e: the perihelion, and with it phi, is then ill-defined,
// and such bodies circulate or librate almost at random) and near_separatrix (amplitude
// above separatrix_deg: a libration that wide may be a circulation that has not shown
// itself yet).

#include <vector>

namespace tandem::nbody {

enum class NbodyVerdict : unsigned char { resonant, transient, not_resonant };

struct DecisionOptions {
  int windows = 5;
  double low_e = 0.1;
  double separatrix_deg = 135;
};

struct LibrationDecision {
  NbodyVerdict verdict = NbodyVerdict::not_resonant;
  double fraction = 0;
  double centre_deg = 0;
  double amplitude_deg = 0;
  double period_years = 0;
  bool low_eccentricity = false;
  bool near_separatrix = false;
};

LibrationDecision decide_libration(const std::vector<double>& t, const std::vector<double>& phi,
                                   double span_years, double expected_period_years, double start_e,
                                   const DecisionOptions& options = {});

}  // namespace tandem::nbody
