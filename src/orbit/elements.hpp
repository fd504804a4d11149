#pragma once
// The planetary system as read from tandem.inp, and the resonance as typed at the console.
//
// Given per planet: se semi-major axis (au), ex eccentricity, yn inclination (deg),
// ln longitude of the ascending node (deg), lp longitude of perihelion (deg), sm mass
// (M_sun). Planet 1 is placed at exact resonance, so its se is never used.
// The resonance K2:K1 (tandem::Resonance) is held as two reals exactly as typed
// (k2 >= k1); they enter the formulas as reals and are truncated only where an integer is
// printed or counted.

#include "tandem/system.hpp"

namespace tandem {

struct PlanetElements {
  double se = 0;
  double ex = 0;
  double yn = 0;
  double ln = 0;
  double lp = 0;
  double sm = 0;
};

struct PlanetarySystem {
  double mst = 0;          // star mass, M_sun
  PlanetElements planet1;  // the inner planet, put at exact resonance
  PlanetElements planet2;  // the reference orbit, used as read
};

}  // namespace tandem
