#include "survey/survey_run.hpp"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "common/output_file.hpp"
#include "scan/progress.hpp"
#include "scan/stop_signals.hpp"
#include "survey/nbody_stage.hpp"
#include "survey/rows.hpp"
#include "tandem/solve.hpp"
#include "tandem/version.hpp"

namespace tandem::survey_program {
namespace {

constexpr const char* program = "tandem-survey";
constexpr int exit_interrupted = 1;
constexpr int exit_failure = 2;
constexpr std::size_t bodies_per_thread = 16;

int fail(const std::string& why) {
  std::cerr << program << ": " << why << std::endl;
  return exit_failure;
}

struct Job {
  std::size_t index = 0;  // among the bodies of this run
  std::size_t place = 0;  // 1-based, among the bodies of the file
  Body body;
};

struct Done {
  std::string text;                    // the body's catalogue lines
  std::optional<std::string> failure;  // why the body could not be surveyed
  std::size_t place = 0;
  std::optional<SurveyedBody> surveyed;  // with the N-body check: the lines come later
};

// The queue between the reading thread and the workers, and the finished bodies.
class Pipeline {
 public:
  void push(Job job) {
    {
      std::lock_guard lock(m_);
      queue_.push_back(std::move(job));
    }
    work_.notify_one();
  }
  void close() {
    {
      std::lock_guard lock(m_);
      closed_ = true;
    }
    work_.notify_all();
  }
  std::optional<Job> take() {
    std::unique_lock lock(m_);
    work_.wait(lock, [&] { return closed_ || !queue_.empty(); });
    if (queue_.empty()) {
      return std::nullopt;
    }
    Job j = std::move(queue_.front());
    queue_.pop_front();
    return j;
  }
  void finish(std::size_t index, Done done) {
    {
      std::lock_guard lock(m_);
      done_.emplace(index, std::move(done));
    }
    ready_.notify_one();
  }
  // The finished body `index`, waiting at most `tick` for it.
  std::optional<Done> collect(std::size_t index, std::chrono::milliseconds tick) {
    std::unique_lock lock(m_);
    ready_.wait_for(lock, tick, [&] { return done_.count(index) > 0; });
    const auto at = done_.find(index);
    if (at == done_.end()) {
      return std::nullopt;
    }
    Done d = std::move(at->second);
    done_.erase(at);
    return d;
  }
  // After an interrupt: the bodies finished after a gap, in order.
  std::vector<Done> the_rest() {
    std::lock_guard lock(m_);
    std::vector<Done> out;
    for (auto& [index, d] : done_) {
      out.push_back(std::move(d));
    }
    done_.clear();
    return out;
  }

