// The Python binding of the phase space: Result.zones, Result.trajectory(sigma, a1=None,
// a2=None), Result.period_at(sigma0), Result.phase_space() and the types of their answers.
// It converts and calls; NaN becomes None where the library has no value.

#include "phase_binding.hpp"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tandem/tandem.hpp"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

std::optional<double> value_or_none(double v) {
  if (std::isnan(v)) {
    return std::nullopt;
  }
  return v;
}

// The sigma of the zones named by index.
std::vector<double> zone_sigmas(const tandem::PhaseSpace& ps, const std::vector<int>& indices) {
  std::vector<double> out;
  for (const int i : indices) {
    out.push_back(ps.zones[static_cast<std::size_t>(i)].sigma);
  }
  return out;
}

// A zone with the phase space it belongs to, so that horseshoe_with can name sigmas.
struct PyZone {
  tandem::Zone zone;
  std::vector<double> horseshoe_with;
};

struct PyTrajectory {
  tandem::Trajectory t;
  std::vector<double> centres;
};

std::vector<PyZone> zones_of(const tandem::PhaseSpace& ps) {
  std::vector<PyZone> out;
  for (const tandem::Zone& z : ps.zones) {
    out.push_back({z, zone_sigmas(ps, z.horseshoe_with)});
  }
  return out;
}

PyTrajectory trajectory_of(const tandem::Result& r, double sigma, std::optional<double> a1,
                           std::optional<double> a2) {
  if (a1 && a2) {
    throw std::invalid_argument("give a1 or a2, not both");
  }
  py::gil_scoped_release release;
  const tandem::PhaseSpace ps = tandem::phase_space(r);
  const tandem::Trajectory t = a1   ? tandem::trajectory(ps, sigma, tandem::Axis::a1, *a1)
                               : a2 ? tandem::trajectory(ps, sigma, tandem::Axis::a2, *a2)
                                    : tandem::trajectory(ps, sigma);
  return {t, zone_sigmas(ps, t.centres)};
}

const char* const trajectory_doc = R"(trajectory(sigma, a1=None, a2=None) -> Trajectory

The level curve of the averaged model H = hii*Sigma^2/2 + R(sigma) through sigma (degrees)
with planet 1 at a1 or planet 2 at a2 (au); by default at exact resonance, where sigma is a
turning point. regime is "libration", "horseshoe" or "circulation"; period_years is None
near a separatrix (period_state "near separatrix") and for a flat curve at exact resonance.
Raises ValueError for a sigma that is not finite, an axis not positive, or both axes.)";

}  // namespace

