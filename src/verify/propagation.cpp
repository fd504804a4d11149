#include "verify/propagation.hpp"

#include <algorithm>
#include <boost/numeric/odeint/stepper/controlled_runge_kutta.hpp>
#include <boost/numeric/odeint/stepper/generation.hpp>
#include <boost/numeric/odeint/stepper/runge_kutta_fehlberg78.hpp>
#include <cmath>

namespace tandem::nbody {
namespace {

namespace odeint = boost::numeric::odeint;
using Controlled = odeint::controlled_runge_kutta<odeint::runge_kutta_fehlberg78<PhaseState>>;

// The controller shrinks a rejected step by at most a factor 5 each time; this many
// rejections in a row mean the step has gone below anything the tolerance can use.
constexpr int max_rejections = 200;
// A first step, in units of 1/n2, short for any orbit the tool meets; the controller
// lengthens it within a few steps.
constexpr double initial_step = 1e-3;

double length(const Vec3& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// The largest of the errors so far; a NaN, once there, stays.
void keep_largest(double& largest, double x) {
  if (!(x <= largest)) {
    largest = x;
  }
}

}  // namespace

struct Propagator::Stepper {
  Controlled controlled;
  PhaseState y;
  double t = 0;
  double dt = 0;  // the controller's next step, before any cut
};

// Odeint's steppers keep their work arrays uninitialised until the first step writes
// them, and the controller copies a fresh stepper: GCC warns about copying the unset
// arrays, which are never read before they are written.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
Propagator::Propagator(const ThreeBody& sys, const PhaseState& start, const Limits& limits)
    : sys_(sys),
      limits_(limits),
      stepper_(std::make_unique<Stepper>(
          Stepper{odeint::make_controlled(limits.tolerance, limits.tolerance,
                                          odeint::runge_kutta_fehlberg78<PhaseState>()),
                  start, 0.0, initial_step})),
      energy0_(energy(sys, start)),
      momentum0_(angular_momentum(sys, start)),
      min_separation_(separation(start)) {}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

Propagator::~Propagator() = default;

const PhaseState& Propagator::state() const {
  return stepper_->y;
}

double Propagator::time() const {
  return stepper_->t;
}

StopReason Propagator::check() {
  const PhaseState& y = stepper_->y;
  keep_largest(energy_error_, std::fabs((energy(sys_, y) - energy0_) / energy0_));
  const Vec3 l = angular_momentum(sys_, y);
  const Vec3 dl{l.x - momentum0_.x, l.y - momentum0_.y, l.z - momentum0_.z};
  keep_largest(momentum_error_, length(dl) / length(momentum0_));
  const double d = separation(y);
  min_separation_ = std::min(min_separation_, d);
  if (d < limits_.close_distance) {
    return StopReason::close_encounter;
  }
  // A state that is no longer a number fails this test too: nothing more to follow.
  if (!(energy_error_ <= limits_.max_energy_error)) {
    return StopReason::energy_drift;
  }
  return StopReason::completed;
}

StopReason Propagator::advance_to(double target) {
  Stepper& s = *stepper_;
  int rejections = 0;
  while (s.t != target) {
    if (steps_ >= limits_.max_steps) {
      return StopReason::step_limit;
    }
    const double remaining = target - s.t;
    const bool last = std::fabs(s.dt) >= std::fabs(remaining);
    double h = last ? remaining : std::copysign(s.dt, remaining);
    if (s.controlled.try_step(std::cref(sys_), s.y, s.t, h) == odeint::fail) {
      s.dt = h;
      if (++rejections > max_rejections) {
        return StopReason::energy_drift;
      }
      continue;
    }
    rejections = 0;
    ++steps_;
    if (last) {
      s.t = target;  // the cut step ends on the requested time, not beside it
    }
    // A cut step proposes a successor from its own, shorter length; the longer proposal
    // stands.
    if (!last || std::fabs(h) > std::fabs(s.dt)) {
      s.dt = h;
    }
    if (const StopReason why = check(); why != StopReason::completed) {
      return why;
    }
  }
  return StopReason::completed;
}

}  // namespace tandem::nbody
