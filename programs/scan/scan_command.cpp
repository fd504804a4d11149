#include "scan/scan_command.hpp"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <new>

#include "common/held_signals.hpp"
#include "common/input.hpp"
#include "common/output_file.hpp"
#include "scan/curves.hpp"
#include "scan/part.hpp"
#include "scan/plan.hpp"
#include "scan/progress.hpp"
#include "scan/rows.hpp"
#include "scan/scheduler.hpp"
#include "scan/stop_signals.hpp"
#include "scan/zones.hpp"
#include "tandem/solve.hpp"
#include "tandem/version.hpp"

namespace tandem::scan {
namespace {

namespace fs = std::filesystem;

constexpr const char* program = "tandem-scan";
constexpr int exit_interrupted = 1;
constexpr int exit_failure = 2;

int fail(const std::string& why) {
  std::cerr << program << ": " << why << std::endl;
  return exit_failure;
}

// The catalogue rows of one process, written in index order as they become ready.
class RowWriter {
 public:
  // before_write: called before rows go out (the progress line is cleared for them).
  RowWriter(common::OutputFile& out, std::size_t jobs, std::function<void()> before_write)
      : out_(out), lines_(jobs), before_write_(std::move(before_write)) {}
  void add(std::size_t job, std::string line) {
    lines_[job] = std::move(line);
    if (next_ < lines_.size() && lines_[next_]) {
      before_write_();
    }
    while (next_ < lines_.size() && lines_[next_]) {
      out_.write(*lines_[next_]);
      lines_[next_].reset();
      ++next_;
      ++written_;
    }
  }
  // After an interrupt: the rows finished after a gap, still in index order.
  std::size_t write_the_rest() {
    for (std::size_t i = next_; i < lines_.size(); ++i) {
      if (lines_[i]) {
        out_.write(*lines_[i]);
        ++written_;
      }
    }
    return written_;
  }

 private:
  common::OutputFile& out_;
  std::vector<std::optional<std::string>> lines_;
  std::function<void()> before_write_;
  std::size_t next_ = 0;
  std::size_t written_ = 0;
};

class ProgressLine {
 public:
  ProgressLine(bool shown, std::size_t total, double total_cost)
      : shown_(shown), start_(std::chrono::steady_clock::now()) {
    state_.total = total;
    state_.total_cost = total_cost;
  }
  void done(double cost) {
    ++state_.done;
    state_.done_cost += cost;
    show(true);
  }
  void show(bool now) {
    const auto t = std::chrono::steady_clock::now();
    if (!shown_ || (!now && t - last_ < std::chrono::milliseconds(500))) {
      return;
    }
    last_ = t;
    state_.elapsed = t - start_;
    std::cerr << "\r" << program << ": " << progress_text(state_) << "\033[K" << std::flush;
  }
  void clear() {
    if (shown_) {
      std::cerr << "\r\033[K" << std::flush;
    }
  }

