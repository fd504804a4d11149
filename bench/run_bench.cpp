// The whole run. The library's entry point from the elements to the analysis, as the
// program takes it (every processor, no I/O), and the program itself in a scratch directory, with
// its start-up, dialogue and both output files.

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "api/convert.hpp"
#include "bench_systems.hpp"
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
BENCHMARK_CAPTURE(BM_RunLibrary, 50_49, pair_50_49)->UseRealTime()->Unit(benchmark::kMillisecond);

void write_text(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file) << text;
}

void BM_ProgramRun(benchmark::State& state, BenchCase (*make)()) {
  const BenchCase c = make();
  std::string pattern = (std::filesystem::temp_directory_path() / "tandem-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("no scratch directory");
    return;
  }
  const std::filesystem::path dir = pattern;
  write_text(dir / "tandem.inp", input_file_text(c));
  write_text(dir / "answer.txt", console_answer(c));
  const std::string command =
      "cd '" + dir.string() + "' && '" TANDEM_EXE "' < answer.txt > console.txt";
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
BENCHMARK_CAPTURE(BM_ProgramRun, 3_2, hilda_3_2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ProgramRun, 50_49, pair_50_49)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tandem::bench
