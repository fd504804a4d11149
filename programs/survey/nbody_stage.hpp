#pragma once
// The N-body stage of tandem-survey: the bodies the model has surveyed, gathered into
// batches (memory grows with a batch, not with the file), each batch checked in one
// integration per group of bodies that move with the same planets (tandem/survey_nbody.hpp),
// and their catalogue lines written with the N-body columns:
//
//   nbody_length_years, nbody_fraction, nbody_centre_deg, nbody_amplitude_deg,
//   nbody_period_years, nbody_stop (completed / close encounter / escape),
//   nbody_flags ("low e", "near separatrix", joined by ';'), verdict (resonant /
//   transient / not resonant)
//
// With --best the row of a body is the candidate it is found resonant in (the largest
// fraction of windows librating, then the smallest amplitude), else the model's choice.

#include <optional>
#include <string>
#include <vector>

#include "common/catalogue.hpp"
#include "tandem/bodies.hpp"
#include "tandem/survey.hpp"
#include "tandem/survey_nbody.hpp"

namespace tandem::survey_program {

// Bodies per batch of the N-body stage.
inline constexpr std::size_t nbody_batch_bodies = 512;

std::vector<std::string> nbody_columns();
// What of the N-body settings decides the rows, for the parts of one survey.
nlohmann::ordered_json nbody_identity(const NbodyOptions& options);
std::vector<common::Cell> nbody_cells(const NbodyColumns& c);

struct SurveyedBody {
  Body body;
  BodySurvey survey;
};

// The catalogue lines of each body of the batch (rows, or one row with best), its
// N-body columns computed in one call.
std::vector<std::string> nbody_lines(const std::vector<SurveyedBody>& batch, const Planets& planets,
                                     const SurveyOptions& survey, const NbodyOptions& options,
                                     bool best, unsigned threads,
                                     const common::Catalogue& catalogue);

}  // namespace tandem::survey_program
