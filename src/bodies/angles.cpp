#include "bodies/angles.hpp"

#include "orbit/constants.hpp"

namespace tandem::bodies {

double degrees_0_360(double x) {
  const double r = mod(x, 360.0);
  return r < 0 ? r + 360.0 : r;
}

AngleMap angle_map(int k2, int k1, Side side, double varpi, double varpi_p) {
  if (side == Side::inside) {
    return {k2 == k1 ? 1.0 : -1.0, 0.0};
  }
  return {-1.0, degrees_0_360((k2 - k1) * (varpi_p - varpi))};
}

double critical_phi(int k2, int k1, Side side, double lambda, double varpi, double lambda_p) {
  if (k2 == k1) {
    return degrees_0_360(lambda - lambda_p);
  }
  if (side == Side::inside) {
    return degrees_0_360(k2 * lambda_p - k1 * lambda - (k2 - k1) * varpi);
  }
  return degrees_0_360(k2 * lambda - k1 * lambda_p - (k2 - k1) * varpi);
}

double sigma_of_phi(const AngleMap& m, double phi) {
  return degrees_0_360(m.s * phi + m.c);
}

double phi_of_sigma(const AngleMap& m, double sigma) {
  return degrees_0_360(m.s * (sigma - m.c));
}

}  // namespace tandem::bodies
