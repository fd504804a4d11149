#pragma once
// tandem.scan: the catalogue of tandem-scan, its rows made by the program's own code, added
// to the module by PYBIND11_MODULE.

#include <pybind11/pybind11.h>

void bind_scan(pybind11::module_& m);
