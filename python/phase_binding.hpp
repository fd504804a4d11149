#pragma once
// The phase space of a result in Python: Result.zones, Result.trajectory,
// Result.period_at, Result.phase_space and their types, added by PYBIND11_MODULE once
// Result is bound.

#include <pybind11/pybind11.h>

void bind_phase_space(pybind11::module_& m);
