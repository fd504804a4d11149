#pragma once
// Gauss-Kronrod 7-15 rule (QUADPACK's qk15): nodes on [-1, 1] and the two weight sets.

#include <array>

namespace tandem::phase {

inline constexpr std::array<double, 8> gk15_nodes = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.0};
inline constexpr std::array<double, 8> gk15_kronrod_weights = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
// Weights of the 7-point Gauss rule, at nodes 1, 3, 5 and 7 of the list above.
inline constexpr std::array<double, 4> g7_weights = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

// Gauss-Kronrod 7-15 on [a, b]: the Kronrod sum and the embedded Gauss sum.
struct RulePair {
  double kronrod = 0;
  double gauss = 0;
};

template <typename F>
RulePair gauss_kronrod15(const F& f, double a, double b) {
  const double centre = a + (b - a) / 2;
  const double half = (b - a) / 2;
  const double fc = f(centre);
  double k = gk15_kronrod_weights[7] * fc;
  double g = g7_weights[3] * fc;
  for (int j = 0; j < 7; ++j) {
    const double dx = half * gk15_nodes[j];
    const double pair = f(centre - dx) + f(centre + dx);
    k = k + gk15_kronrod_weights[j] * pair;
    if (j % 2 == 1) {
      g = g + g7_weights[j / 2] * pair;
    }
  }
  return {k * half, g * half};
}

}  // namespace tandem::phase
