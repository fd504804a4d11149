#pragma once
// The sigma(t) file that tandem-verify writes with --series and tandem-plot --verify draws.
//
// Text, one block per equilibrium checked, blocks separated by two blank lines (gnuplot's
// index). A block opens with one comment line of key=value words
//   # equilibrium k2=1 k1=1 sigma_deg=60 start_sigma_deg=65 predicted_period_years=149.73
//     verdict=confirmed measured_centre_deg=60.23 measured_period_years=148.5
// (on one line; "not confirmed" is written not_confirmed, values the run did not show nan),
// then rows "t_years sigma_deg smoothed_deg": time since the start in years, sigma of the
// osculating elements and sigma averaged over one resonant cycle, both in degrees and
// continuous (not reduced to 0..360). Reals are the shortest text that reads back.

#include <string>
#include <vector>

#include "tandem/verify.hpp"

namespace tandem::verify_cli {

std::string series_text(const Resonance& resonance, const std::vector<Verification>& rows);

}  // namespace tandem::verify_cli
