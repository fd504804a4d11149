#include "nbody/bodies_check.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <thread>

#include "nbody/barycentric.hpp"
#include "nbody/kepler_drift.hpp"
#include "nbody/vector.hpp"
#include "nbody/wisdom_holman.hpp"
#include "orbit/constants.hpp"
#include "verify/critical_angle.hpp"
#include "verify/cycle_smoother.hpp"

namespace tandem::nbody {
namespace {

constexpr double days_per_year = 365.25;
constexpr int kept_per_cycle = 8;

// The integration's star and planets, and where each planet of the setup went.
struct Frame {
  Centre centre;
  std::vector<WhPlanet> planets;
  std::vector<int> integrated_index;  // per planet of the setup, -1 when not integrated
  std::vector<bool> merged;           // per planet of the setup: carried by the star
  double dt = 0;                      // days
};

// The integrated planets' states about the centre from their mean elements (Jacobi
// orbits, in increasing a); indexed as the setup's planets, the others left empty.
std::vector<KeplerState> jacobi_placed(const CheckSetup& s, const Centre& centre) {
  std::vector<std::size_t> order;
  for (std::size_t j = 0; j < s.planets.size(); ++j) {
    if (s.planets[j].integrated) {
      order.push_back(j);
    }
  }
  std::stable_sort(order.begin(), order.end(), [&s](std::size_t x, std::size_t y) {
    return s.planets[x].heliocentric.a < s.planets[y].heliocentric.a;
  });
  std::vector<MeanOrbit> orbits;
  for (std::size_t j : order) {
    orbits.push_back({s.planets[j].mass, s.planets[j].heliocentric});
  }
  const std::vector<KeplerState> placed = jacobi_states(centre, orbits);
  std::vector<KeplerState> out(s.planets.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    out[order[k]] = placed[k];
  }
  return out;
}

Frame frame_of(const CheckSetup& s) {
  std::vector<MassiveBody> all;
  std::vector<double> a;
  std::vector<bool> integrated;
  std::vector<bool> merged;
  double reach = 0;
  double inner_a = 0;
  double inner_mass = 0;
  for (const CheckPlanet& p : s.planets) {
    all.push_back({p.mass, state_from_elements(p.heliocentric, kg2 * (s.star_mass + p.mass))});
    a.push_back(p.heliocentric.a);
    integrated.push_back(p.integrated);
    if (p.integrated) {
      reach = std::max(reach, p.heliocentric.a);
      if (inner_a == 0 || p.heliocentric.a < inner_a) {
        inner_a = p.heliocentric.a;
        inner_mass = p.mass;
      }
    }
  }
  Frame f;
  f.merged = planets_inside(a, integrated, reach);
  f.centre = s.barycentric ? merged_centre(s.star_mass, all, f.merged) : Centre{s.star_mass, {}};
  const std::vector<KeplerState> jacobi =
      s.barycentric && s.mean_elements ? jacobi_placed(s, f.centre) : std::vector<KeplerState>{};
  for (std::size_t j = 0; j < s.planets.size(); ++j) {
    if (s.planets[j].integrated) {
      f.integrated_index.push_back(static_cast<int>(f.planets.size()));
      f.planets.push_back({kg2 * s.planets[j].mass,
                           jacobi.empty() ? about_centre(f.centre, all[j].state) : jacobi[j]});
    } else {
      f.integrated_index.push_back(-1);
    }
  }
  const double period =
      twopi * std::sqrt(inner_a * inner_a * inner_a / (kg2 * (f.centre.mass + inner_mass)));
  f.dt = period / s.step_fraction;
  return f;
}

// One watched resonance of one body while the run goes.
struct Tracker {
  const Watch* watch;
  int planet;  // integrated index
  long long cycle_steps;
  long long stride;
  Unwrap unwrap{0};
  CycleSmoother smooth;
  std::vector<double> t;
  std::vector<double> phi;
};

double critical(const Watch& w, const Elements& body, const Elements& planet) {
  if (w.k2 == w.k1) {
    return wrap_pi(body.lambda - planet.lambda);
  }
  const double k2 = w.k2;
  const double k1 = w.k1;
  return w.inside ? wrap_pi(k2 * planet.lambda - k1 * body.lambda - (k2 - k1) * body.peri)
                  : wrap_pi(k2 * body.lambda - k1 * planet.lambda - (k2 - k1) * body.peri);
}

// The planets' elements as tandem-verify takes them: heliocentric position, canonical
// velocity (barycentric times (M + m)/M), parameter k^2*(M + m).
std::vector<Elements> planet_elements(const WisdomHolman& map) {
  std::vector<Elements> out;
  const double gs = map.gm_star();
  for (const WhPlanet& p : map.planets()) {
    out.push_back(elements_from_state({p.state.pos, p.state.vel * ((gs + p.gm) / gs)}, gs + p.gm));
  }
  return out;
}

// The centre at another epoch: the same planets merged, at their places then.
Centre centre_at(const CheckSetup& s, const Frame& f, double jd) {
  if (jd == s.epoch_jd || !s.planets_at) {
    return f.centre;
  }
  const std::vector<Elements> el = s.planets_at(jd);
  std::vector<MassiveBody> all;
  for (std::size_t j = 0; j < s.planets.size(); ++j) {
    const double m = s.planets[j].mass;
    all.push_back({m, state_from_elements(el[j], kg2 * (s.star_mass + m))});
  }
  return merged_centre(s.star_mass, all, f.merged);
}

// The body's start about the centre at the common epoch; false when its orbit, carried
// from another epoch, is not bound.
bool start_of(const CheckSetup& s, const Frame& f, const CheckBody& b, KeplerState& out) {
  const KeplerState h = state_from_elements(b.heliocentric, kg2 * s.star_mass);
  const double dt = s.epoch_jd - b.epoch_jd;
  if (dt == 0) {
    out = about_centre(f.centre, h);
    return true;
  }
  if (!s.barycentric) {
    out = h;
    return kepler_drift(out, kg2 * s.star_mass, dt);
  }
  const Centre c = centre_at(s, f, b.epoch_jd);
  out = about_centre(c, h);
  return kepler_drift(out, kg2 * c.mass, dt);
}

struct Chunk {
  std::size_t first = 0;
  std::size_t end = 0;
};

void run_chunk(const CheckSetup& s, const Frame& f, const std::vector<CheckBody>& bodies,
               Chunk chunk, std::vector<std::vector<WatchResult>>& out) {
  const double gs = kg2 * f.centre.mass;
  std::vector<KeplerState> starts;
  std::vector<double> start_e;
  for (std::size_t b = chunk.first; b < chunk.end; ++b) {
    KeplerState st;
    const bool bound = start_of(s, f, bodies[b], st);
    // An orbit that cannot be carried to the epoch starts beyond reach: it stops at the
    // first drift as an escape.
    starts.push_back(bound ? st : KeplerState{{1e9, 0, 0}, {1, 0, 0}});
    start_e.push_back(bound ? elements_from_state(st, gs).e : 1.0);
  }
  WisdomHolman map(gs, f.planets, starts, f.dt, s.encounter_hill);

  const std::vector<Elements> planets0 = planet_elements(map);
  std::vector<std::vector<Tracker>> trackers(starts.size());
  for (std::size_t k = 0; k < starts.size(); ++k) {
    for (const Watch& w : bodies[chunk.first + k].watches) {
      const int ip = f.integrated_index[static_cast<std::size_t>(w.planet)];
      const Elements& p = planets0[static_cast<std::size_t>(ip)];
      const double period = twopi * std::sqrt(p.a * p.a * p.a / (gs + f.planets[ip].gm));
      const int revolutions = w.k2 == w.k1 ? 1 : (w.inside ? w.k1 : w.k2);
      long long cycle = std::llround(revolutions * period / f.dt);
      cycle = std::max<long long>(2, cycle + cycle % 2);
      trackers[k].push_back({&w,
                             ip,
                             cycle,
                             std::max<long long>(1, cycle / kept_per_cycle),
                             Unwrap(0),
                             CycleSmoother(static_cast<int>(cycle)),
                             {},
                             {}});
    }
  }
  const long long total = std::llround(s.length_years * days_per_year / f.dt);
  std::vector<long long> followed(starts.size(), total);
  std::vector<StopReason> stop(starts.size(), StopReason::completed);
  std::vector<bool> running(starts.size(), true);

  const double years_per_step = f.dt / days_per_year;
  for (long long step = 0; step <= total; ++step) {
    if (step > 0) {
      map.advance(1);
    }
    const std::vector<Elements> planets = step == 0 ? planets0 : planet_elements(map);
    for (std::size_t k = 0; k < starts.size(); ++k) {
      if (!running[k]) {
        continue;
      }
      const WhParticle& q = map.particles()[k];
      const Elements el =
          q.stop == ParticleStop::running ? elements_from_state(q.state, gs) : Elements{};
      if (q.stop != ParticleStop::running || !std::isfinite(el.lambda)) {
        running[k] = false;
        stop[k] = q.stop == ParticleStop::close_encounter ? StopReason::close_encounter
                                                          : StopReason::escape;
        followed[k] = q.stop == ParticleStop::running ? step - 1 : q.stopped_at;
        continue;
      }
      for (Tracker& tr : trackers[k]) {
        const double angle = critical(*tr.watch, el, planets[static_cast<std::size_t>(tr.planet)]);
        if (step == 0) {
          tr.unwrap = Unwrap(angle);
        }
        tr.smooth.push(step == 0 ? angle : tr.unwrap.next(angle));
        const long long mid = step - tr.cycle_steps / 2;
        if (tr.smooth.full() && mid % tr.stride == 0) {
          tr.t.push_back(static_cast<double>(mid) * years_per_step);
          tr.phi.push_back(tr.smooth.mean() / g2r);
        }
      }
    }
  }

  for (std::size_t k = 0; k < starts.size(); ++k) {
    std::vector<WatchResult>& res = out[chunk.first + k];
    for (Tracker& tr : trackers[k]) {
      // The kept samples of a whole run: the multiples of the stride from half a cycle
      // after the start to half a cycle before the end.
      const long long half = tr.cycle_steps / 2;
      const long long first = (half + tr.stride - 1) / tr.stride * tr.stride;
      const long long last = (total - half) / tr.stride * tr.stride;
      const double span = static_cast<double>(last - first) * years_per_step;
      WatchResult r;
      r.decision = decide_libration(tr.t, tr.phi, span, tr.watch->expected_period_years, start_e[k],
                                    s.decision);
      r.stop = stop[k];
      r.length_years = static_cast<double>(std::max<long long>(followed[k], 0)) * years_per_step;
      res.push_back(r);
      std::vector<double>().swap(tr.t);
      std::vector<double>().swap(tr.phi);
    }
  }
}

}  // namespace

std::vector<std::vector<WatchResult>> check_bodies(const CheckSetup& s,
                                                   const std::vector<CheckBody>& bodies) {
  if (!(s.length_years > 0) || s.step_fraction < 1 || s.threads < 1 || !(s.encounter_hill >= 0)) {
    throw std::invalid_argument("length, step fraction and threads must be positive");
  }
  if (std::none_of(s.planets.begin(), s.planets.end(),
                   [](const CheckPlanet& p) { return p.integrated; })) {
    throw std::invalid_argument("no planet is integrated");
  }
  for (const CheckBody& b : bodies) {
    for (const Watch& w : b.watches) {
      if (w.planet < 0 || static_cast<std::size_t>(w.planet) >= s.planets.size() ||
          !s.planets[static_cast<std::size_t>(w.planet)].integrated || w.k1 < 1 || w.k2 < w.k1) {
        throw std::invalid_argument("a watched resonance names a planet that is not integrated");
      }
    }
  }
  const Frame f = frame_of(s);
  // The step count must be a whole number a long long holds (and a run one could wait for).
  if (!(s.length_years * days_per_year / f.dt <= 1e15)) {
    throw std::invalid_argument("the run is longer than 1e15 steps");
  }
  std::vector<std::vector<WatchResult>> out(bodies.size());
  const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(s.threads),
                                                    std::max<std::size_t>(1, bodies.size()));
  std::vector<std::thread> pool;
  const std::size_t per = (bodies.size() + threads - 1) / threads;
  for (std::size_t t = 0; t < threads; ++t) {
    const Chunk c{std::min(bodies.size(), t * per), std::min(bodies.size(), (t + 1) * per)};
    if (c.first < c.end) {
      pool.emplace_back([&, c] { run_chunk(s, f, bodies, c, out); });
    }
  }
  for (std::thread& th : pool) {
    th.join();
  }
  return out;
}

}  // namespace tandem::nbody
