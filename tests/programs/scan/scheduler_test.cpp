// How a scan shares its threads: a resonance that costs more than its share of what is
// left runs alone on every thread, the rest one per worker; and whatever the sharing, every
// result is the one solve gives, bit for bit.

#include "scan/scheduler.hpp"

#include <gtest/gtest.h>

#include <fstream>

#include "support/program_run.hpp"
#include "tandem/tandem.hpp"

namespace tandem::scan {
namespace {

std::vector<PlannedResonance> plan_of(const std::vector<ResonancePair>& list) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / "tandem-scheduler.inp";
  std::ofstream(file) << testing::example_file("hilda-3-2", "tandem.inp");
  const System system = read_input(file).system;
  std::filesystem::remove(file);
  return plan_scan(system, {list, Placement::planet1});
}

TEST(Scheduler, CostlyResonancesAloneOnEveryThreadTheRestOnePerWorker) {
  // 17 of 22 units, then 3 of the 5 left, then 2 of 2: each more than half of what is left.
  const auto uneven = plan_phases(plan_of({{2, 1}, {3, 2}, {17, 14}}), 2, Sharing::resonances);
  ASSERT_EQ(uneven.size(), 1U);
  EXPECT_EQ(uneven[0].jobs, (std::vector<std::size_t>{2, 1, 0}));
  EXPECT_EQ(uneven[0].workers, 1U);
  EXPECT_EQ(uneven[0].threads_per_solve, 2U);

  // 11 of 24: no more than half; all of them one per worker, costliest first.
  const auto even =
      plan_phases(plan_of({{2, 1}, {5, 3}, {11, 8}, {3, 2}, {3, 1}}), 2, Sharing::resonances);
  ASSERT_EQ(even.size(), 1U);
  EXPECT_EQ(even[0].jobs, (std::vector<std::size_t>{2, 1, 3, 4, 0}));
  EXPECT_EQ(even[0].workers, 2U);
  EXPECT_EQ(even[0].threads_per_solve, 1U);

  // 13 of 25 first on both threads, then 5:4, 4:3 and 3:2 one per worker (5 of 12).
  const auto both = plan_phases(plan_of({{3, 2}, {13, 9}, {4, 3}, {5, 4}}), 2, Sharing::resonances);
  ASSERT_EQ(both.size(), 2U);
  EXPECT_EQ(both[0].jobs, std::vector<std::size_t>{1});
  EXPECT_EQ(both[0].threads_per_solve, 2U);
  EXPECT_EQ(both[1].jobs, (std::vector<std::size_t>{3, 2, 0}));
  EXPECT_EQ(both[1].workers, 2U);
  EXPECT_EQ(both[1].threads_per_solve, 1U);

  const auto single = plan_phases(plan_of({{3, 2}, {2, 1}}), 1, Sharing::resonances);
  ASSERT_EQ(single.size(), 1U);
  EXPECT_EQ(single[0].workers, 1U);
  EXPECT_EQ(single[0].threads_per_solve, 1U);
}

TEST(Scheduler, EverySharingGivesSolvesResultsBitForBit) {
  const auto jobs = plan_of({{1, 1}, {2, 1}, {3, 2}});
  std::vector<Result> expected;
  for (const auto& j : jobs) {
    expected.push_back(solve(j.system, {double(j.resonance.k2), double(j.resonance.k1)}, {1}));
  }
  for (const Sharing sharing : {Sharing::resonances, Sharing::grid, Sharing::both}) {
    for (const unsigned threads : {1U, 2U, 3U}) {
      std::vector<int> seen(jobs.size(), 0);
      ScanCallbacks callbacks;
      callbacks.finished = [&](std::size_t job, Solved&& solved) {
        const Result& r = solved.result;
        ++seen[job];
        const Result& e = expected[job];
        EXPECT_EQ(r.orbit.a1, e.orbit.a1);
        EXPECT_EQ(r.analysis.strength, e.analysis.strength);
        EXPECT_EQ(r.analysis.width_a1, e.analysis.width_a1);
        EXPECT_EQ(r.curve.r, e.curve.r);  // every point of R(sigma)
        EXPECT_EQ(r.curve.period_years, e.curve.period_years);
      };
      EXPECT_EQ(run_scan(jobs, {threads, sharing, std::chrono::milliseconds(10), std::nullopt},
                         callbacks),
                ScanEnd::completed);
      EXPECT_EQ(seen, std::vector<int>(jobs.size(), 1));
    }
  }
}

}  // namespace
}  // namespace tandem::scan
