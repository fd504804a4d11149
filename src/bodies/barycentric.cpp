#include "bodies/barycentric.hpp"

#include "bodies/angles.hpp"
#include "nbody/barycentric.hpp"
#include "orbit/constants.hpp"

namespace tandem::bodies {
namespace {

nbody::Elements radians_of(const Body& b) {
  const double peri = b.node + b.argperi;
  return {b.a, b.e, b.i * g2r, b.node * g2r, peri * g2r, (peri + b.mean_anomaly) * g2r};
}

}  // namespace

Recentred recentre(const Body& body, double body_mass, const std::vector<Body>& planets,
                   const std::vector<bool>& folded, double star_mass) {
  std::vector<nbody::MassiveBody> massive;
  for (const Body& p : planets) {
    const double m = p.mass.value_or(0.0);
    massive.push_back({m, nbody::state_from_elements(radians_of(p), kg2 * (star_mass + m))});
  }
  const nbody::Centre centre = nbody::merged_centre(star_mass, massive, folded);
  const nbody::Elements el =
      nbody::elements_about_centre(radians_of(body), star_mass, body_mass, centre);
  Recentred out;
  out.central_mass = centre.mass;
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
