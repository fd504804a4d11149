// Runs started together in one directory, as scripts that fill a catalogue start them:
// each appends its whole block to resonance.dat in one piece, and rsigma.dat ends as the
// complete table of one of them.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "support/console_text.hpp"
#include "support/program_run.hpp"

namespace tandem {
namespace {

using testing::BackgroundRun;
using testing::ScratchDir;

// Eight resonances with K2 below 2 (1000 samples per resonant cycle), so that a run
// computes in a few hundredths of a second.
const char* const kAnswers[] = {"1 1\n",    "1 0.5\n",    "1.5 1\n",  "1.5 1.5\n",
                                "1.25 1\n", "1.75 1.5\n", "1 0.75\n", "1.9 1.1\n"};
constexpr int kRuns = 8;
constexpr int kRounds = 20;

struct Outcome {
  std::string block;  // what the run appends to resonance.dat
  std::string table;  // rsigma.dat
};

// Takes the blocks off the front of `catalogue` one by one; true when it is exactly the
// eight blocks, each once, in any order.
bool whole_blocks_each_once(std::string catalogue, const std::vector<Outcome>& alone) {
  std::vector<bool> seen(alone.size(), false);
  while (!catalogue.empty()) {
    bool found = false;
    for (std::size_t i = 0; i < alone.size() && !found; ++i) {
      if (!seen[i] && catalogue.starts_with(alone[i].block)) {
        seen[i] = found = true;
        catalogue.erase(0, alone[i].block.size());
      }
    }
    if (!found) {
      return false;
    }
  }
  return std::find(seen.begin(), seen.end(), false) == seen.end();
}

TEST(ConcurrentRuns, EachAppendsOneWholeBlockAndTheTableIsOneRunsOwn) {
  std::vector<Outcome> alone;
  for (const char* answer : kAnswers) {
    ScratchDir dir;
    dir.write("tandem.inp", testing::hilda_input);
    ASSERT_EQ(dir.run(answer).status, 0) << answer;
    alone.push_back({dir.read("resonance.dat").value_or(""), dir.read("rsigma.dat").value_or("")});
  }
  const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  for (int round = 0; round < kRounds; ++round) {
    ScratchDir dir;
    dir.write("tandem.inp", testing::hilda_input);
    std::vector<std::unique_ptr<BackgroundRun>> runs;
    for (const char* answer : kAnswers) {
      runs.push_back(std::make_unique<BackgroundRun>(dir, answer, sink));
    }
    for (int i = 0; i < kRuns; ++i) {
      const auto r = runs[i]->wait();
      EXPECT_EQ(r.status, 0) << "round " << round << ", " << kAnswers[i] << r.err;
      EXPECT_EQ(r.err, "") << "round " << round;
    }
    const std::string catalogue = dir.read("resonance.dat").value_or("");
    ASSERT_TRUE(whole_blocks_each_once(catalogue, alone))
        << "round " << round << ": the catalogue is not the eight blocks, whole:\n"
        << catalogue;
    const std::string table = dir.read("rsigma.dat").value_or("");
    bool one_runs_table = false;
    for (const Outcome& o : alone) {
      one_runs_table = one_runs_table || table == o.table;
    }
    ASSERT_TRUE(one_runs_table) << "round " << round << ": rsigma.dat mixes tables";
  }
  ::close(sink);
}

}  // namespace
}  // namespace tandem
