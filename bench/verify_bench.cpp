// The N-body check of one equilibrium: the start set to its cycle averages, then five
// predicted libration periods of the three bodies, on one thread. R(sigma) is solved once,
// outside the timing. Counters: the integrator steps of the run, and the time of the whole
// check over them (the start's corrections included).

#include <benchmark/benchmark.h>

#include "tandem/solve.hpp"
#include "tandem/verify.hpp"

namespace tandem::bench {
namespace {

// Jupiter's Trojan on circular orbits in one plane, at L4; and the giant pair of
// examples/giant-pair-2-1 at its stable point, sigma = 0.
struct VerifyCase {
  System system;
  Resonance resonance;
  double sigma;
};

VerifyCase trojan_l4() {
  return {{1.0, {5.2, 0, 0, 0, 0, 1e-10}, {5.2, 0, 0, 0, 0, 9.5e-4}}, {1, 1}, 60};
}

VerifyCase giant_pair_2_1() {
  return {{0.32, {0.130, 0.256, 1.0, 0.0, 50.0, 6.8e-4}, {0.208, 0.032, 1.0, 0.0, 50.0, 2.17e-3}},
          {2, 1},
          0};
}

void BM_Verify(benchmark::State& state, VerifyCase (*make)()) {
  const VerifyCase c = make();
  const Result result = solve(c.system, c.resonance);
  long long steps = 0;
  for (auto _ : state) {
    const Verification v = verify_at(result, c.sigma);
    steps = v.steps;
    benchmark::DoNotOptimize(v.measured_period_years);
  }
  state.counters["steps"] = static_cast<double>(steps);
  state.counters["per_step"] =
      benchmark::Counter(static_cast<double>(steps) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(BM_Verify, trojan_l4, trojan_l4)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Verify, giant_pair_2_1, giant_pair_2_1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tandem::bench
