#pragma once
// The console table of tandem-verify: a line naming the resonance and the run, one row per
// equilibrium checked (sigma, verdict, measured centre and its offset, amplitude, drift of
// the centre, the model's and the measured period, their ratio, the energy error, how the
// run ended), and the meaning of the verdicts with the tolerances used. Angles in degrees,
// periods in years; a value the run did not show is "-". Numbers go through std::to_chars.

#include <string>
#include <vector>

#include "tandem/verify.hpp"

namespace tandem::verify_cli {

struct TableHeading {
  std::string input;  // the file and its first line
  Resonance resonance;
  VerifyOptions options;
};

std::string table_text(const TableHeading& heading, const std::vector<Verification>& rows);

// x with the given number of decimals, "-" when not finite, "***" when it cannot be
// converted (more decimals than the buffer holds).
std::string fixed(double x, int decimals);

}  // namespace tandem::verify_cli
