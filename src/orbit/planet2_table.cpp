#include "orbit/planet2_table.hpp"

#include <cmath>

#include "orbit/constants.hpp"
#include "orbit/kepler.hpp"
#include "orbit/orbit_state.hpp"

namespace tandem {

Planet2Table tabulate_planet2(const Orbit& planet2, double k1, int ipasos) {
  Planet2Table table;
  if (ipasos < 1 || ipasos > max_planet2_samples) {
    return table;  // an empty cycle; nothing beyond the table's capacity is computed
  }
  table.reserve(static_cast<std::size_t>(ipasos));
  const OrbitFactors factors = orbit_factors(planet2);
  for (int i2 = 1; i2 <= ipasos; ++i2) {
    // The longitude stays unreduced (it drives planet 1's longitude); only the anomaly
    // handed to the solver is reduced, keeping the sign of the angle.
    const double la2 = (static_cast<double>(i2) / ipasos) * twopi * std::fabs(k1);
    const double am2 = mod(la2 - planet2.p, twopi);
    const double aex2 = solkep(planet2.e, am2).e;
    const OrbitState s = state_on_orbit(factors, std::cos(aex2), std::sin(aex2));
    table.push_back({la2, s.pos.x, s.pos.y, s.pos.z, s.vel.x, s.vel.y, s.vel.z});
  }
  return table;
}

}  // namespace tandem
