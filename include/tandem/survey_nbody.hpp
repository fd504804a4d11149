#pragma once
// The N-body check of a survey: each surveyed body's own orbit integrated with the planets,
// and whether the critical angle phi of each of its candidate resonances librates.
//
// Given: the bodies and what survey_body gave for each (its rows; a body without rows is
// skipped), the planets (tandem/bodies.hpp), the survey's options (their elements kind
// chooses barycentric or heliocentric starts) and the options below.
// Returned: for every body, one NbodyColumns per row, in the rows' order.
//
// Which planets move: `perturber` (each body with its rows' perturber alone, the star
// carrying the planets inside it), `giants` (every planet above 1e-5 M_sun: Jupiter to
// Neptune with the standard planets) or `list` (the named planets). Bodies that move with
// the same planets for the same length share one integration (a Wisdom-Holman map in
// democratic heliocentric coordinates, the bodies as test particles; step a fixed fraction
// of the innermost moving planet's period) at the epoch most of them have; a body at
// another epoch is brought to it along its two-body orbit about the star and the planets
// it carries. docs/nbody.md gives the method, the step and the evidence.
//
// Length: length_years, or by default 10 000 years for a body inside Jupiter's orbit
// with Jupiter as its perturber (the Hildas, the Trojans: libration periods of centuries)
// and 100 000 years otherwise (the trans-Neptunian objects: the 3:2's libration period is
// some 20 000 years).
//
// Verdicts: resonant (phi sweeps less than 360 degrees over the whole run), transient (it
// does so over at least one of five equal windows), not resonant. Centre (0..360),
// amplitude (half the range swept about the centre line) and period (between upward
// crossings of the centre line) as tandem-verify measures them, NaN where not shown.
// Units: years, degrees.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tandem/bodies.hpp"
#include "tandem/survey.hpp"
#include "tandem/verify.hpp"

namespace tandem {

enum class IntegratedPlanets { perturber, giants, list };
enum class BodyVerdict : unsigned char { resonant, transient, not_resonant };

struct NbodyOptions {
  IntegratedPlanets integrate = IntegratedPlanets::perturber;
  std::vector<std::string> planets;    // with list: the planets' names
  std::optional<double> length_years;  // none: by the population, as above
  int step_fraction = 80;              // step = period of the innermost moving planet / this
  double encounter_hill = 3;           // a body this close to a planet (Hill radii) stops
};

struct NbodyColumns {
  double length_years = 0;  // followed (shorter than asked when the body stopped)
  double fraction = 0;      // of the windows in which phi librates
  double centre_deg = 0;
  double amplitude_deg = 0;
  double period_years = 0;
  StopReason stop = StopReason::completed;  // completed, close_encounter or escape
  BodyVerdict verdict = BodyVerdict::not_resonant;
  bool low_eccentricity = false;  // e < 0.1 at the start: phi ill-defined
  bool near_separatrix = false;   // amplitude above 135 degrees
};

// The longest run check_survey takes: twice the Sun's age (at Jupiter's step already
// 7e10 steps).
inline constexpr double max_nbody_length_years = 1e10;

// The default length for a body with this perturber on this side of it.
double default_nbody_length(const std::string& perturber, SurveySide side);

// Throws BodiesError for a planet of the list that is not among the planets, and
// std::invalid_argument for options out of range (length not in (0, 1e10] years, step
// fraction not positive).
std::vector<std::vector<NbodyColumns>> check_survey(const std::vector<Body>& bodies,
                                                    const std::vector<BodySurvey>& surveyed,
                                                    const Planets& planets,
                                                    const SurveyOptions& survey,
                                                    const NbodyOptions& options,
                                                    unsigned threads = 1);

// The row that describes a body best once checked: among the rows found resonant, the one
// librating in the most windows, then with the smallest amplitude; else best_candidate's
// choice by the model; rows.size() when there is none. checked is check_survey's for
// the body (one per row).
std::size_t best_checked_row(const std::vector<SurveyRow>& rows,
                             const std::vector<NbodyColumns>& checked);

// "resonant", "transient", "not resonant".
std::string_view name(BodyVerdict verdict);

}  // namespace tandem
