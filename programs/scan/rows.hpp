#pragma once
// One catalogue row per resonance, from what tandem::solve returned for it.
//
// Columns, in this order (R-valued ones in M_sun au^2/day^2, axes and widths in au):
//   index, total          1-based place in the whole scan, and its size
//   name                  line 1 of the input file
//   k2, k1, order         the resonance and K2 - K1
//   a1_au, a2_au          both semi-major axes as solve used them (one of them placed)
//   period_ratio          K2/K1, planet 2's orbital period over planet 1's
//   mean_r, rmin, rmax, strength, amplitude, detectable
//   width_a1_au, width_a2_au
//   stable, unstable      the equilibria, in increasing sigma
//   close_encounters      the sigma ranges (degrees) with an approach under 3 Hill radii
//   min_distance_hill     the closest approach over the grid, mutual Hill radii
//   placed                planet1 or planet2: whose axis was put at exact resonance
//   verify                with --verify only: the N-body check of each stable equilibrium
//   zones                 the libration zone of each stable equilibrium (scan/zones.hpp)
//
// CSV writes an equilibrium as sigma, then ":period_years" where a libration period was
// set (at every stable point, and at an unstable one that a later detection relabelled),
// then "*" where it lies inside a close-encounter band, entries joined by ";" (343:344.2);
// a range as lo-hi, with lo > hi where it wraps through 0 (350-5), joined by ";". JSON
// Lines gives an equilibrium as {"sigma", "period_years" (0 where none), "close_encounter"}
// and a range as [lo, hi].
//
// The verify column gives each stable equilibrium, in the order of the stable column, as
// sigma:verdict:measured_centre_deg:measured_period_years joined by ";" in CSV
// (60:confirmed:60.2295:148.4988;300:shifted:291.5:nan), verdict "confirmed", "shifted"
// or "not confirmed", nan where the run did not show the value; JSON Lines as
// {"sigma_deg", "verdict", "measured_centre_deg", "measured_period_years", "amplitude_deg",
// "energy_error"}, null where not shown. Without --verify the column is absent, so that
// such a catalogue keeps its columns.

#include <string>
#include <vector>

#include "common/catalogue.hpp"
#include "scan/plan.hpp"
#include "tandem/result.hpp"
#include "tandem/verify.hpp"

namespace tandem::scan {

// The columns above; `verified` adds the verify column before zones.
const std::vector<std::string>& row_columns(bool verified = false);

struct RowPlace {
  int index = 0;  // 1-based
  int total = 0;
  Placement placement = Placement::planet1;
};

std::vector<common::Cell> row_cells(const RowPlace& place, const std::string& name,
                                    const PlannedResonance& planned, const Result& result);

// The verify column of a row, from what tandem::verify returned for its result.
common::Cell verify_cell(const std::vector<Verification>& verifications);

struct SigmaRange {
  int lo = 0;  // grid indices, i.e. degrees
  int hi = 0;
};

// The runs of close-encounter points on the closed grid; a run through 359 and 0 is one
// range with lo > hi, the whole grid is 0-359.
std::vector<SigmaRange> close_encounter_ranges(const GridArray<bool>& close_encounter);

}  // namespace tandem::scan
