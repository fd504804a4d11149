#pragma once
// A body's elements about a star that carries some planets with it (for a Body; the
// conversion itself is nbody/barycentric.hpp's).
//
// Seen from far outside, the Sun and the planets inside a body's orbit pull like one mass
// at their barycentre; the Sun itself moves about that point (up to about 0.01 au at
// some 13 m/s, mostly Jupiter's and Saturn's pull), and a distant body's heliocentric
// osculating elements carry that motion: its heliocentric a swings by tenths of an au. Measured
// from the barycentre of the star and the folded planets, with their summed mass as the central
// mass, the elements are those of the smooth orbit the body really follows.
//
// Given: the body's heliocentric elements (degrees, au) and mass (M_sun); the planets at
// the body's epoch (heliocentric elements, masses); which of them to fold into the star;
// the star's mass (M_sun).
// Returned: the body's elements relative to the barycentre of the star and the folded
// planets (position and velocity both), with mu = k^2*(star + folded + body); and that
// central mass. Each heliocentric state is the two-body state with mu = k^2*(star + own
// mass).

#include <vector>

#include "tandem/bodies.hpp"

namespace tandem::bodies {

struct Recentred {
  Body body;                // elements about the barycentre, degrees in 0..360
  double central_mass = 0;  // star plus folded planets, M_sun
};

Recentred recentre(const Body& body, double body_mass, const std::vector<Body>& planets,
                   const std::vector<bool>& folded, double star_mass);

}  // namespace tandem::bodies