void bind_phase_space(py::module_& m) {
  py::class_<PyZone>(m, "Zone", R"(The libration zone about one minimum of R.

sigma                 the minimum, degrees
equilibrium           the program's stable grid point in this well (degrees), or None
sigma_min, sigma_max  the zone's extent at its barrier, degrees, unwrapped (may pass 0/360)
barrier               R - Rmin of the lower barrier that bounds it; barrier_sigma its place
width_a1, width_a2    full width at the minimum, au (the program's formula, the zone's depth)
small_amplitude_period_years   2*pi/sqrt(R''*hii) of the interpolated curve
close_encounter       the zone reaches a close-encounter band
horseshoe_with        sigma of the other zones it merges with above its barrier ([] when
                      sigma circulates there); horseshoe_barrier, horseshoe_sigma_min/max
                      and horseshoe_close_encounter describe that horseshoe (None if none))")
      .def_property_readonly("sigma", [](const PyZone& z) { return z.zone.sigma; })
      .def_property_readonly("equilibrium",
                             [](const PyZone& z) -> std::optional<double> {
                               if (z.zone.equilibrium_index < 0) {
                                 return std::nullopt;
                               }
                               return static_cast<double>(z.zone.equilibrium_index);
                             })
      .def_property_readonly("sigma_min", [](const PyZone& z) { return z.zone.sigma_min; })
      .def_property_readonly("sigma_max", [](const PyZone& z) { return z.zone.sigma_max; })
      .def_property_readonly("barrier", [](const PyZone& z) { return z.zone.barrier; })
      .def_property_readonly("barrier_sigma", [](const PyZone& z) { return z.zone.barrier_sigma; })
      .def_property_readonly("width_a1", [](const PyZone& z) { return z.zone.width_a1; })
      .def_property_readonly("width_a2", [](const PyZone& z) { return z.zone.width_a2; })
      .def_property_readonly("small_amplitude_period_years",
                             [](const PyZone& z) { return z.zone.small_amplitude_period_years; })
      .def_property_readonly("close_encounter",
                             [](const PyZone& z) { return z.zone.close_encounter; })
      .def_readonly("horseshoe_with", &PyZone::horseshoe_with)
      .def_property_readonly(
          "horseshoe_barrier",
          [](const PyZone& z) { return value_or_none(z.zone.horseshoe_barrier); })
      .def_property_readonly(
          "horseshoe_sigma_min",
          [](const PyZone& z) { return value_or_none(z.zone.horseshoe_sigma_min); })
      .def_property_readonly(
          "horseshoe_sigma_max",
          [](const PyZone& z) { return value_or_none(z.zone.horseshoe_sigma_max); })
      .def_property_readonly("horseshoe_close_encounter",
                             [](const PyZone& z) { return z.zone.horseshoe_close_encounter; })
      .def("__repr__", [](const PyZone& z) {
        return "Zone(sigma=" + py::repr(py::float_(z.zone.sigma)).cast<std::string>() +
               ", sigma_min=" + py::repr(py::float_(z.zone.sigma_min)).cast<std::string>() +
               ", sigma_max=" + py::repr(py::float_(z.zone.sigma_max)).cast<std::string>() +
               ", width_a1=" + py::repr(py::float_(z.zone.width_a1)).cast<std::string>() + ")";
      });

  py::class_<PyTrajectory>(m, "Trajectory", R"(The level curve through a starting point.

regime                "libration", "horseshoe" or "circulation"
centre                the libration centre (degrees), or None
centres               sigma of the zones it goes round (one, several, or none)
sigma_min, sigma_max  turning points, degrees, unwrapped (None when it circulates)
a1_min, a1_max, a2_min, a2_max   extremes of the semi-major axes along it, au
period_years          the period, years, or None; period_state says why not
close_encounter       the curve reaches a close-encounter band
energy                H as R - Rmin, M_sun au^2/day^2)")
      .def_property_readonly("regime",
                             [](const PyTrajectory& p) { return std::string(name(p.t.regime)); })
      .def_property_readonly("centre",
                             [](const PyTrajectory& p) { return value_or_none(p.t.centre); })
      .def_readonly("centres", &PyTrajectory::centres)
      .def_property_readonly("sigma_min",
                             [](const PyTrajectory& p) { return value_or_none(p.t.sigma_min); })
      .def_property_readonly("sigma_max",
                             [](const PyTrajectory& p) { return value_or_none(p.t.sigma_max); })
      .def_property_readonly("a1_min", [](const PyTrajectory& p) { return p.t.a1_min; })
      .def_property_readonly("a1_max", [](const PyTrajectory& p) { return p.t.a1_max; })
      .def_property_readonly("a2_min", [](const PyTrajectory& p) { return p.t.a2_min; })
      .def_property_readonly("a2_max", [](const PyTrajectory& p) { return p.t.a2_max; })
      .def_property_readonly("period_years",
                             [](const PyTrajectory& p) { return value_or_none(p.t.period_years); })
      .def_property_readonly(
          "period_state", [](const PyTrajectory& p) { return std::string(name(p.t.period_state)); })
      .def_property_readonly("close_encounter",
                             [](const PyTrajectory& p) { return p.t.close_encounter; })
      .def_property_readonly("energy", [](const PyTrajectory& p) { return p.t.energy; })
      .def("__repr__", [](const PyTrajectory& p) {
        return "Trajectory(regime='" + std::string(name(p.t.regime)) + "', sigma_min=" +
               py::repr(py::cast(value_or_none(p.t.sigma_min))).cast<std::string>() +
               ", sigma_max=" +
               py::repr(py::cast(value_or_none(p.t.sigma_max))).cast<std::string>() +
               ", period_years=" +
               py::repr(py::cast(value_or_none(p.t.period_years))).cast<std::string>() + ")";
      });

  // What the phase picture needs: the extrema and H over a (sigma, a1) grid.
  py::class_<tandem::PhaseSpace>(m, "PhaseSpace", R"(The structure of a result's curve.

flat                  True for an undetectable resonance (no wells)
zones                 list of Zone
maxima, minima        (sigma, R - Rmin) of the interpolated curve's extrema
a1, a2                the semi-major axes at exact resonance, au
energy(sigma, a1)     H as R - Rmin over numpy arrays of sigma (degrees) and a1 (au))")
      .def_readonly("flat", &tandem::PhaseSpace::flat)
      .def_property_readonly("zones", &zones_of)
      .def_property_readonly("maxima",
                             [](const tandem::PhaseSpace& ps) {
                               std::vector<std::pair<double, double>> out;
                               for (const auto& x : ps.extrema) {
                                 if (x.kind == tandem::ExtremumKind::maximum) {
                                   out.emplace_back(x.sigma, x.r);
                                 }
                               }
                               return out;
                             })
      .def_property_readonly("minima",
                             [](const tandem::PhaseSpace& ps) {
                               std::vector<std::pair<double, double>> out;
                               for (const auto& x : ps.extrema) {
                                 if (x.kind == tandem::ExtremumKind::minimum) {
                                   out.emplace_back(x.sigma, x.r);
                                 }
                               }
                               return out;
                             })
      .def_readonly("a1", &tandem::PhaseSpace::a1)
      .def_readonly("a2", &tandem::PhaseSpace::a2)
      .def(
          "energy",
          [](const tandem::PhaseSpace& ps, py::array_t<double, py::array::forcecast> sigma,
             py::array_t<double, py::array::forcecast> a1) {
            if (sigma.size() != a1.size()) {
              throw std::invalid_argument("sigma and a1 must have the same size");
            }
            py::array_t<double> out(sigma.request().shape);
            const double* s = sigma.data();
            const double* a = a1.data();
            double* h = out.mutable_data();
            {
              py::gil_scoped_release release;
              for (py::ssize_t i = 0; i < sigma.size(); ++i) {
                h[i] = tandem::energy(ps, s[i], tandem::Axis::a1, a[i]);
              }
            }
            return out;
          },
          "sigma"_a, "a1"_a);

  py::object result = m.attr("Result");
  py::object property = py::module_::import("builtins").attr("property");
  result.attr("phase_space") = py::cpp_function(
      [](const tandem::Result& r) {
        py::gil_scoped_release release;
        return tandem::phase_space(r);
      },
      py::name("phase_space"), py::is_method(result),
      "phase_space() -> PhaseSpace: the wells, barriers and horseshoes of the curve");
  result.attr("zones") =
      property(py::cpp_function(
                   [](const tandem::Result& r) {
                     tandem::PhaseSpace ps;
                     {
                       py::gil_scoped_release release;
                       ps = tandem::phase_space(r);
                     }
                     return zones_of(ps);
                   },
                   py::is_method(result)),
               py::none(), py::none(),
               "the libration zone about each minimum of R (list of Zone), in increasing sigma");
  result.attr("trajectory") =
      py::cpp_function(&trajectory_of, py::name("trajectory"), py::is_method(result), "sigma"_a,
                       "a1"_a = py::none(), "a2"_a = py::none(), trajectory_doc);
  result.attr("period_at") = py::cpp_function(
      [](const tandem::Result& r, double sigma0) {
        return value_or_none(trajectory_of(r, sigma0, std::nullopt, std::nullopt).t.period_years);
      },
      py::name("period_at"), py::is_method(result), "sigma0"_a,
      R"(period_at(sigma0) -> float or None

The period (years) of the trajectory through sigma0 at exact resonance: the libration
period at the amplitude that sigma0 sets, or None near a separatrix.)");
}
