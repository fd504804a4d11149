#pragma once
// The catalogue rows of tandem-survey: one per (body, candidate resonance), or with --best
// one per body. Column names are fixed; scripts rely on them.
//
//   body, epoch_jd, perturber, side (inside/outside), k2, k1 (K2 >= K1), order,
//   a_au, e, i_deg (the elements the model takes), a_res_au, delta_a_au, strength,
//   width_au (full width in the body's a), phi_deg, sigma_deg,
//   model_regime (libration, horseshoe, circulation), model_centre_deg,
//   model_phi_min_deg, model_phi_max_deg, model_amplitude_deg, model_period_years,
//   close_encounter (the averaged model's trajectory through the body, in phi),
//   stable_phi_deg (the curve's stable equilibria as phi; a list in JSON, joined by ';'
//   in CSV), pendulum_zone (true/false), zones_phi_deg (the libration zone about each of
//   those equilibria, as phi: centre:phi_min-phi_max:width_au, "*" where it reaches a
//   close-encounter band, joined by ';' in CSV; a list of objects in JSON)
// A --best row of a body in no resonance (tandem::best_candidate) has its candidate's
// cells empty (CSV) or null (JSON).

#include <string>
#include <vector>

#include "common/catalogue.hpp"
#include "tandem/survey.hpp"

namespace tandem::survey_program {

std::vector<std::string> row_columns();
std::vector<common::Cell> row_cells(const SurveyRow& row);
// The body's row in --best: tandem::best_candidate's, or a row with the body alone.
std::vector<common::Cell> best_cells(const Body& body, const std::vector<SurveyRow>& rows);

}  // namespace tandem::survey_program
