#pragma once
// tandem.read_bodies and tandem.survey, added to the module by PYBIND11_MODULE.

#include <pybind11/pybind11.h>

void bind_survey(pybind11::module_& m);
