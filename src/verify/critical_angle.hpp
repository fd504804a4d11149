#pragma once
// The critical angle sigma = K1*lambda1 - K2*lambda2 + (K2 - K1)*varpi1 of the osculating
// elements, and its continuation through a sequence of samples.
//
// Given: the osculating elements of both planets (osculating_of, from the state in the
// averaged model's variables); k2, k1, the whole resonance numbers.
// Returned: sigma in radians, reduced to -pi..pi; Unwrap makes a sequence of them
// continuous.
//
// Notes: the same angle as the computation's (docs/method.md converts it to the angles
// used for asteroids and trans-Neptunian objects).

#include "tandem/system.hpp"
#include "verify/osculating.hpp"
#include "verify/three_body.hpp"

namespace tandem::nbody {

struct Osculating {
  Elements planet1;
  Elements planet2;
  bool bound() const;  // both orbits elliptic (their angles are numbers)
};

// The elements of the averaged model's variables: the Kepler orbit of each planet's
// heliocentric position and canonical velocity, with parameter mu_i = g0 + g_i.
Osculating osculating_of(const ThreeBody& sys, const PhaseState& y);

// sigma reduced to -pi..pi.
double critical_angle(const Osculating& el, const Resonance& resonance);

// Follows an angle through samples taken closely enough that it moves by less than pi
// between two of them, adding whole turns so that the sequence is continuous.
class Unwrap {
 public:
  explicit Unwrap(double first) : value_(first) {}
  double next(double angle);
  double value() const { return value_; }

 private:
  double value_;
};

}  // namespace tandem::nbody
