#include "bodies/barycentric.hpp"

#include "bodies/angles.hpp"
#include "orbit/constants.hpp"
#include "verify/osculating.hpp"

namespace tandem::bodies {
namespace {

nbody::Elements radians_of(const Body& b) {
  const double peri = b.node + b.argperi;
  return {b.a, b.e, b.i * g2r, b.node * g2r, peri * g2r, (peri + b.mean_anomaly) * g2r};
}

nbody::KeplerState state_of(const Body& b, double mass, double star_mass) {
  return nbody::state_from_elements(radians_of(b), kg2 * (star_mass + mass));
}

}  // namespace

Recentred recentre(const Body& body, double body_mass, const std::vector<Body>& planets,
                   const std::vector<bool>& folded, double star_mass) {
  double m = star_mass;
  Vec3 mr{0, 0, 0};  // sum of mass times heliocentric position (the star's is zero)
  Vec3 mv{0, 0, 0};
  for (std::size_t k = 0; k < planets.size(); ++k) {
    if (!folded[k]) {
      continue;
    }
    const double mk = planets[k].mass.value_or(0.0);
    const nbody::KeplerState s = state_of(planets[k], mk, star_mass);
    m = m + mk;
    mr = {mr.x + mk * s.pos.x, mr.y + mk * s.pos.y, mr.z + mk * s.pos.z};
    mv = {mv.x + mk * s.vel.x, mv.y + mk * s.vel.y, mv.z + mk * s.vel.z};
  }
  const nbody::KeplerState h = state_of(body, body_mass, star_mass);
  const nbody::KeplerState rel{{h.pos.x - mr.x / m, h.pos.y - mr.y / m, h.pos.z - mr.z / m},
                               {h.vel.x - mv.x / m, h.vel.y - mv.y / m, h.vel.z - mv.z / m}};
  const nbody::Elements el = nbody::elements_from_state(rel, kg2 * (m + body_mass));
  Recentred out;
  out.central_mass = m;
  out.body = body;
  out.body.a = el.a;
  out.body.e = el.e;
  out.body.i = el.i / g2r;
  out.body.node = degrees_0_360(el.node / g2r);
  out.body.argperi = degrees_0_360((el.peri - el.node) / g2r);
  out.body.mean_anomaly = degrees_0_360((el.lambda - el.peri) / g2r);
  return out;
}

}  // namespace tandem::bodies
