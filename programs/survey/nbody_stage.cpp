#include "survey/nbody_stage.hpp"

#include <cmath>

#include "survey/rows.hpp"

namespace tandem::survey_program {
namespace {

using common::Cell;

std::vector<Cell> joined(std::vector<Cell> a, const std::vector<Cell>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<Cell> empty_cells() {
  const Cell empty{"", "null"};
  return std::vector<Cell>(nbody_columns().size(), empty);
}

}  // namespace

std::vector<std::string> nbody_columns() {
  return {"nbody_length_years", "nbody_fraction", "nbody_centre_deg", "nbody_amplitude_deg",
          "nbody_period_years", "nbody_stop",     "nbody_flags",      "verdict"};
}

nlohmann::ordered_json nbody_identity(const NbodyOptions& o) {
  const char* kind = o.integrate == IntegratedPlanets::perturber ? "perturber"
                     : o.integrate == IntegratedPlanets::giants  ? "giants"
                                                                 : "list";
  return {{"integrate", kind},
          {"planets", o.planets},
          {"length_years", o.length_years ? nlohmann::ordered_json(*o.length_years)
                                          : nlohmann::ordered_json("default")},
          {"step_fraction", o.step_fraction},
          {"encounter_hill", o.encounter_hill}};
}

std::vector<Cell> nbody_cells(const NbodyColumns& c) {
  std::string flags;
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  if (c.low_eccentricity) {
    flags = "low e";
    list.push_back("low e");
  }
  if (c.near_separatrix) {
    flags += std::string(flags.empty() ? "" : ";") + "near separatrix";
    list.push_back("near separatrix");
  }
  return {common::real_cell(c.length_years),   common::real_cell(c.fraction),
          common::real_cell(c.centre_deg),     common::real_cell(c.amplitude_deg),
          common::real_cell(c.period_years),   common::text_cell(name(c.stop)),
          common::composite_cell(flags, list), common::text_cell(name(c.verdict))};
}

std::vector<std::string> nbody_lines(const std::vector<SurveyedBody>& batch, const Planets& planets,
                                     const SurveyOptions& survey, const NbodyOptions& options,
                                     bool best, unsigned threads,
                                     const common::Catalogue& catalogue) {
  std::vector<Body> bodies;
  std::vector<BodySurvey> surveyed;
  for (const SurveyedBody& b : batch) {
    bodies.push_back(b.body);
    surveyed.push_back(b.survey);
  }
  const auto cols = check_survey(bodies, surveyed, planets, survey, options, threads);
  std::vector<std::string> out;
  for (std::size_t b = 0; b < batch.size(); ++b) {
    const std::vector<SurveyRow>& rows = surveyed[b].rows;
    std::string text;
    if (best) {
      const std::size_t k = best_checked_row(rows, cols[b]);
      text = k < rows.size() ? catalogue.line(joined(row_cells(rows[k]), nbody_cells(cols[b][k])))
                             : catalogue.line(joined(best_cells(bodies[b], rows), empty_cells()));
    } else {
      for (std::size_t k = 0; k < rows.size(); ++k) {
        text += catalogue.line(joined(row_cells(rows[k]), nbody_cells(cols[b][k])));
      }
    }
    out.push_back(std::move(text));
  }
  return out;
}

}  // namespace tandem::survey_program
