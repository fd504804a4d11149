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

// Kepler's third law for both planets with n1 = (K2/K1)*n2 gives
// a2 = a1 * ((M + m2)/(M + m1) * (K2/K1)^2)^(1/3). The set-up computes a1 from a2 by its
// own sequence of roundings, so the neighbours of that value are tried one ulp at a time;
// a1(a2) never decreases with a2, so the walk goes one way until it passes planet 1's a.
double planet_2_axis(const System& system, const ResonancePair& r) {
  const double target = system.planet1.a;
  const double ratio = static_cast<double>(r.k2) / r.k1;
  const double masses =
      (system.star_mass + system.planet2.mass) / (system.star_mass + system.planet1.mass);
  double a2 = target * std::pow(masses * (ratio * ratio), 1.0 / 3);
  const auto a1_of = [&](double x) { return resonant_a1(with_planet_2_axis(system, x), r); };
  double a1 = a1_of(a2);
  if (a1 == target) {
    return a2;
  }
  const double direction = a1 < target ? INFINITY : 0.0;
  constexpr int max_steps = 64;
  for (int step = 0; step < max_steps; ++step) {
    const double next = std::nextafter(a2, direction);
    const double next_a1 = a1_of(next);
    const bool passed = a1 < target ? next_a1 >= target : next_a1 <= target;
    if (passed) {
      const double here = std::fabs(a1 - target);
      const double there = std::fabs(next_a1 - target);
      if (there < here) {
        return next;
      }
      if (here < there) {
        return a2;
      }
      return std::min(a2, next);
    }
    a2 = next;
    a1 = next_a1;
  }
  return a2;
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
