#pragma once
// Starting states for an integration that leaves some planets out: the state of a body
// about the centre that the integration's star stands for.
//
// An integration of the star with only some of the planets (Neptune alone for the
// trans-Neptunian objects, Jupiter alone for the Hildas) replaces the planets it leaves
// out. A planet inside the bodies' orbits pulls them, on average, as if its mass sat in
// the star; and it swings the star about their common barycentre (the Sun moves by
// about 0.01 au at 13 m/s, mostly under Jupiter and Saturn), a motion the distant bodies
// do not share. So the star of the integration carries the mass of those planets and
// stands at their barycentre with the Sun, and every state is taken about that centre:
// the heliocentric state minus the centre's heliocentric state. A planet outside the
// bodies' orbits pulls the star and the bodies alike (only its tidal difference acts on
// their relative motion): it is left out altogether, neither merged nor its reflex
// motion removed.
//
// Given: star_mass (M_sun); the planets with their masses (M_sun) and heliocentric
// states (au, au/day, ecliptic J2000); which of them the star carries (merged); a body's
// heliocentric state or elements.
// Returned: the centre (mass in M_sun, heliocentric state in au, au/day); the body's
// state about it; its elements there, with the gravitational parameter
// k^2*(centre mass + body mass) (au^3/day^2, k the Gaussian constant).
//
// Elements as in verify/osculating.hpp: a (au), e, i, node, peri (longitude of
// perihelion), lambda (mean longitude), angles in radians; the heliocentric ones belong
// to the parameter k^2*(star_mass + body mass).

#include <span>
#include <vector>

#include "verify/osculating.hpp"

namespace tandem::nbody {

struct MassiveBody {
  double mass = 0;    // M_sun
  KeplerState state;  // heliocentric, au and au/day
};

struct Centre {
  double mass = 0;    // the star and the planets it carries, M_sun
  KeplerState state;  // their barycentre, heliocentric
};

// merged[j] says whether the star carries planet j (same length as planets).
Centre merged_centre(double star_mass, std::span<const MassiveBody> planets,
                     const std::vector<bool>& merged);

// Which planets the star carries: those not integrated whose semi-major axis (au) is
// below reach (au), i.e. inside the orbits of the bodies that reach stands for.
std::vector<bool> planets_inside(std::span<const double> planet_a,
                                 const std::vector<bool>& integrated, double reach);

// A heliocentric state taken about the centre.
KeplerState about_centre(const Centre& centre, const KeplerState& heliocentric);

// Planets given by mean elements (a Keplerian fit such as JPL's table, whose a goes with
// the observed mean motion about the Sun and the planets inside) placed as Jacobi
// orbits: each, in the order given (increasing a), on its elements about the barycentre
// of the centre and the planets before it, with their summed mass. Returned: their
// states about the centre. Neptune alone about the Sun with Mercury to Uranus keeps the
// table's 164.79-year period this way; its table elements taken as an osculating orbit
// about the Sun and then about that centre give a period 0.2 to 0.3 % short.
struct MeanOrbit {
  double mass = 0;  // M_sun
  Elements elements;
};
std::vector<KeplerState> jacobi_states(const Centre& centre, std::span<const MeanOrbit> planets);

// A body's heliocentric elements to its elements about the centre (body_mass in M_sun, 0
// for a body without mass).
Elements elements_about_centre(const Elements& heliocentric, double star_mass, double body_mass,
                               const Centre& centre);

}  // namespace tandem::nbody
