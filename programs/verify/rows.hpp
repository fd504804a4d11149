#pragma once
// The catalogue rows of tandem-verify, one per equilibrium checked, as CSV or JSON Lines
// through the programs' common writers.
//
// Columns: k2, k1, sigma_deg (the predicted centre), verdict ("confirmed", "shifted",
// "not confirmed"), predicted_period_years, measured_period_years, period_ratio
// (predicted/measured), measured_centre_deg, centre_offset_deg, amplitude_deg,
// centre_drift_deg, librates, librations, stop ("completed", "close encounter",
// "escape", "energy drift", "step limit"), min_distance_hill, energy_error,
// angular_momentum_error, duration_years, steps, start_sigma_deg, start_iterations,
// start_converged, model_period_years (the averaged model's period of the level curve
// through the start, i.e. at the run's amplitude; nan near a separatrix). Values the run
// did not show are nan in CSV and null in JSON.

#include <string>
#include <vector>

#include "common/catalogue.hpp"
#include "tandem/verify.hpp"

namespace tandem::verify_cli {

const std::vector<std::string>& row_columns();
// Every column but the last, model_period_years, which the caller appends.
std::vector<common::Cell> row_cells(const Resonance& resonance, const Verification& v);

}  // namespace tandem::verify_cli
