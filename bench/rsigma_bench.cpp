// R(sigma) on the whole grid, on one thread and on every hardware thread. Wall-clock
// time: the work of the other threads is what is being measured.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <thread>

#include "bench_systems.hpp"
#include "resonance/rsigma.hpp"

namespace tandem::bench {
namespace {

void BM_RSigma(benchmark::State& state, BenchCase (*make)()) {
  const BenchCase c = make();
  const Prepared p = prepare(c);
  const auto threads = static_cast<unsigned>(state.range(0));
  for (auto _ : state) {
    const RCurve curve = evaluate_rsigma(c.system, c.resonance, p.orbits, threads);
    benchmark::DoNotOptimize(curve.rp.data());
  }
  const double samples = static_cast<double>(isimax) * p.orbits.ipasos;
  state.counters["per_sample"] = benchmark::Counter(
      samples, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// One thread, and as many as the machine has (as the program uses).
void thread_counts(benchmark::internal::Benchmark* b) {
  b->ArgName("threads")->Arg(1);
  const unsigned all = std::max(1u, std::thread::hardware_concurrency());
  if (all > 1) {
    b->Arg(static_cast<std::int64_t>(all));
  }
  b->UseRealTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_RSigma, 3_2, hilda_3_2)->Apply(thread_counts);
BENCHMARK_CAPTURE(BM_RSigma, 50_49, pair_50_49)->Apply(thread_counts);

}  // namespace
}  // namespace tandem::bench
