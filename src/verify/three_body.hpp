#pragma once
// The star and two planets under their mutual gravity: the equations of motion of the
// planets' heliocentric positions, and the canonical heliocentric variables of the
// averaged model (heliocentric positions, barycentric momenta).
//
// Units are scaled: length unit a2 (au), time unit 1/n2 (days), so that the state is of
// order 1 and one tolerance serves positions and velocities alike. g0, g1, g2 are the
// gravitational parameters k^2*m*(time unit)^2/(length unit)^3 of the star and the
// planets; they stand for the masses wherever a mass enters (energy, momenta).
//
// PhaseState: r1, r2 (heliocentric positions), then v1, v2 (their time derivatives).
// The canonical velocity of planet i is its barycentric momentum over its reduced mass
// beta_i = m_i*M/(m_i + M); with it and the heliocentric position, the Kepler orbit of
// gravitational parameter k^2*(M + m_i) gives the osculating elements of the averaged
// model.
//
// Reference: the Hamiltonian in heliocentric positions and barycentric momenta, whose
// interaction term is the R of the averaged model: docs/method.md ("R(sigma): what is
// averaged").

#include <array>

#include "orbit/orbit_setup.hpp"
#include "verify/osculating.hpp"

namespace tandem::nbody {

using PhaseState = std::array<double, 12>;

struct Scale {
  double length_au = 1;
  double time_days = 1;
};

struct ThreeBody {
  double g0 = 0;
  double g1 = 0;
  double g2 = 0;

  // dr_i/dt = v_i; dv_i/dt = -(g0 + g_i)*r_i/r_i^3 + g_j*((r_j - r_i)/r_ij^3 - r_j/r_j^3)
  void operator()(const PhaseState& y, PhaseState& dydt, double t) const;

  double mu1() const { return g0 + g1; }  // Kepler parameters of the averaged model
  double mu2() const { return g0 + g2; }
};

ThreeBody three_body(double star_mass, double m1, double m2, const Scale& scale);

// Heliocentric position and canonical velocity of each planet.
struct CanonicalPair {
  KeplerState planet1;
  KeplerState planet2;
};

CanonicalPair canonical_of(const ThreeBody& sys, const PhaseState& y);
PhaseState phase_of(const ThreeBody& sys, const CanonicalPair& c);

// The Hamiltonian: kinetic energy of the barycentric motion and the three pair potentials.
double energy(const ThreeBody& sys, const PhaseState& y);
// The total angular momentum, sum of r_i x p_i over the planets.
Vec3 angular_momentum(const ThreeBody& sys, const PhaseState& y);
// Distance between the planets.
double separation(const PhaseState& y);

}  // namespace tandem::nbody
