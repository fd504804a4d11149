#pragma once
// Runs tandem::solve over the resonances of a scan on the processors given.
//
// How the work is shared, Sharing::resonances being the program's choice (measured in
// bench/scan_bench.cpp): the scan runs in two phases. First, one at a time with every
// thread over its sigma grid, each resonance that costs more than its share of what is left
// (more than 1/threads of the samples of it and all cheaper ones): a scan ending on one
// long resonance on one thread while the others wait would lose more. Then the rest: each
// worker thread takes whole resonances, costliest first, and solves each on its own thread
// (threads = 1); with fewer resonances than threads, each gets the threads left over. The
// cost of a resonance is its K2 (1000*K2 samples per sigma value).
//
// Sharing::grid solves every resonance in turn with all threads; Sharing::both runs one
// worker per thread with all threads each. Results are the same bit for bit in every case.
//
// With ScheduleOptions::verify, the worker that solved a resonance also checks its stable
// equilibria by direct integration (tandem::verify) on its own thread, also after a solve
// of the first phase on every thread: the checks share the scan's workers, its stop and
// its shards. The cost that orders the work and the progress estimate stays K2.
//
// Results come back on the calling thread, in the order they finish; the caller writes
// them. Between results the caller is called back at least every `tick`, so that it can
// show progress or stop the scan.

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "scan/plan.hpp"
#include "tandem/result.hpp"
#include "tandem/verify.hpp"

namespace tandem::scan {

enum class Sharing { resonances, grid, both };

struct ScheduleOptions {
  unsigned threads = 1;  // at least 1
  Sharing sharing = Sharing::resonances;
  std::chrono::milliseconds tick{100};
  std::optional<VerifyOptions> verify;  // none: solve only
};

// What a worker hands back for one resonance.
struct Solved {
  Result result;
  std::vector<Verification> verifications;  // every stable equilibrium; empty without verify
};

struct ScanCallbacks {
  std::function<void(std::size_t job, Solved&& solved)> finished;
  // Called between results; returning false stops the scan.
  std::function<bool()> go_on = [] { return true; };
};

enum class ScanEnd { completed, stopped };

// A stretch of the scan: these jobs (indices into the plan, in the order workers take
// them), on this many workers with this many threads for each solve.
struct Phase {
  std::vector<std::size_t> jobs;
  unsigned workers = 1;
  unsigned threads_per_solve = 1;
};

std::vector<Phase> plan_phases(const std::vector<PlannedResonance>& jobs, unsigned threads,
                               Sharing sharing);

// Solves every job. After a stop the workers finish the resonance they hold before this
// returns; its results are not passed on.
ScanEnd run_scan(const std::vector<PlannedResonance>& jobs, const ScheduleOptions& options,
                 const ScanCallbacks& callbacks);

}  // namespace tandem::scan
