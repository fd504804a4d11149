// The Kepler solver alone. Solutions per second over a spread of mean anomalies at three
// eccentricities, and over exactly the mean anomalies that R(sigma) hands it for planet 1,
// so that the time of a whole sample can be set against the time of its solution; there
// one after the other (solkep) and several at a time (the lanes R(sigma) uses). Timed by
// the wall clock, as R(sigma) is, so that the figures compare.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench_systems.hpp"
#include "orbit/constants.hpp"
#include "orbit/kepler.hpp"
#include "resonance/kepler_lanes.hpp"

namespace tandem::bench {
namespace {

void solve_all(benchmark::State& state, double ex, const std::vector<double>& anomalies) {
  for (auto _ : state) {
    double sum = 0;
    for (const double m : anomalies) {
      sum += solkep(ex, m).e;
    }
    benchmark::DoNotOptimize(sum);
  }
  const auto n = static_cast<double>(anomalies.size());
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(anomalies.size()));
  state.counters["per_solution"] = benchmark::Counter(
      n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Eccentricity in thousandths; 4096 mean anomalies evenly over (-2*pi, 2*pi), the range the
// callers pass (the cost is the same for M and -M).
void BM_SolkepSpread(benchmark::State& state) {
  const double ex = static_cast<double>(state.range(0)) / 1000;
  constexpr int count = 4096;
  std::vector<double> anomalies;
  anomalies.reserve(count);
  for (int k = 0; k < count; ++k) {
    anomalies.push_back(-twopi + (k + 0.5) * (2 * twopi / count));
  }
  solve_all(state, ex, anomalies);
}
BENCHMARK(BM_SolkepSpread)->ArgName("e_permille")->Arg(50)->Arg(300)->Arg(900)->UseRealTime();

// Planet 1's mean anomalies of a run at every tenth sigma value (the distribution over
// the cycle is the same at every sigma), at planet 1's eccentricity.
void BM_SolkepOfRun(benchmark::State& state, BenchCase (*make)()) {
  const BenchCase c = make();
  const Prepared p = prepare(c);
  solve_all(state, p.orbits.planet1.e, planet1_mean_anomalies(c, p, 10));
}
BENCHMARK_CAPTURE(BM_SolkepOfRun, 3_2, hilda_3_2)->UseRealTime();
BENCHMARK_CAPTURE(BM_SolkepOfRun, 50_49_e010, pair_50_49_e010)->UseRealTime();
BENCHMARK_CAPTURE(BM_SolkepOfRun, 50_49_e060, pair_50_49_e060)->UseRealTime();

// The same anomalies through the interleaved lanes, in blocks of 256 as R(sigma) hands
// them over at most.
void BM_SolkepInterleavedOfRun(benchmark::State& state, BenchCase (*make)()) {
  const BenchCase c = make();
  const Prepared p = prepare(c);
  const double ex = p.orbits.planet1.e;
  const std::vector<double> anomalies = planet1_mean_anomalies(c, p, 10);
  std::vector<double> solutions(anomalies.size());
  constexpr std::size_t block = 256;
  for (auto _ : state) {
    for (std::size_t first = 0; first < anomalies.size(); first += block) {
      const std::size_t count = std::min(block, anomalies.size() - first);
      solve_kepler_interleaved(ex, anomalies.data() + first, solutions.data() + first, count);
    }
    benchmark::DoNotOptimize(solutions.data());
  }
  const auto n = static_cast<double>(anomalies.size());
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(anomalies.size()));
  state.counters["per_solution"] = benchmark::Counter(
      n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(BM_SolkepInterleavedOfRun, 3_2, hilda_3_2)->UseRealTime();
BENCHMARK_CAPTURE(BM_SolkepInterleavedOfRun, 50_49_e010, pair_50_49_e010)->UseRealTime();
BENCHMARK_CAPTURE(BM_SolkepInterleavedOfRun, 50_49_e060, pair_50_49_e060)->UseRealTime();

}  // namespace
}  // namespace tandem::bench
