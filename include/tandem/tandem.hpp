#pragma once
// tandem: the resonant disturbing function R(sigma) of two planets near a K2:K1
// mean-motion resonance, computed numerically (no series expansion) and reduced to the
// mean, strength, amplitude, widths, equilibria and libration periods.
//
//   #include <tandem/tandem.hpp>
//   tandem::System system{1.0, {3.97, 0.10, 5.0, 100.0, 30.0, 1e-9},
//                              {5.2, 0.048, 1.3, 100.5, 14.7, 9.5e-4}};
//   tandem::Result res = tandem::solve(system, {3, 2});
//   res.analysis.strength, res.analysis.equilibria, res.curve.r, ...
//   tandem::PhaseSpace ps = tandem::phase_space(res);  // libration zones, horseshoes
//   tandem::trajectory(ps, 60.0 + 40.0).period_years;   // the period at 40 degrees

#include "tandem/files.hpp"
#include "tandem/phase_space.hpp"
#include "tandem/problem.hpp"
#include "tandem/result.hpp"
#include "tandem/solve.hpp"
#include "tandem/system.hpp"
#include "tandem/verify.hpp"
#include "tandem/version.hpp"