 private:
  bool shown_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_{};
  ProgressState state_;
};

std::string list_line(const PlannedResonance& p, std::size_t index, std::size_t total,
                      Placement placement) {
  return std::to_string(index) + "/" + std::to_string(total) + " " + resonance_text(p.resonance) +
         " order " + std::to_string(p.resonance.k2 - p.resonance.k1) +
         (placement == Placement::planet1 ? " a1_au " : " a2_au ") + common::real_text(p.placed_a) +
         "\n";
}

// The system's reason in a failure of the record layer: its report opens with
// "<operation>: <reason>" and goes on with lines naming the unit and its (scratch) file.
std::string first_reason(const std::string& report) {
  const std::string first = report.substr(0, report.find('\n'));
  const auto colon = first.rfind(": ");
  return colon == std::string::npos ? first : first.substr(colon + 2);
}

// How the scan ends early: the rows finished are written, kept under the partial name
// (or already out, when written through), said in one line, and the program ends at once.
[[noreturn]] void end_early(const std::string& why, RowWriter& rows, common::OutputFile& out,
                            std::size_t jobs, int status) {
  const std::size_t kept = rows.write_the_rest();
  const fs::path partial = out.keep_partial();
  std::cerr << program << ": " << why << "; " << kept << " of " << jobs << " rows finished"
            << (partial.empty() ? std::string(" were written") : " are kept in " + partial.string())
            << std::endl;
  std::_Exit(status);
}

}  // namespace

int scan_command(const ScanSettings& s) {
  const auto input = common::load_input(s.input, program, std::cerr);
  if (!input) {
    return exit_failure;
  }
  const Placement placement = s.request.placement;
  const double a1_file = input->system.planet1.a;
  if (placement == Placement::planet2 && !(std::isfinite(a1_file) && a1_file > 0)) {
    return fail(s.input.string() +
                ": with --place planet2 planet 1 keeps the semi-major axis of the file, which "
                "must be positive, but it is " +
                common::real_text(a1_file));
  }
  std::vector<PlannedResonance> plan;
  try {
    plan = plan_scan(input->system, s.request);
  } catch (const InvalidInput& e) {
    return fail(s.input.string() + ": " + e.what());
  }
  const std::size_t total = plan.size();
  const Shard shard = s.shard.value_or(Shard{});
  std::vector<PlannedResonance> jobs;
  std::vector<int> indices;  // 1-based, in the whole scan
  for (std::size_t i = 0; i < total; ++i) {
    if (static_cast<int>(i % static_cast<std::size_t>(shard.count)) == shard.index - 1) {
      jobs.push_back(plan[i]);
      indices.push_back(static_cast<int>(i + 1));
    }
  }
  if (total == 0) {
    std::cerr << program << ": no resonance lies in the window" << std::endl;
  }

  try {
    if (!s.list_only) {
      // Before the temporary exists, so that no signal can leave it behind.
      watch_stop_signals();
    }
    common::OutputFile out(s.output, {s.input});
    if (s.list_only) {
      for (std::size_t j = 0; j < jobs.size(); ++j) {
        out.write(list_line(jobs[j], static_cast<std::size_t>(indices[j]), total, placement));
      }
      out.commit();
      return 0;
    }
    if (!s.curves.empty()) {
      fs::create_directories(s.curves);
    }
    if (s.shard) {
      // What decides the rows, as read: the file is not read again (it may have been a
      // pipe), and the line stays small however long the file.
      ScanIdentity id{tandem::version, s.format, placement, input->name,
                      input->system,   {},       s.verify};
      for (const PlannedResonance& p : plan) {
        id.resonances.push_back(p.resonance);
      }
      out.write(part_line(id, *s.shard));
    }
    const common::Catalogue catalogue(s.format, row_columns(s.verify.has_value()));
    out.write(catalogue.header());

    double total_cost = 0;
    for (const PlannedResonance& p : jobs) {
      total_cost += p.resonance.k2;
    }
    ProgressLine progress(s.progress, jobs.size(), total_cost);
    // Rows written through (to standard output, or a device that may be the terminal) must
    // not follow the progress line on a shared terminal.
    RowWriter rows(out, jobs.size(), [&] {
      if (out.written_through()) {
        progress.clear();
      }
    });
    ScanCallbacks callbacks;
    callbacks.finished = [&](std::size_t job, Solved&& solved) {
      const RowPlace place{indices[job], static_cast<int>(total), placement};
      std::vector<common::Cell> cells = row_cells(place, input->name, jobs[job], solved.result);
      if (s.verify) {
        cells.push_back(verify_cell(solved.verifications));
      }
      cells.push_back(zones_cell(solved.result));
      rows.add(job, catalogue.line(cells));
      if (!s.curves.empty()) {
        // A curve that cannot be written ends the scan as an interrupt does, with the
        // rows finished (this one among them) kept.
        const fs::path file = curve_file(s.curves, jobs[job].resonance);
        std::string why;
        try {
          write_curve(s.curves, jobs[job].resonance, solved.result);
        } catch (const OutputError& e) {
          why = first_reason(e.what());
        } catch (const fs::filesystem_error& e) {
          why = e.code().message();
        }
        if (!why.empty()) {
          progress.clear();
          end_early(file.string() + ": cannot write the curve: " + why, rows, out, jobs.size(),
                    exit_failure);
        }
      }
      progress.done(jobs[job].resonance.k2);
    };
    callbacks.go_on = [&] {
      if (stop_requested()) {
        // The resonances being computed are dropped rather than waited for: a 50:49 takes
        // seconds on one thread, and Ctrl-C should answer at once.
        progress.clear();
        end_early("interrupted", rows, out, jobs.size(), exit_interrupted);
      }
      progress.show(false);
      return true;
    };
    // More threads than processors only take turns on them.
    const unsigned processors = available_processors();
    const unsigned threads = s.threads == 0 ? processors : std::min(s.threads, processors);
    run_scan(jobs, {threads, Sharing::resonances, std::chrono::milliseconds(100), s.verify},
             callbacks);
    progress.clear();
    out.commit();
  } catch (const common::OutputFailure& e) {
    return fail(e.what());
  } catch (const fs::filesystem_error& e) {
    return fail(e.what());
  } catch (const std::bad_alloc&) {
    return fail("the scan ran out of memory");
  } catch (const std::exception& e) {  // out of threads, mostly
    return fail(std::string("the scan failed: ") + e.what());
  }
  return 0;
}

int merge_command(const std::vector<fs::path>& parts, const fs::path& output) {
  try {
    const std::string catalogue = merge_parts(parts);
    // While the catalogue is written under its temporary name, a stop signal waits: it
    // ends the program (as it would have before) once the file is whole or removed.
    common::HeldStopSignals held;
    common::OutputFile out(output, parts);
    if (out.written_through()) {
      held.release();  // a pipe may block: stay stoppable
    }
    out.write(catalogue);
    out.commit();
  } catch (const MergeRefused& e) {
    return fail(std::string("merge refused: ") + e.what());
  } catch (const common::OutputFailure& e) {
    return fail(e.what());
  }
  return 0;
}

}  // namespace tandem::scan
