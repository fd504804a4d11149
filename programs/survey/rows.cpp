#include "survey/rows.hpp"

#include <cmath>

namespace tandem::survey_program {

using common::Cell;

std::vector<std::string> row_columns() {
  return {"body",
          "epoch_jd",
          "perturber",
          "side",
          "k2",
          "k1",
          "order",
          "a_au",
          "e",
          "i_deg",
          "a_res_au",
          "delta_a_au",
          "strength",
          "width_au",
          "phi_deg",
          "sigma_deg",
          "model_regime",
          "model_centre_deg",
          "model_phi_min_deg",
          "model_phi_max_deg",
          "model_amplitude_deg",
          "model_period_years",
          "close_encounter",
          "stable_phi_deg",
          "pendulum_zone",
          "zones_phi_deg"};
}

namespace {

// An angle in 0 <= x < 360 degrees.
double in_0_360(double x) {
  const double r = x - 360 * std::floor(x / 360);
  return r < 360 ? r : 0;
}

// CSV: centre:lo-hi:width per zone, the ends reduced to 0..360 as tandem-scan's zones
// column writes them (lo > hi where the zone passes through 0, lo = hi when it goes once
// round from its barrier), "*" after it where the zone reaches a close-encounter band,
// joined by ";"; JSON: a list of objects with the extent unwrapped about the centre.
Cell zones_cell(const std::vector<SurveyZone>& zones) {
  std::string joined;
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const SurveyZone& z : zones) {
    if (!joined.empty()) {
      joined += ';';
    }
    joined += common::real_text(z.centre) + ":" + common::real_text(in_0_360(z.phi_min)) + "-" +
              common::real_text(in_0_360(z.phi_max)) + ":" + common::real_text(z.width) +
              (z.close_encounter ? "*" : "");
    list.push_back({{"centre_deg", z.centre},
                    {"phi_min_deg", z.phi_min},
                    {"phi_max_deg", z.phi_max},
                    {"width_au", z.width},
                    {"close_encounter", z.close_encounter}});
  }
  return common::composite_cell(joined, list);
}

}  // namespace

std::vector<Cell> row_cells(const SurveyRow& r) {
  std::string joined;
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (double phi : r.stable_phi) {
    if (!joined.empty()) {
      joined += ';';
    }
    joined += common::real_text(phi);
    list.push_back(phi);
  }
  return {common::text_cell(r.body),
          common::real_cell(r.epoch_jd),
          common::text_cell(r.perturber),
          common::text_cell(r.side == SurveySide::inside ? "inside" : "outside"),
          common::integer_cell(r.k2),
          common::integer_cell(r.k1),
          common::integer_cell(r.order),
          common::real_cell(r.a),
          common::real_cell(r.e),
          common::real_cell(r.i),
          common::real_cell(r.a_res),
          common::real_cell(r.delta_a),
          common::real_cell(r.strength),
          common::real_cell(r.width),
          common::real_cell(r.phi),
          common::real_cell(r.sigma),
          common::text_cell(name(r.model_regime)),
          common::real_cell(r.model_centre),
          common::real_cell(r.model_phi_min),
          common::real_cell(r.model_phi_max),
          common::real_cell(r.model_amplitude),
          common::real_cell(r.model_period_years),
          common::bool_cell(r.close_encounter),
          common::composite_cell(joined, list),
          common::bool_cell(r.pendulum_zone),
          zones_cell(r.zones)};
}

std::vector<Cell> best_cells(const Body& body, const std::vector<SurveyRow>& rows) {
  const std::size_t k = best_candidate(rows);
  if (k < rows.size()) {
    return row_cells(rows[k]);
  }
  const Cell empty{"", "null"};
  std::vector<Cell> cells(row_columns().size(), empty);
  cells[0] = common::text_cell(body.name);
  cells[1] = common::real_cell(body.epoch_jd);
  if (!rows.empty()) {
    cells[2] = common::text_cell(rows.front().perturber);
    cells[3] = common::text_cell(rows.front().side == SurveySide::inside ? "inside" : "outside");
    cells[7] = common::real_cell(rows.front().a);
    cells[8] = common::real_cell(rows.front().e);
    cells[9] = common::real_cell(rows.front().i);
  }
  cells.back() = common::bool_cell(false);
  return cells;
}

}  // namespace tandem::survey_program
