#include "scan/scheduler.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <numeric>
#include <thread>
#include <utility>

#include "tandem/solve.hpp"

namespace tandem::scan {

std::vector<std::size_t> dispatch_order(const std::vector<PlannedResonance>& jobs) {
  std::vector<std::size_t> order(jobs.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return jobs[a].resonance.k2 > jobs[b].resonance.k2;
  });
  return order;
}

Split split_threads(unsigned threads, std::size_t jobs, Sharing sharing) {
  threads = std::max(1U, threads);
  const unsigned count = static_cast<unsigned>(std::max<std::size_t>(1, jobs));
  switch (sharing) {
    case Sharing::grid:
      return {1, threads};
    case Sharing::both:
      return {std::min(threads, count), threads};
    case Sharing::resonances:
      break;
  }
  const unsigned workers = std::min(threads, count);
  return {workers, std::max(1U, threads / workers)};
}

namespace {

// What the workers and the calling thread share, under one lock.
struct Shared {
  std::mutex lock;
  std::condition_variable changed;
  std::deque<std::pair<std::size_t, Result>> done;
  std::exception_ptr failure;
  std::size_t next = 0;  // into the dispatch order
  bool stop = false;
};

void work(const std::vector<PlannedResonance>& jobs, const std::vector<std::size_t>& order,
          unsigned threads_per_solve, Shared& shared) {
  for (;;) {
    std::size_t job = 0;
    {
      std::lock_guard<std::mutex> hold(shared.lock);
      if (shared.stop || shared.next == order.size()) {
        return;
      }
      job = order[shared.next++];
    }
    try {
      const PlannedResonance& p = jobs[job];
      Result result = solve(
          p.system, {static_cast<double>(p.resonance.k2), static_cast<double>(p.resonance.k1)},
          {threads_per_solve});
      std::lock_guard<std::mutex> hold(shared.lock);
      shared.done.emplace_back(job, std::move(result));
    } catch (...) {
      std::lock_guard<std::mutex> hold(shared.lock);
      if (!shared.failure) {
        shared.failure = std::current_exception();
      }
      shared.stop = true;
    }
    shared.changed.notify_all();
  }
}

}  // namespace

ScanEnd run_scan(const std::vector<PlannedResonance>& jobs, const ScheduleOptions& options,
                 const ScanCallbacks& callbacks) {
  const std::vector<std::size_t> order = dispatch_order(jobs);
  const Split split = split_threads(options.threads, jobs.size(), options.sharing);
  Shared shared;
  std::vector<std::jthread> workers;
  // However this returns (a stop, a failure of a solve or of the caller's writing), the
  // workers take no new resonance and are joined.
  struct StopWorkers {
    Shared& shared;
    std::vector<std::jthread>& workers;
    ~StopWorkers() {
      {
        std::lock_guard<std::mutex> hold(shared.lock);
        shared.stop = true;
      }
      workers.clear();
    }
  } stop_workers{shared, workers};
  for (unsigned w = 0; w < split.workers && !jobs.empty(); ++w) {
    workers.emplace_back(work, std::cref(jobs), std::cref(order), split.threads_per_solve,
                         std::ref(shared));
  }
  std::size_t delivered = 0;
  while (delivered < jobs.size()) {
    std::deque<std::pair<std::size_t, Result>> ready;
    {
      std::unique_lock<std::mutex> hold(shared.lock);
      shared.changed.wait_for(hold, options.tick,
                              [&] { return !shared.done.empty() || shared.failure; });
      if (shared.failure) {
        std::rethrow_exception(shared.failure);
      }
      ready.swap(shared.done);
    }
    for (auto& [job, result] : ready) {
      callbacks.finished(job, std::move(result));
      ++delivered;
    }
    if (delivered < jobs.size() && !callbacks.go_on()) {
      return ScanEnd::stopped;
    }
  }
  return ScanEnd::completed;
}

}  // namespace tandem::scan
