#pragma once
// Which resonances lie near a real body, how strong and wide they are, and where the body
// sits in each: the averaged model of tandem::solve applied to every candidate K2:K1 with
// one perturbing planet.
//
// Given: a body (tandem/bodies.hpp: heliocentric ecliptic J2000 elements at its epoch), the
// planets (brought to the body's epoch) and the options below.
// Returned: one SurveyRow per candidate resonance, in increasing a_res. Units: au,
// degrees, M_sun; strength in M_sun au^2/day^2 (tandem::Result's).
//
// The perturber: options.perturber, or by default the giant planet (more than 1e-5 M_sun)
// nearest the body in log a (Jupiter for the asteroid belt, the Hildas and the Trojans,
// Neptune beyond 24 au with the standard planets).
// Elements: by default the body's and the perturber's are taken about the barycentre of
// the Sun and the planets inside the body's orbit other than the perturber, whose masses
// the star then carries (bodies/barycentric.hpp says why); ElementsKind::heliocentric
// takes them as they stand about the Sun alone.
// Candidates: every K2:K1 in lowest terms with K2 >= K1, K2 - K1 in [order_min,
// order_max], K2 <= max_k2, whose nominal location (Kepler's third law with the masses,
// the perturber at its a) lies within window_au of the body's a.
// Each is solved with the body as planet 1 when it is inside the perturber's orbit (the
// body placed at exact resonance) and as planet 2 outside it (the body's a2 placed so
// that the perturber's a1 at exact resonance is the perturber's own a, as tandem-scan
// --place planet2 does). The angles: bodies/angles.hpp.

#include <optional>
#include <string>
#include <vector>

#include "tandem/bodies.hpp"
#include "tandem/phase_space.hpp"
#include "tandem/result.hpp"

namespace tandem {

enum class ElementsKind { barycentric, heliocentric };
enum class SurveySide { inside, outside };

struct SurveyOptions {
  int order_min = 0;
  int order_max = 4;
  int max_k2 = 20;
  double window_au = 0.5;
  std::optional<std::string> perturber;  // a planet's name; none: by the body's a
  double body_mass = 1e-12;              // M_sun, for a body the catalogue gives no mass
  ElementsKind elements = ElementsKind::barycentric;
};

// A libration zone of the solved curve, in the body's critical angle phi (degrees) and a.
struct SurveyZone {
  double centre = 0;   // the stable equilibrium, 0..360
  double phi_min = 0;  // the zone's extent at its barrier, phi_min <= centre <= phi_max
  double phi_max = 0;
  double width = 0;              // full width in the body's a at the equilibrium, au
  bool close_encounter = false;  // the zone reaches a close-encounter band
};

struct SurveyRow {
  std::string body;
  double epoch_jd = 0;
  std::string perturber;
  SurveySide side = SurveySide::inside;
  int k2 = 0;
  int k1 = 0;
  int order = 0;
  double a = 0;  // the body's elements as the model takes them (au, -, degrees)
  double e = 0;
  double i = 0;
  double a_res = 0;    // the body's a at exact resonance, au
  double delta_a = 0;  // a - a_res, au
  double strength = 0;
  double width = 0;  // full width of the resonance in the body's a, au
  double phi = 0;    // the body's critical angle at the epoch, degrees
  double sigma = 0;  // tandem's sigma at the epoch, degrees
  bool detectable = false;
  // The averaged model's trajectory through the body's (sigma, a) (tandem/phase_space.hpp),
  // its angles as phi: the regime; the libration centre (NaN unless libration); the
  // turning points, unwrapped with phi_min in 0..360 (NaN for circulation); the amplitude,
  // half the range swept (NaN for circulation); the period in years (NaN where the model
  // gives none: circulation at rest, or a level within the resolved energy of a
  // separatrix); whether the trajectory reaches a close-encounter band.
  Regime model_regime = Regime::circulation;
  double model_centre = 0;
  double model_phi_min = 0;
  double model_phi_max = 0;
  double model_amplitude = 0;
  double model_period_years = 0;
  bool close_encounter = false;
  std::vector<double> stable_phi;  // the curve's stable equilibria, as phi, degrees
  // The libration zone about each of those equilibria (tandem::Zone), as phi: its centre
  // in 0..360, its extent at the barrier that bounds it, unwrapped so that phi_min <=
  // centre <= phi_max, and its full width in the body's a (au).
  std::vector<SurveyZone> zones;
  // Inside the global pendulum zone: R(sigma) - Rmin + delr*(delta_a/(width/2))^2 < delr,
  // delr = Rmax - Rmin, sigma not in a close-encounter band (R at sigma interpolated
  // linearly between grid points).
  bool pendulum_zone = false;
};

// The perturber the survey takes for a body at a (au) by default; throws BodiesError when
// the planets hold no planet above 1e-5 M_sun.
std::string default_perturber(const std::vector<Body>& planets, double a);

// Every candidate of one body, solved on the calling thread. Throws BodiesError for a
// perturber that is not among the planets, or a body whose barycentric orbit is unbound.
std::vector<SurveyRow> survey_body(const Body& body, const Planets& planets,
                                   const SurveyOptions& options);

// The candidate a body is in by the averaged model: among those whose trajectory librates
// or is a horseshoe, the one with the least |delta_a|/(width/2); rows.size() when none.
std::size_t best_candidate(const std::vector<SurveyRow>& rows);

// What survey_bodies gives for one body: its rows, or why it could not be surveyed.
struct BodySurvey {
  std::vector<SurveyRow> rows;
  std::string failure;  // empty when surveyed
};

// survey_body for every body, whole bodies shared among `threads` threads (0: every
// processor); the result in the order of the bodies, the same bits for any thread count.
std::vector<BodySurvey> survey_bodies(const std::vector<Body>& bodies, const Planets& planets,
                                      const SurveyOptions& options, unsigned threads = 0);

}  // namespace tandem
