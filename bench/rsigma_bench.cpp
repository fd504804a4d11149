// R(sigma) on the whole grid: today's plain evaluation and the one that reuses planet 1's
// states and interleaves its solutions, side by side in one run, on one thread and on
// every processor this process may use. Wall-clock time: the work of the other threads is
// what is being measured. Run with --benchmark_enable_random_interleaving=true and
// repetitions, so that the load of a shared machine falls on both alike.

#include <benchmark/benchmark.h>

#include "bench_systems.hpp"
#include "resonance/rsigma.hpp"
#include "tandem/solve.hpp"

namespace tandem::bench {
namespace {

// method: 0 plain, 1 reuse and interleave (what a run uses), 2 reuse only, 3 interleave
// only.
Planet1Method method_of(std::int64_t arg, int cache_bits = planet1_cache_bits) {
  switch (arg) {
    case 1:
      return {true, true, cache_bits};
    case 2:
      return {true, false, cache_bits};
    case 3:
      return {false, true, cache_bits};
    default:
      return plain_planet1;
  }
}

void time_grid(benchmark::State& state, const BenchCase& c, const Prepared& p,
               const Planet1Method& method, unsigned threads) {
  for (auto _ : state) {
    const RCurve curve = evaluate_rsigma(c.system, c.resonance, p.orbits, threads, method);
    benchmark::DoNotOptimize(curve.rp.data());
  }
  const double samples = static_cast<double>(isimax) * p.orbits.ipasos;
  state.counters["per_sample"] = benchmark::Counter(
      samples, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_RSigma(benchmark::State& state, BenchCase (*make)()) {
  const BenchCase c = make();
  time_grid(state, c, prepare(c), method_of(state.range(0)), static_cast<unsigned>(state.range(1)));
}

// The cache's size: 2^bits slots of 64 bytes per thread, on every processor.
void BM_RSigmaCacheBits(benchmark::State& state, BenchCase (*make)()) {
  const BenchCase c = make();
  time_grid(state, c, prepare(c), method_of(1, static_cast<int>(state.range(0))),
            available_processors());
}

// Plain and reusing-interleaving on one thread and on every processor.
void methods_and_threads(benchmark::internal::Benchmark* b) {
  b->ArgNames({"method", "threads"});
  const auto all = static_cast<std::int64_t>(available_processors());
  for (const std::int64_t method : {0, 1}) {
    b->Args({method, 1});
    if (all > 1) {
      b->Args({method, all});
    }
  }
  b->UseRealTime()->Unit(benchmark::kMillisecond);
}

// What each half contributes, on one thread.
void parts(benchmark::internal::Benchmark* b) {
  b->ArgNames({"method", "threads"})->Args({2, 1})->Args({3, 1});
  b->UseRealTime()->Unit(benchmark::kMillisecond);
}

void cache_sizes(benchmark::internal::Benchmark* b) {
  b->ArgName("bits")->DenseRange(12, 18, 2)->UseRealTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_RSigma, 3_2, hilda_3_2)->Apply(methods_and_threads);
BENCHMARK_CAPTURE(BM_RSigma, 7_2, kirkwood_7_2)->Apply(methods_and_threads);
BENCHMARK_CAPTURE(BM_RSigma, 50_49_e010, pair_50_49_e010)->Apply(methods_and_threads);
BENCHMARK_CAPTURE(BM_RSigma, 50_49_e060, pair_50_49_e060)->Apply(methods_and_threads);
BENCHMARK_CAPTURE(BM_RSigma, 3_2, hilda_3_2)->Apply(parts);
BENCHMARK_CAPTURE(BM_RSigma, 7_2, kirkwood_7_2)->Apply(parts);
BENCHMARK_CAPTURE(BM_RSigma, 50_49_e010, pair_50_49_e010)->Apply(parts);
BENCHMARK_CAPTURE(BM_RSigma, 50_49_e060, pair_50_49_e060)->Apply(parts);
BENCHMARK_CAPTURE(BM_RSigmaCacheBits, 3_2, hilda_3_2)->Apply(cache_sizes);
BENCHMARK_CAPTURE(BM_RSigmaCacheBits, 7_2, kirkwood_7_2)->Apply(cache_sizes);
BENCHMARK_CAPTURE(BM_RSigmaCacheBits, 50_49_e010, pair_50_49_e010)->Apply(cache_sizes);

}  // namespace
}  // namespace tandem::bench
