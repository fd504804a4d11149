#include "verify_command.hpp"

#include <filesystem>
#include <iostream>
#include <new>
#include <stdexcept>

#include "common/input.hpp"
#include "common/output_file.hpp"
#include "rows.hpp"
#include "series_file.hpp"
#include "table.hpp"
#include "tandem/solve.hpp"

namespace tandem::verify_cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* program = "tandem-verify";
constexpr int exit_failure = 2;

int fail(const std::string& why) {
  std::cerr << program << ": " << why << std::endl;
  return exit_failure;
}

std::string report(const VerifySettings& s, const std::string& name,
                   const std::vector<Verification>& rows) {
  if (!s.format) {
    return table_text({s.input.string() + ": " + name, s.resonance, s.options}, rows);
  }
  const common::Catalogue catalogue(*s.format, row_columns());
  std::string text = catalogue.header();
  for (const Verification& v : rows) {
    text += catalogue.line(row_cells(s.resonance, v));
  }
  return text;
}

}  // namespace

int verify_command(const VerifySettings& s) {
  const auto input = common::load_input(s.input, program, std::cerr);
  if (!input) {
    return exit_failure;
  }
  if (!s.series.empty() && !s.output.empty() &&
      fs::weakly_canonical(s.series) == fs::weakly_canonical(s.output)) {
    return fail(s.output.string() + ": named by both --output and --series");
  }
  std::vector<Verification> rows;
  VerifyOptions options = s.options;
  options.keep_series = !s.series.empty();
  try {
    const Result result = solve(input->system, s.resonance);
    if (s.sigmas.empty()) {
      rows = verify(result, options);
    }
    for (double sigma : s.sigmas) {
      rows.push_back(verify_at(result, sigma, options));
    }
  } catch (const InvalidInput& e) {
    return fail(s.input.string() + ": " + e.what());
  } catch (const std::invalid_argument& e) {
    return fail(e.what());
  } catch (const std::bad_alloc&) {
    return fail("out of memory (a shorter run, or fewer --periods, needs less)");
  }
  // The files are opened only now, so that an interrupt during the integration leaves no
  // temporary behind. The series first: the report is the last word of the run.
  try {
    if (!s.series.empty()) {
      common::OutputFile series(s.series, {s.input});
      series.write(series_text(s.resonance, rows));
      series.commit();
    }
    common::OutputFile out(s.output, {s.input});
    out.write(report(s, input->name, rows));
    out.commit();
  } catch (const common::OutputFailure& e) {
    return fail(e.what());
  } catch (const std::bad_alloc&) {
    return fail("out of memory");
  }
  return 0;
}

}  // namespace tandem::verify_cli
