#include "verify/angle_reduction.hpp"

#include <cmath>

namespace tandem::nbody {
namespace {

// |x| reduced into [0, 360) exactly, with the sign of x kept: the result lies in
// (-360, 0] for a negative x.
double residue(double x) {
  const double m = std::fabs(x);
  if (!(m >= 360)) {
    return x;
  }
  int j = std::ilogb(m / 360) + 1;  // 360*2^j > m, within a factor of two or so
  double r = m;
  for (; j >= 0; --j) {
    const double step = std::ldexp(360.0, j);
    if (r >= step) {
      r -= step;  // step <= r < 2*step: exact
    }
  }
  return x < 0 ? -r : r;
}

}  // namespace

double reduce_degrees(double x) {
  double r = residue(x);
  if (r < 0) {
    r += 360;
  }
  return r >= 360 ? 0 : r;
}

double reduce_degrees_signed(double x) {
  double r = residue(x);
  if (r > 180) {
    r -= 360;  // 180 < r < 360: exact
  } else if (r <= -180) {
    r += 360;  // -360 < r <= -180: exact
  }
  return r;
}

}  // namespace tandem::nbody
