// How a scan shares its processors, measured: the program's choice (Sharing::resonances:
// a dominant resonance alone on every thread, the rest whole, one per worker), one resonance
// at a time split over its sigma grid (Sharing::grid), and both at once (a worker per thread,
// every worker on all threads). The scan is the Hilda
// example's neighbourhood: every resonance of order 1 to 3 with a1 between 3.0 and 4.6 au
// (16 resonances, K2 from 2 to 17), and, for the tail of a scan, three resonances of very
// different cost (2:1, 3:2 and 17:14).

#include <benchmark/benchmark.h>

#include "api/convert.hpp"
#include "bench_systems.hpp"
#include "scan/plan.hpp"
#include "scan/scheduler.hpp"

namespace tandem::bench {
namespace {

using scan::Sharing;

std::vector<scan::PlannedResonance> neighbourhood() {
  scan::Enumeration e;
  e.order_min = 1;
  e.order_max = 3;
  e.axis = scan::WindowAxis::a1;
  e.lo = 3.0;
  e.hi = 4.6;
  return scan::plan_scan(api::system_of(hilda_3_2().system), {e, scan::Placement::planet1});
}

std::vector<scan::PlannedResonance> uneven() {
  const std::vector<scan::ResonancePair> list = {{2, 1}, {3, 2}, {17, 14}};
  return scan::plan_scan(api::system_of(hilda_3_2().system), {list, scan::Placement::planet1});
}

void BM_Scan(benchmark::State& state, std::vector<scan::PlannedResonance> (*make)(),
             Sharing sharing) {
  const auto jobs = make();
  const unsigned threads = static_cast<unsigned>(state.range(0));
  double samples = 0;
  for (const auto& job : jobs) {
    samples += 360.0 * 1000 * job.resonance.k2;
  }
  for (auto _ : state) {
    double sum = 0;
    scan::ScanCallbacks callbacks;
    callbacks.finished = [&](std::size_t, scan::Solved&& s) { sum += s.result.analysis.strength; };
    scan::run_scan(jobs, {threads, sharing, std::chrono::milliseconds(100), std::nullopt},
                   callbacks);
    benchmark::DoNotOptimize(sum);
  }
  state.counters["per_sample"] = benchmark::Counter(
      samples, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["resonances"] = static_cast<double>(jobs.size());
}

BENCHMARK_CAPTURE(BM_Scan, neighbourhood / resonances, neighbourhood, Sharing::resonances)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_Scan, neighbourhood / grid, neighbourhood, Sharing::grid)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_Scan, neighbourhood / both, neighbourhood, Sharing::both)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_Scan, uneven / resonances, uneven, Sharing::resonances)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_Scan, uneven / grid, uneven, Sharing::grid)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_Scan, uneven / both, uneven, Sharing::both)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace tandem::bench
