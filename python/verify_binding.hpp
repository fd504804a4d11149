#pragma once
// tandem.verify and its result types, added to the module by PYBIND11_MODULE.

#include <pybind11/pybind11.h>

void bind_verify(pybind11::module_& m);
