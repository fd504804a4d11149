// Many bodies at once, whole bodies per thread.

#include <atomic>
#include <cmath>
#include <thread>

#include "tandem/problem.hpp"
#include "tandem/solve.hpp"
#include "tandem/survey.hpp"

namespace tandem {

std::size_t best_candidate(const std::vector<SurveyRow>& rows) {
  std::size_t best = rows.size();
  double best_depth = 0;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (rows[k].model_regime == Regime::circulation) {
      continue;
    }
    const double depth = std::fabs(rows[k].delta_a) / (rows[k].width / 2);
    if (best == rows.size() || depth < best_depth) {
      best = k;
      best_depth = depth;
    }
  }
  return best;
}

std::vector<BodySurvey> survey_bodies(const std::vector<Body>& bodies, const Planets& planets,
                                      const SurveyOptions& options, unsigned threads) {
  std::vector<BodySurvey> out(bodies.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t k = next++; k < bodies.size(); k = next++) {
      try {
        out[k].rows = survey_body(bodies[k], planets, options);
      } catch (const BodiesError& e) {
        out[k].failure = e.what();
      } catch (const InvalidInput& e) {
        out[k].failure = e.what();
      }
    }
  };
  const unsigned n = threads == 0 ? available_processors() : threads;
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < n && t < bodies.size(); ++t) {
    pool.emplace_back(work);
  }
  work();
  for (std::thread& t : pool) {
    t.join();
  }
  return out;
}

}  // namespace tandem
