// The phase space of a solved resonance: its zones (extrema, wells, barriers, horseshoes)
// and one trajectory through a point 40 degrees from the stable point, with its period.
// R(sigma) is solved once, outside the timing.

#include <benchmark/benchmark.h>

#include "tandem/phase_space.hpp"
#include "tandem/solve.hpp"

namespace tandem::bench {
namespace {

struct PhaseCase {
  System system;
  Resonance resonance;
  double sigma;  // where the trajectory starts, at exact resonance
};

// examples/trojan-1-1 (L4 at 60, started at 100) and examples/hilda-3-2 (the stable
// point near 0, started at 40).
PhaseCase trojan() {
  return {{1.0, {5.2, 0.07, 10.0, 100.0, 20.0, 1e-10}, {5.2, 0.048, 1.3, 100.5, 14.7, 9.5e-4}},
          {1, 1},
          100};
}

PhaseCase hilda() {
  return {{1.0, {3.97, 0.10, 5.0, 100.0, 30.0, 1e-9}, {5.2, 0.048, 1.3, 100.5, 14.7, 9.5e-4}},
          {3, 2},
          40};
}

void BM_PhaseSpace(benchmark::State& state, PhaseCase (*make)()) {
  const PhaseCase c = make();
  const Result result = solve(c.system, c.resonance);
  for (auto _ : state) {
    const PhaseSpace ps = phase_space(result);
    benchmark::DoNotOptimize(ps.zones.data());
  }
}

void BM_ZonesAndTrajectory(benchmark::State& state, PhaseCase (*make)()) {
  const PhaseCase c = make();
  const Result result = solve(c.system, c.resonance);
  for (auto _ : state) {
    const PhaseSpace ps = phase_space(result);
    const Trajectory t = trajectory(ps, c.sigma);
    benchmark::DoNotOptimize(t.period_years);
  }
}

BENCHMARK_CAPTURE(BM_PhaseSpace, trojan, trojan)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ZonesAndTrajectory, trojan, trojan)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PhaseSpace, hilda, hilda)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ZonesAndTrajectory, hilda, hilda)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tandem::bench
