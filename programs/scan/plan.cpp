#include "scan/plan.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "tandem/solve.hpp"

namespace tandem::scan {
namespace {

System with_planet_2_axis(System system, double a2) {
  system.planet2.a = a2;
  return system;
}

double resonant_a1(const System& system, const ResonancePair& r) {
  return resonant_orbits(system, common::as_resonance(r)).a1;
}

PlannedResonance planned(const System& file_system, const ResonancePair& r, Placement p) {
  if (p == Placement::planet1) {
    return {r, file_system, resonant_a1(file_system, r)};
  }
  const double a2 = planet_2_axis(file_system, r);
  return {r, with_planet_2_axis(file_system, a2), a2};
}

bool in_window(const Enumeration& e, const ResonancePair& r, double placed_a) {
  const double x = e.axis == WindowAxis::ratio ? static_cast<double>(r.k2) / r.k1 : placed_a;
  return x >= e.lo && x <= e.hi;
}

}  // namespace

double planet_2_axis(const System& system, const ResonancePair& r) {
  return planet2_at_resonance(system, common::as_resonance(r));
}

std::vector<PlannedResonance> plan_scan(const System& file_system, const ScanRequest& request) {
  std::vector<PlannedResonance> plan;
  if (const auto* list = std::get_if<std::vector<ResonancePair>>(&request.what)) {
    for (const ResonancePair& r : *list) {
      plan.push_back(planned(file_system, r, request.placement));
    }
    return plan;
  }
  const Enumeration& e = std::get<Enumeration>(request.what);
  for (int k2 = 1; k2 <= e.max_k2; ++k2) {
    for (int k1 = 1; k1 <= k2; ++k1) {
      const int order = k2 - k1;
      if (order < e.order_min || order > e.order_max || std::gcd(k2, k1) != 1) {
        continue;
      }
      const ResonancePair r{k2, k1};
      if (e.axis == WindowAxis::ratio && !in_window(e, r, 0)) {
        continue;  // no need to place what the window refuses by its ratio
      }
      PlannedResonance p = planned(file_system, r, request.placement);
      if (in_window(e, r, p.placed_a)) {
        plan.push_back(p);
      }
    }
  }
  std::stable_sort(plan.begin(), plan.end(), [](const auto& a, const auto& b) {
    if (a.placed_a != b.placed_a) {
      return a.placed_a < b.placed_a;
    }
    return a.resonance.k2 < b.resonance.k2;
  });
  return plan;
}

}  // namespace tandem::scan
