// The survey's N-body check: the bodies grouped by the planets that move with them and
// the length of their run, one check_bodies per group.

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

#include "nbody/bodies_check.hpp"
#include "orbit/constants.hpp"
#include "tandem/survey_nbody.hpp"

namespace tandem {
namespace {

constexpr double giant_mass = 1e-5;  // M_sun, as for the survey's default perturber
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

nbody::Elements radians_of(const Body& b) {
  const double peri = b.node + b.argperi;
  return {b.a, b.e, b.i * g2r, b.node * g2r, peri * g2r, (peri + b.mean_anomaly) * g2r};
}

std::size_t index_of(const std::vector<Body>& planets, const std::string& name) {
  for (std::size_t k = 0; k < planets.size(); ++k) {
    if (planets[k].name == name) {
      return k;
    }
  }
  throw BodiesError("no planet " + name + " among the planets");
}

struct Group {
  std::vector<bool> moving;
  double length = 0;
  bool operator<(const Group& o) const {
    return moving != o.moving ? moving < o.moving : length < o.length;
  }
};

// The epoch most of the bodies have (the earliest of equals).
double common_epoch(const std::vector<Body>& bodies, const std::vector<std::size_t>& members) {
  std::map<double, std::size_t> count;
  for (std::size_t b : members) {
    ++count[bodies[b].epoch_jd];
  }
  double best = count.begin()->first;
  std::size_t most = 0;
  for (const auto& [jd, n] : count) {
    if (n > most) {
      best = jd;
      most = n;
    }
  }
  return best;
}

BodyVerdict verdict_of(nbody::NbodyVerdict v) {
  switch (v) {
    case nbody::NbodyVerdict::resonant:
      return BodyVerdict::resonant;
    case nbody::NbodyVerdict::transient:
      return BodyVerdict::transient;
    case nbody::NbodyVerdict::not_resonant:
      break;
  }
  return BodyVerdict::not_resonant;
}

}  // namespace

double default_nbody_length(const std::string& perturber, SurveySide side) {
  return perturber == "Jupiter" && side == SurveySide::inside ? 10'000 : 100'000;
}

std::vector<std::vector<NbodyColumns>> check_survey(const std::vector<Body>& bodies,
                                                    const std::vector<BodySurvey>& surveyed,
                                                    const Planets& planets,
                                                    const SurveyOptions& survey,
                                                    const NbodyOptions& o, unsigned threads) {
  if ((o.length_years && !(*o.length_years > 0 && *o.length_years <= max_nbody_length_years)) ||
      o.step_fraction < 1 || !(o.encounter_hill >= 0)) {
    throw std::invalid_argument(
        "the length must be above 0 and at most 1e10 years, the step fraction positive");
  }
  const std::vector<Body>& names = planets.planets;
  std::vector<bool> listed(names.size(), false);
  for (const std::string& n : o.planets) {
    listed[index_of(names, n)] = true;
  }

  std::map<Group, std::vector<std::size_t>> groups;
  for (std::size_t b = 0; b < bodies.size(); ++b) {
    const std::vector<SurveyRow>& rows = surveyed[b].rows;
    if (rows.empty()) {
      continue;
    }
    const std::size_t p = index_of(names, rows.front().perturber);
    Group g;
    g.moving.assign(names.size(), false);
    for (std::size_t k = 0; k < names.size(); ++k) {
      g.moving[k] =
          (o.integrate == IntegratedPlanets::giants && names[k].mass.value_or(0.0) > giant_mass) ||
          (o.integrate == IntegratedPlanets::list && listed[k]);
    }
    g.moving[p] = true;  // the perturber always moves: its phi is measured against it
    g.length =
        o.length_years.value_or(default_nbody_length(rows.front().perturber, rows.front().side));
    groups[g].push_back(b);
  }

  std::vector<std::vector<NbodyColumns>> out(bodies.size());
  for (const auto& [g, members] : groups) {
    const double epoch = common_epoch(bodies, members);
    nbody::CheckSetup s;
    s.star_mass = planets.star_mass;
    s.epoch_jd = epoch;
    const std::vector<Body> at = planets_at(planets, epoch);
    for (std::size_t k = 0; k < at.size(); ++k) {
      s.planets.push_back({at[k].mass.value_or(0.0), radians_of(at[k]), g.moving[k]});
    }
    s.planets_at = [&planets](double jd) {
      std::vector<nbody::Elements> el;
      for (const Body& p : planets_at(planets, jd)) {
        el.push_back(radians_of(p));
      }
      return el;
    };
    s.length_years = g.length;
    s.step_fraction = o.step_fraction;
    s.encounter_hill = o.encounter_hill;
    s.barycentric = survey.elements == ElementsKind::barycentric;
    s.mean_elements = planets.standard_table;
    s.threads = static_cast<int>(std::max(1u, threads));

    std::vector<nbody::CheckBody> cb;
    for (std::size_t b : members) {
      nbody::CheckBody c{radians_of(bodies[b]), bodies[b].epoch_jd, {}};
      for (const SurveyRow& r : surveyed[b].rows) {
        c.watches.push_back({static_cast<int>(index_of(names, r.perturber)), r.k2, r.k1,
                             r.side == SurveySide::inside, nan});
      }
      cb.push_back(std::move(c));
    }
    const auto results = nbody::check_bodies(s, cb);
    for (std::size_t m = 0; m < members.size(); ++m) {
      for (const nbody::WatchResult& r : results[m]) {
        const nbody::LibrationDecision& d = r.decision;
        out[members[m]].push_back({r.length_years, d.fraction, d.centre_deg, d.amplitude_deg,
                                   d.period_years, r.stop, verdict_of(d.verdict),
                                   d.low_eccentricity, d.near_separatrix});
      }
    }
  }
  return out;
}

std::size_t best_checked_row(const std::vector<SurveyRow>& rows,
                             const std::vector<NbodyColumns>& checked) {
  std::size_t best = rows.size();
  for (std::size_t k = 0; k < rows.size() && k < checked.size(); ++k) {
    const NbodyColumns& c = checked[k];
    if (c.verdict == BodyVerdict::resonant &&
        (best == rows.size() || c.fraction > checked[best].fraction ||
         (c.fraction == checked[best].fraction && c.amplitude_deg < checked[best].amplitude_deg))) {
      best = k;
    }
  }
  return best < rows.size() ? best : best_candidate(rows);
}

std::string_view name(BodyVerdict verdict) {
  switch (verdict) {
    case BodyVerdict::resonant:
      return "resonant";
    case BodyVerdict::transient:
      return "transient";
    case BodyVerdict::not_resonant:
      break;
  }
  return "not resonant";
}

}  // namespace tandem
