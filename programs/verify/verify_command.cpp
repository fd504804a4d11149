#include "verify_command.hpp"

#include <filesystem>
#include <iostream>
#include <new>
#include <stdexcept>

#include "common/held_signals.hpp"
#include "common/input.hpp"
#include "common/output_file.hpp"
#include "rows.hpp"
#include "series_file.hpp"
#include "table.hpp"
#include "tandem/phase_space.hpp"
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
                   const std::vector<Verification>& rows, const std::vector<double>& model) {
  if (!s.format) {
    return table_text({s.input.string() + ": " + name, s.resonance, s.options}, rows);
  }
  const common::Catalogue catalogue(*s.format, row_columns());
  std::string text = catalogue.header();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::vector<common::Cell> cells = row_cells(s.resonance, rows[i]);
    cells.push_back(common::real_cell(model[i]));
    text += catalogue.line(cells);
  }
  return text;
}

// The averaged model's period of the level curve through each start (sigma at exact
// resonance): the period at the run's amplitude, NaN where the model gives none.
std::vector<double> model_periods(const Result& result, const std::vector<Verification>& rows) {
  const PhaseSpace ps = phase_space(result);
  std::vector<double> out;
  for (const Verification& v : rows) {
    out.push_back(trajectory(ps, v.start_sigma_deg).period_years);
  }
  return out;
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
  std::vector<double> model;
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
    model = model_periods(result, rows);
  } catch (const InvalidInput& e) {
    return fail(s.input.string() + ": " + e.what());
  } catch (const std::invalid_argument& e) {
    return fail(e.what());
  } catch (const std::bad_alloc&) {
    return fail("out of memory (a shorter run, or fewer --periods, needs less)");
  }
  // The files are opened only now, so that an interrupt during the integration leaves no
  // temporary behind, and a stop signal while they are written waits until each is whole.
  // The series first: the report is the last word of the run.
  try {
    if (!s.series.empty()) {
      common::HeldStopSignals held;
      common::OutputFile series(s.series, {s.input});
      if (series.written_through()) {
        held.release();
      }
      series.write(series_text(s.resonance, rows));
      series.commit();
    }
    common::HeldStopSignals held;
    common::OutputFile out(s.output, {s.input});
    if (out.written_through()) {
      held.release();
    }
    out.write(report(s, input->name, rows, model));
    out.commit();
  } catch (const common::OutputFailure& e) {
    return fail(e.what());
  } catch (const std::bad_alloc&) {
    return fail("out of memory");
  }
  return 0;
}

}  // namespace tandem::verify_cli
