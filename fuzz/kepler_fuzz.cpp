// The Kepler solver on any eccentricity 0 <= e < 1 and any mean anomaly -2*pi < M < 2*pi.
// The input gives two doubles by their bytes: each is taken as it is when it lies in its
// range (so the fuzzer can reach e = 1 - 2^-53 or M next to +-2*pi exactly), otherwise its
// bits are mapped into the range. The root must be finite and solve the equation:
//   |E - e*sin E - M| <= 1e-14.
// Why that bound: where the iteration ends by its test the last change was at most 1e-12
// and the error after it far smaller (the step converges faster than linearly at a simple
// root; where the root is nearly double, near e = 1 and E = 0, the function is flat and
// the residual smaller still); bisection ends at adjacent doubles, where |f| is at most
// (1 + e) times one spacing. What remains is the rounding of E - e*sin E - M with terms
// below 2*pi + 1 < 8, a few units of 8.9e-16; 1e-14 is eleven of them.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "orbit/constants.hpp"
#include "orbit/kepler.hpp"

namespace {

constexpr double kResidualBound = 1e-14;

double raw_double(const std::uint8_t* bytes, std::uint64_t& bits) {
  std::memcpy(&bits, bytes, sizeof bits);
  double value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// A fraction in [0, 1) from the top 53 bits.
double unit_fraction(std::uint64_t bits) {
  return static_cast<double>(bits >> 11) * 0x1p-53;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 16) {
    return 0;
  }
  std::uint64_t e_bits = 0, m_bits = 0;
  double ex = raw_double(data, e_bits);
  double m = raw_double(data + 8, m_bits);
  if (!(ex >= 0 && ex < 1)) {
    ex = unit_fraction(e_bits);
  }
  if (!(std::fabs(m) < tandem::twopi)) {
    // Into (-2*pi, 2*pi): the fraction scales 2*pi, the lowest bit gives the sign.
    m = tandem::twopi * unit_fraction(m_bits) * ((m_bits & 1) ? -1 : 1);
  }
  const tandem::KeplerSolution s = tandem::solkep(ex, m);
  if (!std::isfinite(s.e) || s.niter < 1) {
    std::abort();
  }
  if (!(std::fabs(s.e - ex * std::sin(s.e) - m) <= kResidualBound)) {
    std::abort();
  }
  return 0;
}
