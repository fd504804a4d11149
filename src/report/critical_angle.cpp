#include "report/critical_angle.hpp"

namespace tandem {

void write_critical_angle(textio::RecordLayer& io, int unit, const Resonance& resonance) {
  // The dialogue bounds K2 below 51, so every coefficient fits an int.
  const int c1 = static_cast<int>(resonance.k1);
  const int c2 = static_cast<int>(-resonance.k2);
  const int c3 = static_cast<int>(resonance.k2 - resonance.k1);
  io.write_list(unit, {"sigma =", c1, "*lambda1", c2, "*lambda2 +", c3, "*varpi1"});
}

}  // namespace tandem
