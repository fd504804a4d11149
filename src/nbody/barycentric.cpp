#include "nbody/barycentric.hpp"

#include "nbody/vector.hpp"
#include "orbit/constants.hpp"

namespace tandem::nbody {

Centre merged_centre(double star_mass, std::span<const MassiveBody> planets,
                     const std::vector<bool>& merged) {
  // The Sun sits at the origin of the heliocentric frame: only the planets add moments.
  double mass = star_mass;
  Vec3 moment;
  Vec3 momentum;
  for (std::size_t j = 0; j < planets.size(); ++j) {
    if (merged[j]) {
      mass += planets[j].mass;
      moment = moment + planets[j].state.pos * planets[j].mass;
      momentum = momentum + planets[j].state.vel * planets[j].mass;
    }
  }
  return {mass, {moment * (1 / mass), momentum * (1 / mass)}};
}

std::vector<bool> planets_inside(std::span<const double> planet_a,
                                 const std::vector<bool>& integrated, double reach) {
  std::vector<bool> out(planet_a.size());
  for (std::size_t j = 0; j < planet_a.size(); ++j) {
    out[j] = !integrated[j] && planet_a[j] < reach;
  }
  return out;
}

KeplerState about_centre(const Centre& centre, const KeplerState& heliocentric) {
  return {heliocentric.pos - centre.state.pos, heliocentric.vel - centre.state.vel};
}

std::vector<KeplerState> jacobi_states(const Centre& centre, std::span<const MeanOrbit> planets) {
  std::vector<KeplerState> out;
  double mass = centre.mass;
  Vec3 moment;  // about the centre, which stands at the origin
  Vec3 momentum;
  for (const MeanOrbit& p : planets) {
    const KeplerState rel = state_from_elements(p.elements, kg2 * (mass + p.mass));
    const KeplerState s{moment * (1 / mass) + rel.pos, momentum * (1 / mass) + rel.vel};
    mass += p.mass;
    moment = moment + s.pos * p.mass;
    momentum = momentum + s.vel * p.mass;
    out.push_back(s);
  }
  return out;
}

Elements elements_about_centre(const Elements& heliocentric, double star_mass, double body_mass,
                               const Centre& centre) {
  const KeplerState h = state_from_elements(heliocentric, kg2 * (star_mass + body_mass));
  return elements_from_state(about_centre(centre, h), kg2 * (centre.mass + body_mass));
}

}  // namespace tandem::nbody
