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

namespace {

// Costliest first, ties in catalogue order.
std::vector<std::size_t> dispatch_order(const std::vector<PlannedResonance>& jobs) {
  std::vector<std::size_t> order(jobs.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return jobs[a].resonance.k2 > jobs[b].resonance.k2;
  });
  return order;
}

Phase spread(std::vector<std::size_t> jobs, unsigned threads) {
  const unsigned count = static_cast<unsigned>(std::max<std::size_t>(1, jobs.size()));
  const unsigned workers = std::min(threads, count);
  return {std::move(jobs), workers, std::max(1U, threads / workers)};
}

}  // namespace

std::vector<Phase> plan_phases(const std::vector<PlannedResonance>& jobs, unsigned threads,
                               Sharing sharing) {
  threads = std::max(1U, threads);
  const std::vector<std::size_t> order = dispatch_order(jobs);
  if (sharing == Sharing::grid) {
    return {{order, 1, threads}};
  }
  if (sharing == Sharing::both) {
    return {{order, std::min<unsigned>(threads, std::max<std::size_t>(1, order.size())), threads}};
  }
  double left = 0;
  for (const PlannedResonance& p : jobs) {
    left += p.resonance.k2;
  }
  std::vector<Phase> phases;
  std::size_t next = 0;
  for (; next < order.size(); ++next) {
    const double cost = jobs[order[next]].resonance.k2;
    if (!(cost * threads > left) || threads == 1) {
      break;
    }
    if (phases.empty()) {
      phases.push_back({{}, 1, threads});
    }
    phases.back().jobs.push_back(order[next]);
    left -= cost;
  }
  if (next < order.size() || phases.empty()) {
    phases.push_back(
        spread({order.begin() + static_cast<std::ptrdiff_t>(next), order.end()}, threads));
  }
  return phases;
}

namespace {

// What the workers and the calling thread share, under one lock.
struct Shared {
  std::mutex lock;
  std::condition_variable changed;
  std::deque<std::pair<std::size_t, Solved>> done;
  std::exception_ptr failure;
  std::size_t next = 0;  // into the dispatch order
  bool stop = false;
};

void work(const std::vector<PlannedResonance>& jobs, const std::vector<std::size_t>& order,
          unsigned threads_per_solve, const std::optional<VerifyOptions>& verify_options,
          Shared& shared) {
  // order is the phase's list; shared.next counts within it.
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
      Solved solved{solve(p.system, common::as_resonance(p.resonance), {threads_per_solve}), {}};
      if (verify_options) {
        solved.verifications = verify(solved.result, *verify_options);
      }
      std::lock_guard<std::mutex> hold(shared.lock);
      shared.done.emplace_back(job, std::move(solved));
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
  for (const Phase& phase : plan_phases(jobs, options.threads, options.sharing)) {
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
    for (unsigned w = 0; w < phase.workers && !phase.jobs.empty(); ++w) {
      workers.emplace_back(work, std::cref(jobs), std::cref(phase.jobs), phase.threads_per_solve,
                           std::cref(options.verify), std::ref(shared));
    }
    std::size_t delivered = 0;
    while (delivered < phase.jobs.size()) {
      std::deque<std::pair<std::size_t, Solved>> ready;
      {
        std::unique_lock<std::mutex> hold(shared.lock);
        shared.changed.wait_for(hold, options.tick,
                                [&] { return !shared.done.empty() || shared.failure; });
        if (shared.failure) {
          std::rethrow_exception(shared.failure);
        }
        ready.swap(shared.done);
      }
      for (auto& [job, solved] : ready) {
        callbacks.finished(job, std::move(solved));
        ++delivered;
      }
      if (!callbacks.go_on()) {
        return ScanEnd::stopped;
      }
    }
  }
  return ScanEnd::completed;
}

}  // namespace tandem::scan
