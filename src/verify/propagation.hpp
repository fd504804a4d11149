#pragma once
// The integration of the three bodies: Boost.Odeint's Runge-Kutta-Fehlberg 7(8) stepper
// under its standard step-size control, with the last step before each requested time cut
// so that it ends there exactly (sigma is sampled at fixed times).
//
// Watched at every accepted step: the planets' separation (the run stops below
// close_distance, in the scaled length unit), the relative energy error |E - E0|/|E0|
// (it stops above max_energy_error) and the relative error of the angular momentum; the
// number of steps (it stops at max_steps). Times are in the scaled unit of ThreeBody and
// may run backwards.
//
// Reference: E. Fehlberg, Classical fifth-, sixth-, seventh-, and eighth-order
// Runge-Kutta formulas with stepsize control, NASA TR R-287 (1968), as Boost.Odeint's
// runge_kutta_fehlberg78 implements them.

#include <memory>

#include "tandem/verify.hpp"
#include "verify/three_body.hpp"

namespace tandem::nbody {

struct Limits {
  double tolerance = 1e-13;  // absolute and relative error per step
  double close_distance = 0;
  double max_energy_error = 1e-9;
  long long max_steps = 0;
};

class Propagator {
 public:
  Propagator(const ThreeBody& sys, const PhaseState& start, const Limits& limits);
  ~Propagator();
  Propagator(const Propagator&) = delete;
  Propagator& operator=(const Propagator&) = delete;

  // Integrates to time t. StopReason::completed when it got there; otherwise the state is
  // that of the step at which the run stopped. energy_drift also stands for steps the
  // controller could no longer make at the tolerance.
  StopReason advance_to(double t);

  const PhaseState& state() const;
  double time() const;
  double energy_error() const { return energy_error_; }
  double angular_momentum_error() const { return momentum_error_; }
  double min_separation() const { return min_separation_; }
  long long steps() const { return steps_; }

 private:
  struct Stepper;
  StopReason check();

  ThreeBody sys_;
  Limits limits_;
  std::unique_ptr<Stepper> stepper_;
  double energy0_ = 0;
  Vec3 momentum0_;
  double energy_error_ = 0;
  double momentum_error_ = 0;
  double min_separation_ = 0;
  long long steps_ = 0;
};

}  // namespace tandem::nbody
