#include "nbody/wisdom_holman.hpp"

#include <cmath>

#include "nbody/kepler_drift.hpp"
#include "nbody/vector.hpp"

namespace tandem::nbody {

WisdomHolman::WisdomHolman(double gm_star, std::vector<WhPlanet> planets,
                           const std::vector<KeplerState>& particles, double dt,
                           double encounter_hill)
    : gm_star_(gm_star), planets_(std::move(planets)), dt_(dt), encounter_hill_(encounter_hill) {
  // Velocities relative to the star become barycentric: minus the barycentre's velocity
  // sum(m_j*v_j)/(M + sum m_j), the particles adding no mass.
  double total = gm_star_;
  Vec3 momentum;
  for (const WhPlanet& p : planets_) {
    total += p.gm;
    momentum = momentum + p.state.vel * p.gm;
  }
  const Vec3 vcm = momentum * (1 / total);
  for (WhPlanet& p : planets_) {
    p.state.vel = p.state.vel - vcm;
  }
  particles_.reserve(particles.size());
  for (const KeplerState& s : particles) {
    particles_.push_back({{s.pos, s.vel - vcm}, ParticleStop::running, -1});
  }
}

Vec3 WisdomHolman::planet_momentum() const {
  Vec3 p;
  for (const WhPlanet& q : planets_) {
    p = p + q.state.vel * q.gm;
  }
  return p;
}

Vec3 WisdomHolman::heliocentric_velocity(const Vec3& v_bary) const {
  return v_bary + planet_momentum() * (1 / gm_star_);
}

void WisdomHolman::kick(double h) {
  const std::size_t np = planets_.size();
  for (std::size_t i = 0; i < np; ++i) {
    for (std::size_t j = i + 1; j < np; ++j) {
      const Vec3 d = planets_[j].state.pos - planets_[i].state.pos;
      const double r2 = dot(d, d);
      const double inv3 = 1 / (r2 * std::sqrt(r2));
      planets_[i].state.vel = planets_[i].state.vel + d * (planets_[j].gm * inv3 * h);
      planets_[j].state.vel = planets_[j].state.vel - d * (planets_[i].gm * inv3 * h);
    }
  }
  // The squared encounter distance of each planet: (f*r_j)^2*(m_j/(3M))^(2/3).
  std::vector<double> close2(np);
  for (std::size_t j = 0; j < np; ++j) {
    const double rh = encounter_hill_ * std::cbrt(planets_[j].gm / (3 * gm_star_));
    close2[j] = rh * rh * dot(planets_[j].state.pos, planets_[j].state.pos);
  }
  for (std::size_t k = 0; k < particles_.size(); ++k) {
    WhParticle& q = particles_[k];
    if (q.stop != ParticleStop::running) {
      continue;
    }
    Vec3 acc;
    for (std::size_t j = 0; j < np; ++j) {
      const Vec3 d = planets_[j].state.pos - q.state.pos;
      const double r2 = dot(d, d);
      if (r2 < close2[j]) {
        q.stop = ParticleStop::close_encounter;
        break;
      }
      acc = acc + d * (planets_[j].gm / (r2 * std::sqrt(r2)));
    }
    if (q.stop == ParticleStop::running) {
      q.state.vel = q.state.vel + acc * h;
    } else {
      q.state = last_whole_[k];
      q.stopped_at = start_steps_;
    }
  }
}

void WisdomHolman::jump(double h) {
  const Vec3 shift = planet_momentum() * (h / gm_star_);
  for (WhPlanet& p : planets_) {
    p.state.pos = p.state.pos + shift;
  }
  for (WhParticle& q : particles_) {
    if (q.stop == ParticleStop::running) {
      q.state.pos = q.state.pos + shift;
    }
  }
}

void WisdomHolman::drift(double h) {
  for (WhPlanet& p : planets_) {
    if (!kepler_drift(p.state, gm_star_, h)) {
      planet_escaped_ = true;
    }
  }
  for (std::size_t k = 0; k < particles_.size(); ++k) {
    WhParticle& q = particles_[k];
    if (q.stop == ParticleStop::running && !kepler_drift(q.state, gm_star_, h)) {
      q.stop = ParticleStop::escape;
      q.state = last_whole_[k];
      q.stopped_at = start_steps_;
    }
  }
}

void WisdomHolman::advance(long long steps) {
  if (steps <= 0 || planet_escaped_) {
    return;
  }
  start_steps_ = steps_;
  last_whole_.resize(particles_.size());
  for (std::size_t k = 0; k < particles_.size(); ++k) {
    last_whole_[k] = particles_[k].state;
  }
  const double half = dt_ / 2;
  kick(half);
  for (long long s = 0; s < steps && !planet_escaped_; ++s) {
    jump(half);
    drift(dt_);
    jump(half);
    kick(s + 1 == steps ? half : dt_);
    ++steps_;
  }
}

double WisdomHolman::energy() const {
  double e = 0;
  Vec3 momentum;
  for (std::size_t i = 0; i < planets_.size(); ++i) {
    const WhPlanet& p = planets_[i];
    e += p.gm * dot(p.state.vel, p.state.vel) / 2 - gm_star_ * p.gm / norm(p.state.pos);
    for (std::size_t j = i + 1; j < planets_.size(); ++j) {
      e -= p.gm * planets_[j].gm / norm(planets_[j].state.pos - p.state.pos);
    }
    momentum = momentum + p.state.vel * p.gm;
  }
  return e + dot(momentum, momentum) / (2 * gm_star_);
}

}  // namespace tandem::nbody
