#pragma once
// The planetary system and the resonance that tandem::solve takes.
//
// Units as in tandem.inp: masses in solar masses, distances in au, angles in degrees.
// Planet 2 is the reference planet: its orbit is used as given. Planet 1 is placed at
// exact resonance (mean motion K2/K1 times planet 2's, semi-major axis from Kepler's third
// law), so the semi-major axis given for it is never used; its other elements are.

namespace tandem {

struct Planet {
  double a = 0;     // semi-major axis, au (ignored for planet 1)
  double e = 0;     // eccentricity, 0 <= e < 1
  double i = 0;     // inclination, degrees
  double node = 0;  // longitude of the ascending node, degrees
  double peri = 0;  // longitude of perihelion (node plus argument of perihelion), degrees
  double mass = 0;  // solar masses
};

struct System {
  double star_mass = 0;  // solar masses
  Planet planet1;        // the planet put at exact resonance (the inner one when K2 > K1)
  Planet planet2;        // the reference planet
};

// K2:K1 exactly as typed: reals with K2 >= K1 >= ... (see tandem/problem.hpp for the
// accepted range). They enter the formulas as reals; only the number of samples per
// resonant cycle, 1000*trunc(K2), and printed coefficients truncate them.
struct Resonance {
  double k2 = 0;
  double k1 = 0;
};

// How solve shares its work. Results are the same bit for bit for any thread count.
struct SolveOptions {
  unsigned threads = 0;  // 0: every processor this process may run on
};

}  // namespace tandem
