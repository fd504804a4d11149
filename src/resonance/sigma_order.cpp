#include "resonance/sigma_order.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "orbit/constants.hpp"

namespace tandem {

std::array<int, isimax> sigma_visit_order(double k1, double k2, double p1g, int ipasos) {
  std::array<int, isimax> order;
  std::iota(order.begin(), order.end(), 0);
  if (!(k1 > 0) || ipasos < 1) {
    return order;
  }
  const double step = 360 * k2 / ipasos;  // degrees of planet 1's longitude per sample
  const double per_revolution = 360 / step;
  // 360/0.36 may round off 1000 in the last bit, which does not make it a fraction.
  if (!(std::isfinite(per_revolution) &&
        std::fabs(per_revolution - std::round(per_revolution)) <= 1e-9 * per_revolution &&
        per_revolution <= ipasos)) {
    return order;
  }
  // The remainder as a fraction of a step, to 2^-20: values that are equal but for the
  // rounding of teta/k1 fall together (a boundary between them costs some reuse, nothing
  // else).
  constexpr double levels = 1 << 20;
  std::array<std::int64_t, isimax> remainder{};
  for (int i = 0; i < isimax; ++i) {
    const double acrit = (static_cast<double>(i) / isimax) * 360;
    const double x = mod((k1 - k2) * p1g + acrit, 360) / k1;
    const double phase = x / step - std::floor(x / step);  // in [0, 1]
    remainder[static_cast<std::size_t>(i)] =
        static_cast<std::int64_t>(std::llround(phase * levels)) % static_cast<std::int64_t>(levels);
  }
  std::stable_sort(order.begin(), order.end(), [&remainder](int a, int b) {
    return remainder[static_cast<std::size_t>(a)] < remainder[static_cast<std::size_t>(b)];
  });
  return order;
}

}  // namespace tandem
