#pragma once
// The Wisdom-Holman map in democratic heliocentric coordinates: a star, planets with
// mass, and massless test particles that share the planets' steps.
//
// The Hamiltonian is split into the Kepler motion of each body about the star, the
// planets' mutual attraction (with their attraction on the particles), and the star's
// own motion |sum p_j|^2/(2 M) (Duncan, Levison & Lee 1998, AJ 116, 2067). One step of
// length dt: a half kick by the interaction, a half jump of every position by
// dt/2*sum(m_j*v_j)/M, the Kepler drift over dt (kepler_drift.hpp), a half jump and a
// half kick; the half kicks of consecutive steps are done as one, so the state is
// synchronised only at the end of advance(). A particle feels the planets and moves with
// the star's jump, and acts on nothing.
//
// Given: gm_star, the star's gravitational parameter (au^3/day^2: k^2 times its mass in
// M_sun); the planets' parameters and states; the particles' states; states are
// positions and velocities relative to the star (au, au/day); dt (days); encounter_hill,
// the distance (in Hill radii r_H = r_j*(m_j/(3M))^(1/3)) below which a particle is said
// to meet a planet.
// Held: heliocentric positions and barycentric velocities (the velocities of the
// canonical momenta); planets() and particles() return them so.
//
// A particle found, at a kick, within encounter_hill Hill radii of a planet, or whose
// orbit is not bound at a drift, stops: it goes back to the state it had when advance()
// was called (the last synchronised one a caller saw) and is not moved again, so that the map's
// large errors close to a planet never reach what was measured before. A planet that becomes
// unbound ends the run (stopped() is then true and nothing moves any more).

#include <vector>

#include "verify/osculating.hpp"

namespace tandem::nbody {

enum class ParticleStop : unsigned char { running, close_encounter, escape };

struct WhPlanet {
  double gm = 0;
  KeplerState state;
};

struct WhParticle {
  KeplerState state;
  ParticleStop stop = ParticleStop::running;
  long long stopped_at = -1;  // the steps made when it stopped, counted to the kept state
};

class WisdomHolman {
 public:
  WisdomHolman(double gm_star, std::vector<WhPlanet> planets,
               const std::vector<KeplerState>& particles, double dt, double encounter_hill);

  void advance(long long steps);

  double gm_star() const { return gm_star_; }
  double dt() const { return dt_; }
  long long steps() const { return steps_; }
  bool stopped() const { return planet_escaped_; }
  const std::vector<WhPlanet>& planets() const { return planets_; }
  const std::vector<WhParticle>& particles() const { return particles_; }

  // The velocity about the star of a body whose barycentric velocity is v_bary.
  Vec3 heliocentric_velocity(const Vec3& v_bary) const;
  // The planets' Hamiltonian (kinetic, Kepler, mutual and the star's term), in units of
  // k^2 * (M_sun * au^2/day^2).
  double energy() const;

 private:
  Vec3 planet_momentum() const;  // sum gm_j*v_j
  void kick(double h);
  void jump(double h);
  void drift(double h);

  double gm_star_;
  std::vector<WhPlanet> planets_;
  std::vector<WhParticle> particles_;
  std::vector<KeplerState> last_whole_;  // particles when advance() was called
  long long start_steps_ = 0;
  double dt_;
  double encounter_hill_;
  long long steps_ = 0;
  bool planet_escaped_ = false;
};

}  // namespace tandem::nbody
