#pragma once
// Runs tandem::solve over the resonances of a scan on the processors given.
//
// How the work is shared (Sharing::resonances, the program's choice, measured in the
// benchmark): with at least as many resonances as threads, each worker thread takes whole
// resonances and solves each on its own thread (threads = 1); with fewer, every resonance
// gets the threads left over (threads / resonances each), so that a scan of one resonance
// runs as fast as the console program. Workers take the costliest resonances first
// (1000*K2 samples per sigma), so that the scan does not end with one long resonance on
// one thread while the others wait. Sharing::grid solves one resonance at a time with all
// threads over its sigma grid; Sharing::both runs one worker per thread with all threads
// each. Results are the same bit for bit in every case.
//
// Results come back on the calling thread, in the order they finish; the caller writes
// them. Between results the caller is called back at least every `tick` so that it can
// show progress or ask the scan to stop.

#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

#include "scan/plan.hpp"
#include "tandem/result.hpp"

namespace tandem::scan {

enum class Sharing { resonances, grid, both };

struct ScheduleOptions {
  unsigned threads = 1;  // at least 1
  Sharing sharing = Sharing::resonances;
  std::chrono::milliseconds tick{100};
};

struct ScanCallbacks {
  std::function<void(std::size_t job, Result&& result)> finished;
  // Called between results; returning false stops the scan.
  std::function<bool()> go_on = [] { return true; };
};

enum class ScanEnd { completed, stopped };

// The order in which workers take the jobs: costliest first, ties in catalogue order.
std::vector<std::size_t> dispatch_order(const std::vector<PlannedResonance>& jobs);

// Threads given to each solve call, and the number of workers, for `jobs` resonances.
struct Split {
  unsigned workers = 1;
  unsigned threads_per_solve = 1;
};
Split split_threads(unsigned threads, std::size_t jobs, Sharing sharing);

// Solves every job. After a stop the workers finish the resonance they hold before this
// returns; its results are not passed on.
ScanEnd run_scan(const std::vector<PlannedResonance>& jobs, const ScheduleOptions& options,
                 const ScanCallbacks& callbacks);

}  // namespace tandem::scan
