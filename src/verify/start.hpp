#pragma once
// The start of a verification: the state whose averages over one resonant cycle are the
// elements of the averaged model with sigma at the requested value.
//
// The model's elements (scaled units, radians): planet 1 at a1 with its e, i, node and
// perihelion from the input, planet 2 with its own; planet 2 at mean longitude 0, where
// the model's resonant cycle begins, and planet 1 at
// lambda1 = (sigma - (K2 - K1)*varpi1)/K1. Those are cycle averages, not osculating
// values: the osculating a, e*cos(varpi), e*sin(varpi) of both planets and sigma are
// corrected by the difference between the model's values and their trapezoidal means
// over the cycle centred on the start (half a cycle back, half forward), until every
// difference is below 1e-9 (relative for a, radians for sigma) or max_iterations
// corrections have been made. Inclinations and nodes keep their model values.
//
// Given: the solved result (its orbits and resonance), the scale, sigma (radians).
// Returned (Start): the phase state to integrate from, the corrections made, whether they
// converged, and how the cycles used for them ended.

#include "tandem/result.hpp"
#include "tandem/verify.hpp"
#include "verify/osculating.hpp"
#include "verify/propagation.hpp"
#include "verify/three_body.hpp"

namespace tandem::nbody {

struct ModelElements {
  Elements planet1;  // lambda1 not used: it follows from sigma
  Elements planet2;  // lambda2 = 0
  double sigma = 0;
};

ModelElements model_elements(const Result& result, const Scale& scale, double sigma);

// The state with the given elements taken as osculating ones.
PhaseState state_of(const ThreeBody& sys, const ModelElements& el, const Resonance& resonance);

struct CycleMeans {
  ModelElements mean;  // a, e and peri of both planets, and sigma, as means
  StopReason stop = StopReason::completed;
  double min_separation = 0;  // of the planets over the cycle, scaled length
};

// Trapezoidal means over the cycle of length cycle (scaled time) centred on y, from
// samples_per_cycle + 1 samples.
CycleMeans cycle_means(const ThreeBody& sys, const PhaseState& y, const Resonance& resonance,
                       double cycle, int samples_per_cycle, const Limits& limits);

struct Start {
  PhaseState state{};
  int iterations = 0;
  bool converged = false;
  StopReason stop = StopReason::completed;  // a close encounter or worse within the cycles
  double min_separation = 0;                // of the planets over the last cycle
};

Start find_start(const ThreeBody& sys, const ModelElements& model, const Resonance& resonance,
                 double cycle, int samples_per_cycle, const Limits& limits, int max_iterations);

}  // namespace tandem::nbody