 private:
  std::mutex m_;
  std::condition_variable work_;
  std::condition_variable ready_;
  std::deque<Job> queue_;
  std::map<std::size_t, Done> done_;
  bool closed_ = false;
};

Done survey_one(const Body& body, const Planets& planets, const SurveySettings& s,
                const common::Catalogue& catalogue) {
  Done d;
  try {
    std::vector<SurveyRow> rows = survey_body(body, planets, s.options);
    if (s.nbody) {
      d.surveyed = SurveyedBody{body, {std::move(rows), {}}};
    } else if (s.best) {
      d.text = catalogue.line(best_cells(body, rows));
    } else {
      for (const SurveyRow& r : rows) {
        d.text += catalogue.line(row_cells(r));
      }
    }
  } catch (const BodiesError& e) {
    d.failure = e.what();
  } catch (const InvalidInput& e) {
    d.failure = e.what();
  }
  return d;
}

class Progress {
 public:
  explicit Progress(bool shown) : shown_(shown), start_(std::chrono::steady_clock::now()) {}
  void show(std::size_t done, std::size_t read, bool all_read) {
    const auto t = std::chrono::steady_clock::now();
    if (!shown_ || t - last_ < std::chrono::milliseconds(500)) {
      return;
    }
    last_ = t;
    std::cerr << "\r" << program << ": " << done << (all_read ? "/" : " of ") << read
              << (all_read ? "" : "+") << " bodies, " << scan::clock_text(t - start_)
              << " elapsed\033[K" << std::flush;
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
};

std::string file_text(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// What decides the rows of a survey, for the parts of one to recognise each other.
SurveyIdentity identity_of(const SurveySettings& s) {
  const SurveyOptions& o = s.options;
  return {{"version", tandem::version},
          {"format", s.format == common::Format::csv ? "csv" : "jsonl"},
          {"bodies", file_fingerprint(s.bodies)},
          {"bodies_format", bodies_format_name(s.bodies_format)},
          {"planets", s.planets_file ? file_text(*s.planets_file) : std::string("standard")},
          {"star_mass", s.star_mass},
          {"perturber", o.perturber.value_or("")},
          {"order", {o.order_min, o.order_max}},
          {"max_k2", o.max_k2},
          {"window_au", o.window_au},
          {"body_mass", o.body_mass},
          {"elements", o.elements == ElementsKind::barycentric ? "barycentric" : "heliocentric"},
          {"best", s.best},
          {"nbody", s.nbody ? nbody_identity(s.nbody_options) : nlohmann::ordered_json()}};
}

}  // namespace

int merge_survey(const std::vector<std::filesystem::path>& parts,
                 const std::filesystem::path& output) {
  try {
    common::OutputFile out(output, parts);
    merge_survey_parts(parts, [&](const std::string& text) { out.write(text); });
    out.commit();
  } catch (const SurveyMergeRefused& e) {
    return fail(std::string("merge refused: ") + e.what());
  } catch (const common::OutputFailure& e) {
    return fail(e.what());
  }
  return 0;
}

int run_survey(const SurveySettings& s) {
  Planets planets = standard_planets();
  if (s.planets_file) {
    std::ifstream in(*s.planets_file);
    if (!in) {
      return fail("cannot open " + s.planets_file->string());
    }
    try {
      planets = read_planets(in, s.star_mass);
    } catch (const BodiesError& e) {
      return fail(s.planets_file->string() + ": " + e.what());
    }
  }
  if (s.options.perturber) {
    bool known = false;
    for (const Body& p : planets.planets) {
      known = known || p.name == *s.options.perturber;
    }
    if (!known) {
      return fail("--perturber " + *s.options.perturber + ": no such planet");
    }
  }
  for (const std::string& n : s.nbody_options.planets) {
    bool known = false;
    for (const Body& p : planets.planets) {
      known = known || p.name == n;
    }
    if (!known) {
      return fail("--integrate: no planet " + n + " among the planets");
    }
  }
  const bool from_stdin = s.bodies == "-";
  if (s.shard && from_stdin) {
    return fail("--shard needs a bodies file, not standard input");
  }
  std::ifstream file;
  if (!from_stdin) {
    file.open(s.bodies);
    if (!file) {
      return fail("cannot open " + s.bodies.string());
    }
  }
  std::istream& in = from_stdin ? std::cin : file;
  const std::string name = from_stdin ? "standard input" : s.bodies.string();

  try {
    BodyReader reader(in, s.bodies_format);
    std::vector<std::filesystem::path> reads;
    if (!from_stdin) {
      reads.push_back(s.bodies);
    }
    if (s.planets_file) {
      reads.push_back(*s.planets_file);
    }
    common::OutputFile out(s.output, reads);
    std::vector<std::string> columns = row_columns();
    if (s.nbody) {
      const std::vector<std::string> more = nbody_columns();
      columns.insert(columns.end(), more.begin(), more.end());
    }
    const common::Catalogue catalogue(s.format, columns);
    const PartShard shard = s.shard.value_or(PartShard{});
    if (s.shard) {
      out.write(part_first_line(identity_of(s), shard, s.format));
    }
    out.write(catalogue.header());

    // More threads than processors would only share them: at most one per processor.
    const unsigned threads =
        s.threads == 0 || s.threads > available_processors() ? available_processors() : s.threads;
    Pipeline pipe;
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
      workers.emplace_back([&] {
        while (auto job = pipe.take()) {
          Done d = survey_one(job->body, planets, s, catalogue);
          d.place = job->place;
          pipe.finish(job->index, std::move(d));
        }
      });
    }
    const auto stop_workers = [&] {
      pipe.close();
      for (std::thread& w : workers) {
        if (w.joinable()) {
          w.join();
        }
      }
    };
    struct JoinAtExit {
      const decltype(stop_workers)& stop;
      ~JoinAtExit() { stop(); }
    } join_at_exit{stop_workers};
    scan::watch_stop_signals();
    Progress progress(s.progress);
    std::size_t read = 0, written = 0, skipped = 0, failed = 0, seen = 0;
    bool all_read = false;
    const auto report = [&](const Done& d) {
      if (d.failure) {
        ++failed;
        std::cerr << program << ": " << name << ": body " << d.place << " left out: " << *d.failure
                  << std::endl;
      }
      if (s.shard) {
        out.write(part_body_line(d.place, s.format));
      }
      out.write(d.text);
    };
    // With the N-body check the finished bodies wait in a batch, written when it is full
    // and at the end, in the file's order.
    std::vector<Done> batch;
    std::size_t flushed = 0;
    const auto flush = [&] {
      std::vector<SurveyedBody> checked;
      for (const Done& d : batch) {
        if (d.surveyed) {
          checked.push_back(*d.surveyed);
        }
      }
      const std::vector<std::string> lines =
          nbody_lines(checked, planets, s.options, s.nbody_options, s.best, threads, catalogue);
      std::size_t k = 0;
      for (Done& d : batch) {
        if (d.surveyed) {
          d.text = lines[k++];
        }
        report(d);
      }
      flushed += batch.size();
      batch.clear();
    };
    const auto finished = [&](Done d) {
      if (!s.nbody) {
        report(d);
        return;
      }
      batch.push_back(std::move(d));
      if (batch.size() >= nbody_batch_bodies) {
        flush();
      }
    };
    while (!all_read || written < read) {
      while (!all_read && read - written < threads * bodies_per_thread) {
        BodyRow row = reader.next();
        if (row.end()) {
          all_read = true;
        } else if (row.skipped) {
          ++skipped;
          std::cerr << program << ": " << name << ":" << row.skipped->line << ": field "
                    << row.skipped->field << ": " << row.skipped->reason
                    << (s.strict ? "" : "; row left out") << std::endl;
          if (s.strict) {
            stop_workers();
            return exit_failure;
          }
        } else if (seen++ % static_cast<std::size_t>(shard.count) ==
                   static_cast<std::size_t>(shard.index - 1)) {
          pipe.push({read++, seen, std::move(*row.body)});
        }
      }
      if (written < read) {
        if (auto d = pipe.collect(written, std::chrono::milliseconds(100))) {
          finished(std::move(*d));
          ++written;
        }
      }
      if (scan::stop_requested()) {
        progress.clear();
        // Bodies waiting for their N-body check are not finished.
        std::size_t kept = s.nbody ? flushed : written;
        if (!s.shard && !s.nbody) {  // a part keeps only what follows its bodies in order
          for (const Done& d : pipe.the_rest()) {
            out.write(d.text);
            ++kept;
          }
        }
        const auto partial = out.keep_partial();
        std::cerr << program << ": interrupted; " << kept << " of " << read
                  << " bodies read were finished"
                  << (partial.empty() ? std::string(" and written")
                                      : " and are kept in " + partial.string())
                  << std::endl;
        std::_Exit(exit_interrupted);
      }
      progress.show(written, read, all_read);
    }
    if (!batch.empty()) {
      flush();
    }
    stop_workers();
    progress.clear();
    if (s.shard) {
      out.write(part_end_line(seen, s.format));
    }
    out.commit();
    if (skipped > 0 || failed > 0) {
      std::cerr << program << ": " << name << ": " << skipped << " row" << (skipped == 1 ? "" : "s")
                << " could not be read and " << failed << " bod" << (failed == 1 ? "y" : "ies")
                << " could not be surveyed; " << read - failed << " surveyed" << std::endl;
    }
  } catch (const BodiesError& e) {
    return fail(name + ": " + e.what());
  } catch (const common::OutputFailure& e) {
    return fail(e.what());
  } catch (const std::exception& e) {
    return fail(std::string("the survey failed: ") + e.what());
  }
  return 0;
}

}  // namespace tandem::survey_program
