// The whole run. The library's way from the elements to the analysis (every processor,
// no I/O): solve() itself, and its steps one by one with planet 1's states found the plain
// way or reused, side by side; and the program itself in a scratch directory, with its
// start-up, dialogue and both output files, beside a baseline build of it if one is named.

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "api/convert.hpp"
#include "bench_systems.hpp"
#include "orbit/orbit_setup.hpp"
#include "resonance/analysis.hpp"
#include "resonance/rsigma.hpp"
#include "tandem/solve.hpp"

namespace tandem::bench {
namespace {

void BM_RunLibrary(benchmark::State& state, BenchCase (*make)()) {
  const BenchCase c = make();
  const System system = api::system_of(c.system);
  for (auto _ : state) {
    const Result result = solve(system, c.resonance);
    benchmark::DoNotOptimize(result.analysis.width_a1);
  }
}
BENCHMARK_CAPTURE(BM_RunLibrary, 3_2, hilda_3_2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RunLibrary, 7_2, kirkwood_7_2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RunLibrary, 50_49_e010, pair_50_49_e010)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RunLibrary, 50_49_e060, pair_50_49_e060)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// solve()'s steps with the choice of method it does not offer: method 0 is the plain
// evaluation of R(sigma), 1 the one solve() uses.
void BM_RunSteps(benchmark::State& state, BenchCase (*make)()) {
  const BenchCase c = make();
  const System system = api::system_of(c.system);
  const Planet1Method method = state.range(0) == 0 ? plain_planet1 : Planet1Method{};
  for (auto _ : state) {
    if (validate(system, c.resonance)) {
      state.SkipWithError("invalid case");
      break;
    }
    const PlanetarySystem elements = api::elements_of(system);
    const OrbitSetup orbits = setup_orbits(elements, c.resonance);
    const RCurve curve =
        evaluate_rsigma(elements, c.resonance, orbits, available_processors(), method);
    const CurveAnalysis analysis = analyse_rsigma(curve, elements, c.resonance, orbits);
    const Result result = api::result_of(system, c.resonance, orbits, curve, analysis);
    benchmark::DoNotOptimize(result.analysis.width_a1);
  }
}
void plain_and_reused(benchmark::internal::Benchmark* b) {
  b->ArgName("method")->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);
}
BENCHMARK_CAPTURE(BM_RunSteps, 3_2, hilda_3_2)->Apply(plain_and_reused);
BENCHMARK_CAPTURE(BM_RunSteps, 7_2, kirkwood_7_2)->Apply(plain_and_reused);
BENCHMARK_CAPTURE(BM_RunSteps, 50_49_e010, pair_50_49_e010)->Apply(plain_and_reused);
BENCHMARK_CAPTURE(BM_RunSteps, 50_49_e060, pair_50_49_e060)->Apply(plain_and_reused);

void write_text(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file) << text;
}

// program 1 is this build's; program 0, where TANDEM_BENCH_BASELINE names another build
// of the program (today's main, say), that one, so that the two share the machine's load.
void BM_ProgramRun(benchmark::State& state, BenchCase (*make)()) {
  const BenchCase c = make();
  const char* baseline = std::getenv("TANDEM_BENCH_BASELINE");
  const std::string program = state.range(0) == 1 ? TANDEM_EXE : baseline ? baseline : "";
  if (program.empty()) {
    state.SkipWithError("TANDEM_BENCH_BASELINE is not set");
    return;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "tandem-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("no scratch directory");
    return;
  }
  const std::filesystem::path dir = pattern;
  write_text(dir / "tandem.inp", input_file_text(c));
  write_text(dir / "answer.txt", console_answer(c));
  const std::string command =
      "cd '" + dir.string() + "' && '" + program + "' < answer.txt > console.txt";
  for (auto _ : state) {
    std::filesystem::remove(dir / "resonance.dat");  // the program appends to it
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("the program failed");
      break;
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}
void this_and_baseline(benchmark::internal::Benchmark* b) {
  b->ArgName("program");
  if (std::getenv("TANDEM_BENCH_BASELINE") != nullptr) {
    b->Arg(0);
  }
  b->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);
}
BENCHMARK_CAPTURE(BM_ProgramRun, 3_2, hilda_3_2)->Apply(this_and_baseline);
BENCHMARK_CAPTURE(BM_ProgramRun, 7_2, kirkwood_7_2)->Apply(this_and_baseline);
BENCHMARK_CAPTURE(BM_ProgramRun, 50_49_e010, pair_50_49_e010)->Apply(this_and_baseline);
BENCHMARK_CAPTURE(BM_ProgramRun, 50_49_e060, pair_50_49_e060)->Apply(this_and_baseline);

}  // namespace
}  // namespace tandem::bench
