#include "run.hpp"

#include <unistd.h>

#include <string>

#include "api/input_check.hpp"
#include "banner.hpp"
#include "dialogue.hpp"
#include "input/input_file.hpp"
#include "report/critical_angle.hpp"
#include "report/summary.hpp"
#include "report/table.hpp"
#include "tandem/solve.hpp"
#include "textio/unit_numbers.hpp"

namespace tandem {

namespace {

using textio::unit_screen;

void compute_and_report(textio::RecordLayer& io, const RunOptions& options) {
  const auto [system, resonance] = run_front_end(io);
  // The front end has refused whatever solve would refuse.
  const Result result = solve(system, resonance, SolveOptions{options.threads});
  if (!result.analysis.detectable) {
    io.write_list(unit_screen, {"*** undetectable resonance ***"});
  }

  write_summary_head(io, result);
  write_table(io, result);
  io.write_list(unit_screen, {"        "});
  write_summary_tail(io, resonance);
}

// Standard error is written directly: the report must get out even when the record
// layer itself is what failed.
void write_error_text(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0)
      return;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

FrontEnd run_front_end(textio::RecordLayer& io) {
  write_banner(io);
  const System system = checked_system(read_input_file(io));
  const Resonance resonance = ask_resonance(io);
  write_critical_angle(io, unit_screen, resonance);
  io.write_list(unit_screen, {"   "});
  return {system, resonance};
}

int run(textio::RecordLayer& io, const RunOptions& options) {
  try {
    compute_and_report(io, options);
    return 0;
  } catch (const textio::FatalIoError& error) {
    write_error_text(options.error_fd, error.report());
  } catch (const InputError& error) {
    write_error_text(options.error_fd, std::string(error.what()) + "\n");
  } catch (const InvalidInput& error) {
    write_error_text(options.error_fd, std::string(error.what()) + "\n");
  }
  io.close_all();
  return 2;
}

}  // namespace tandem
