#pragma once
// The critical angle of a body in a resonance K2:K1 with a perturber, in the convention of
// the community that studies it, and tandem's sigma beside it.
//
// Given: mean longitudes lambda and longitudes of perihelion varpi of the body and of the
// perturber (_p), degrees; the resonance (K2 > K1, or 1:1); the side of the perturber's
// orbit the body is on.
//   inside  (the body is planet 1): phi = K2*lambda_p - K1*lambda - (K2 - K1)*varpi
//           (the Hildas' 3*lambda_J - 2*lambda - varpi, librating about 0)
//   outside (the body is planet 2): phi = K2*lambda - K1*lambda_p - (K2 - K1)*varpi
//           (the Plutinos' 3*lambda - 2*lambda_N - varpi, librating about 180)
//   1:1     phi = lambda - lambda_p on either side
// tandem's sigma = K1*lambda1 - K2*lambda2 + (K2 - K1)*varpi1 is then
//   inside:  sigma = -phi (1:1: sigma = phi)
//   outside: sigma = -phi + (K2 - K1)*(varpi_p - varpi)
// i.e. sigma = s*phi + c with s = +-1, and phi = s*(sigma - c).
// Returned: angles in degrees, in 0 <= x < 360.

#include "tandem/survey.hpp"

namespace tandem::bodies {

using Side = SurveySide;

struct AngleMap {
  double s = -1;  // +1 or -1
  double c = 0;   // degrees
};

AngleMap angle_map(int k2, int k1, Side side, double varpi, double varpi_p);
double critical_phi(int k2, int k1, Side side, double lambda, double varpi, double lambda_p);
double sigma_of_phi(const AngleMap& m, double phi);
double phi_of_sigma(const AngleMap& m, double sigma);
double degrees_0_360(double x);

}  // namespace tandem::bodies
