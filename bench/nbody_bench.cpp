// The N-body check's map: one step of the Wisdom-Holman map with Neptune and many
// massless particles on trans-Neptunian orbits (made-up orbits spread over 35-60 au, not
// real bodies), and the same with the four giant planets. Counter: particle-steps per
// second.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "nbody/wisdom_holman.hpp"
#include "orbit/constants.hpp"

namespace tandem::bench {
namespace {

using namespace nbody;

// a, e, I, node, varpi, lambda of JPL's approximate elements at J2000 (rounded), masses
// in M_sun.
struct Giant {
  Elements el;
  double mass;
};
const Giant giants[] = {
    {{5.2029, 0.0484, 1.3044 * 0.0174533, 100.474 * 0.0174533, 14.728 * 0.0174533, 0.6003},
     9.5479e-4},
    {{9.5367, 0.0539, 2.486 * 0.0174533, 113.662 * 0.0174533, 92.599 * 0.0174533, 0.8719},
     2.8589e-4},
    {{19.189, 0.0473, 0.773 * 0.0174533, 74.017 * 0.0174533, 170.954 * 0.0174533, -0.8336},
     4.3662e-5},
    {{30.070, 0.0086, 1.770 * 0.0174533, 131.784 * 0.0174533, 44.965 * 0.0174533, -0.9620},
     5.1514e-5},
};

void BM_MapStep(benchmark::State& state, bool all_giants) {
  const int n = static_cast<int>(state.range(0));
  std::vector<WhPlanet> planets;
  for (int j = all_giants ? 0 : 3; j < 4; ++j) {
    planets.push_back(
        {kg2 * giants[j].mass, state_from_elements(giants[j].el, kg2 * (1 + giants[j].mass))});
  }
  std::vector<KeplerState> particles;
  for (int k = 0; k < n; ++k) {
    const double f = static_cast<double>(k) / n;
    particles.push_back(state_from_elements(
        {35 + 25 * f, 0.05 + 0.3 * f, 0.3 * f, 6.0 * f, 2.0 + 5.0 * f, 11.0 * f}, kg2));
  }
  const double inner = all_giants ? 5.2029 : 30.07;
  const double dt = twopi * std::sqrt(inner * inner * inner / kg2) / 80;
  WisdomHolman map(kg2, planets, particles, dt, 3);
  for (auto _ : state) {
    map.advance(1);
    benchmark::DoNotOptimize(map.particles().data());
  }
  state.counters["particle_steps/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * n, benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(BM_MapStep, neptune, false)->Arg(1000);
BENCHMARK_CAPTURE(BM_MapStep, giants, true)->Arg(1000);

}  // namespace
}  // namespace tandem::bench
