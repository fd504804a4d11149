#include "rows.hpp"

namespace tandem::verify_cli {

const std::vector<std::string>& row_columns() {
  static const std::vector<std::string> columns = {"k2",
                                                   "k1",
                                                   "sigma_deg",
                                                   "verdict",
                                                   "predicted_period_years",
                                                   "measured_period_years",
                                                   "period_ratio",
                                                   "measured_centre_deg",
                                                   "centre_offset_deg",
                                                   "amplitude_deg",
                                                   "centre_drift_deg",
                                                   "librates",
                                                   "librations",
                                                   "stop",
                                                   "min_distance_hill",
                                                   "energy_error",
                                                   "angular_momentum_error",
                                                   "duration_years",
                                                   "steps",
                                                   "start_sigma_deg",
                                                   "start_iterations",
                                                   "start_converged",
                                                   "model_period_years"};
  return columns;
}

std::vector<common::Cell> row_cells(const Resonance& resonance, const Verification& v) {
  using common::real_cell;
  return {common::integer_cell(static_cast<long long>(resonance.k2)),
          common::integer_cell(static_cast<long long>(resonance.k1)),
          real_cell(v.sigma_deg),
          common::text_cell(name(v.verdict)),
          real_cell(v.predicted_period_years),
          real_cell(v.measured_period_years),
          real_cell(v.period_ratio),
          real_cell(v.measured_centre_deg),
          real_cell(v.centre_offset_deg),
          real_cell(v.amplitude_deg),
          real_cell(v.centre_drift_deg),
          common::bool_cell(v.librates),
          common::integer_cell(v.librations),
          common::text_cell(name(v.stop)),
          real_cell(v.min_distance_hill),
          real_cell(v.energy_error),
          real_cell(v.angular_momentum_error),
          real_cell(v.duration_years),
          common::integer_cell(v.steps),
          real_cell(v.start_sigma_deg),
          common::integer_cell(v.start_iterations),
          common::bool_cell(v.start_converged)};
}

}  // namespace tandem::verify_cli
