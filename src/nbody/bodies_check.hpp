#pragma once
// The N-body check of many bodies at once: the bodies as massless test particles of one
// Wisdom-Holman integration with the chosen planets, and for each body the libration of
// the critical angles of the resonances it is watched in.
//
// Given (CheckSetup): the star's mass (M_sun); the planets with their masses (M_sun) and
// heliocentric elements at the common epoch, and which of them are integrated; the length
// of the run (years of 365.25 days); the step as a fraction of the period of the innermost
// integrated planet; the close-encounter distance (Hill radii); the starts (barycentric or
// heliocentric, below); threads. Per body: its heliocentric elements at the same epoch
// (barycentric.hpp's conventions) and the resonances watched, each with the integrated
// planet it is taken with, K2 > K1 (or 1:1), whether the body is inside that planet's
// orbit, and the libration period the averaged model expects (years, NaN if unknown).
// Returned: per body and watched resonance, the libration decision
// (libration_decision.hpp), why the body's run ended and how long it was followed.
//
// Starts. Barycentric (the default): the star carries the non-integrated planets inside
// the outermost integrated planet's orbit (for Neptune alone, Mercury to Uranus; for
// Jupiter alone, Mercury to Mars) and stands at their barycentre with the Sun; the
// integrated planets and the bodies start from their heliocentric states taken about that
// centre (barycentric.hpp). Heliocentric: the states as they stand, the star alone.
//
// phi, from the osculating elements at every step (the bodies' heliocentric positions and
// barycentric velocities with the star's parameter, the planets' as in tandem-verify):
// for a body inside the planet's orbit K2*lambda_p - K1*lambda - (K2 - K1)*varpi, outside
// K2*lambda - K1*lambda_p - (K2 - K1)*varpi, and lambda - lambda_p for 1:1. It is
// unwrapped, smoothed by its trapezoidal mean over one resonant cycle (K1 periods of the
// planet inside it, K2 outside, one for 1:1; the nearest even number of steps), and kept
// eight times per cycle.
//
// Mean elements. A table's a goes with the planet's observed mean motion, which the
// planets inside its orbit speed up as if their mass sat in the Sun: Neptune's 30.07 au
// and 164.79 years need the Sun, Jupiter, Saturn and Uranus together. Taken as an
// osculating heliocentric orbit about the Sun alone and then about the centre, Neptune
// would start 0.06 au inside, 0.3 % fast, with every resonance 0.2 % too close in.
// So each integrated planet starts on its orbit about the barycentre of the centre and
// the integrated planets inside it, with their summed mass (Jacobi elements): Neptune
// alone about the centre (the Sun with Mercury to Uranus); with the giants, Saturn about
// the barycentre of the Sun, the terrestrial planets and Jupiter.
//
// Epochs. A body given at another epoch is brought to the common one along its two-body
// orbit about the centre, from its state about the centre at its own epoch (the planets
// there from planets_at), with the parameter k^2 times the centre's mass (heliocentric
// starts: about the Sun). About the centre the orbit is smooth; about the Sun it carries
// the Sun's reflex motion, which changes over years by as much as it is (docs/nbody.md
// gives the figures).
//
// Every body meets the same planets whatever the threads or the other bodies: the planets
// are integrated alike in every thread, so results do not depend on the threads or on how
// the bodies are batched, bit for bit.

#include <functional>
#include <vector>

#include "nbody/libration_decision.hpp"
#include "tandem/verify.hpp"
#include "verify/osculating.hpp"

namespace tandem::nbody {

struct CheckPlanet {
  double mass = 0;        // M_sun
  Elements heliocentric;  // at the common epoch, parameter k^2*(star + mass)
  bool integrated = false;
};

struct Watch {
  int planet = 0;  // index into CheckSetup::planets; must be integrated
  int k2 = 0;
  int k1 = 0;
  bool inside = false;
  double expected_period_years = 0;
};

struct CheckBody {
  Elements heliocentric;  // parameter k^2*star, at epoch_jd
  double epoch_jd = 0;
  std::vector<Watch> watches;
};

struct CheckSetup {
  double star_mass = 1;
  double epoch_jd = 0;  // the common epoch of the planets' elements and of the run
  std::vector<CheckPlanet> planets;
  // The planets' heliocentric elements at another epoch (JD), in the order of planets;
  // needed only for bodies at another epoch than epoch_jd (without it their centre is
  // taken at epoch_jd).
  std::function<std::vector<Elements>(double)> planets_at;
  double length_years = 100'000;
  int step_fraction = 80;
  double encounter_hill = 3;
  bool barycentric = true;
  // The planets' elements are mean elements (JPL's table: a Keplerian fit whose mean
  // motion is the planet's observed one) rather than osculating heliocentric ones; with
  // barycentric starts see "Mean elements" above.
  bool mean_elements = false;
  int threads = 1;
  DecisionOptions decision;
};

struct WatchResult {
  LibrationDecision decision;
  StopReason stop = StopReason::completed;  // completed, close_encounter or escape
  double length_years = 0;                  // followed
};

// Throws std::invalid_argument when no planet is integrated, a watch names a planet that
// is not, or the length, step fraction or threads are not positive.
std::vector<std::vector<WatchResult>> check_bodies(const CheckSetup& setup,
                                                   const std::vector<CheckBody>& bodies);

}  // namespace tandem::nbody
