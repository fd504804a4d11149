// The Python binding of the N-body check: tandem.verify(result, ...) and the types of its
// answer. It converts and calls; the integration runs with the GIL released.

#include "verify_binding.hpp"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tandem/tandem.hpp"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

// (n, 3): t_years, sigma_deg (osculating), smoothed_deg; no rows unless series=True.
py::array_t<double> series_array(const tandem::Verification& v) {
  py::array_t<double> out({static_cast<py::ssize_t>(v.series.size()), py::ssize_t{3}});
  auto rows = out.mutable_unchecked<2>();
  for (py::ssize_t i = 0; i < rows.shape(0); ++i) {
    const tandem::SeriesPoint& p = v.series[static_cast<std::size_t>(i)];
    rows(i, 0) = p.t_years;
    rows(i, 1) = p.sigma_deg;
    rows(i, 2) = p.smoothed_deg;
  }
  return out;
}

// The whole Verification as a tuple (the series as the bytes of its points), for pickle.
py::tuple verification_state(const tandem::Verification& v) {
  return py::make_tuple(
      py::make_tuple(v.sigma_deg, v.start_sigma_deg, static_cast<int>(v.verdict),
                     static_cast<int>(v.stop), v.librates, v.predicted_period_years,
                     v.measured_period_years, v.period_ratio, v.measured_centre_deg,
                     v.centre_offset_deg, v.amplitude_deg, v.centre_drift_deg, v.librations),
      py::make_tuple(v.energy_error, v.angular_momentum_error, v.min_distance_hill,
                     v.duration_years, v.steps, v.start_iterations, v.start_converged),
      py::bytes(reinterpret_cast<const char*>(v.series.data()),
                v.series.size() * sizeof(tandem::SeriesPoint)));
}

tandem::Verification verification_from(const py::tuple& t) {
  tandem::Verification v;
  const auto a = t[0].cast<py::tuple>();
  v.sigma_deg = a[0].cast<double>();
  v.start_sigma_deg = a[1].cast<double>();
  v.verdict = static_cast<tandem::Verdict>(a[2].cast<int>());
  v.stop = static_cast<tandem::StopReason>(a[3].cast<int>());
  v.librates = a[4].cast<bool>();
  v.predicted_period_years = a[5].cast<double>();
  v.measured_period_years = a[6].cast<double>();
  v.period_ratio = a[7].cast<double>();
  v.measured_centre_deg = a[8].cast<double>();
  v.centre_offset_deg = a[9].cast<double>();
  v.amplitude_deg = a[10].cast<double>();
  v.centre_drift_deg = a[11].cast<double>();
  v.librations = a[12].cast<int>();
  const auto b = t[1].cast<py::tuple>();
  v.energy_error = b[0].cast<double>();
  v.angular_momentum_error = b[1].cast<double>();
  v.min_distance_hill = b[2].cast<double>();
  v.duration_years = b[3].cast<double>();
  v.steps = b[4].cast<long long>();
  v.start_iterations = b[5].cast<int>();
  v.start_converged = b[6].cast<bool>();
  const std::string series = t[2].cast<py::bytes>();
  if (series.size() % sizeof(tandem::SeriesPoint) != 0) {
    throw std::runtime_error("a pickled tandem.Verification of another layout");
  }
  v.series.resize(series.size() / sizeof(tandem::SeriesPoint));
  std::memcpy(v.series.data(), series.data(), series.size());
  return v;
}

const char* const verify_doc = R"(verify(result, sigma=None, offset=5.0, periods=5.0,
       centre_tolerance=5.0, max_amplitude=90.0, close_encounter_hill=3.0,
       tolerance=1e-13, series=False) -> list of Verification

Integrate the star and the two planets of a solved resonance directly and report what
sigma really does, for every stable equilibrium of result (or for the one sigma given,
stable or not). The start: planet 1 at the computed a1, both planets with the system's e,
i, node and perihelion (corrected until their averages over one resonant cycle are
those), sigma = the equilibrium + offset degrees. The run lasts `periods` predicted
libration periods, and stops early when the planets come closer than
close_encounter_hill mutual Hill radii.

Verdicts: confirmed (sigma librates, no wider than max_amplitude degrees, about a centre
within centre_tolerance degrees of the predicted one), shifted (librates about a centre
further off), not_confirmed (circulates, librates wider, meets a close encounter, or the
relative energy error passes 1e-9). Only whole K2 and K1 can be checked.

Raises ValueError for a resonance that is not whole, options out of range, or a sigma
where R(sigma) is flat. The GIL is released while it integrates.

>>> [(v.sigma_deg, v.verdict, v.measured_period_years) for v in tandem.verify(res)]
)";

}  // namespace

void bind_verify(py::module_& m) {
  py::enum_<tandem::Verdict>(m, "Verdict", "What the direct integration says of an equilibrium.")
      .value("confirmed", tandem::Verdict::confirmed)
      .value("shifted", tandem::Verdict::shifted)
      .value("not_confirmed", tandem::Verdict::not_confirmed);

  py::enum_<tandem::StopReason>(m, "StopReason", "Why the integration ended.")
      .value("completed", tandem::StopReason::completed)
      .value("close_encounter", tandem::StopReason::close_encounter)
      .value("escape", tandem::StopReason::escape)
      .value("energy_drift", tandem::StopReason::energy_drift)
      .value("step_limit", tandem::StopReason::step_limit);

  using tandem::Verification;
  py::class_<Verification>(m, "Verification", R"(One equilibrium checked by direct integration.

sigma_deg, start_sigma_deg     the predicted centre and the start (degrees)
verdict, stop                  Verdict and StopReason
librates                       the range sigma swept stayed below 360 degrees
predicted_period_years, measured_period_years, period_ratio (predicted / measured)
measured_centre_deg (0..360), centre_offset_deg (-180..180), amplitude_deg,
centre_drift_deg, librations   (NaN where the run did not show them)
energy_error, angular_momentum_error   largest relative errors over the run
min_distance_hill, duration_years, steps, start_iterations, start_converged
series                         (n, 3) array: t_years, sigma_deg, smoothed_deg)")
      .def_readonly("sigma_deg", &Verification::sigma_deg)
      .def_readonly("start_sigma_deg", &Verification::start_sigma_deg)
      .def_readonly("verdict", &Verification::verdict)
      .def_readonly("stop", &Verification::stop)
      .def_readonly("librates", &Verification::librates)
      .def_readonly("predicted_period_years", &Verification::predicted_period_years)
      .def_readonly("measured_period_years", &Verification::measured_period_years)
      .def_readonly("period_ratio", &Verification::period_ratio)
      .def_readonly("measured_centre_deg", &Verification::measured_centre_deg)
      .def_readonly("centre_offset_deg", &Verification::centre_offset_deg)
      .def_readonly("amplitude_deg", &Verification::amplitude_deg)
      .def_readonly("centre_drift_deg", &Verification::centre_drift_deg)
      .def_readonly("librations", &Verification::librations)
      .def_readonly("energy_error", &Verification::energy_error)
      .def_readonly("angular_momentum_error", &Verification::angular_momentum_error)
      .def_readonly("min_distance_hill", &Verification::min_distance_hill)
      .def_readonly("duration_years", &Verification::duration_years)
      .def_readonly("steps", &Verification::steps)
      .def_readonly("start_iterations", &Verification::start_iterations)
      .def_readonly("start_converged", &Verification::start_converged)
      .def_property_readonly("series", &series_array)
      .def(py::pickle(&verification_state, &verification_from))
      .def("__repr__", [](const Verification& v) {
        return "<tandem.Verification sigma=" +
               py::repr(py::float_(v.sigma_deg)).cast<std::string>() + " " +
               std::string(tandem::name(v.verdict)) + ">";
      });

  m.def(
      "verify",
      [](const tandem::Result& result, std::optional<double> sigma, double offset, double periods,
         double centre_tolerance, double max_amplitude, double close_encounter_hill,
         double tolerance, bool series) {
        tandem::VerifyOptions o;
        o.offset_deg = offset;
        o.periods = periods;
        o.centre_tolerance_deg = centre_tolerance;
        o.max_amplitude_deg = max_amplitude;
        o.close_encounter_hill = close_encounter_hill;
        o.tolerance = tolerance;
        o.keep_series = series;
        py::gil_scoped_release release;
        if (sigma) {
          return std::vector<Verification>{tandem::verify_at(result, *sigma, o)};
        }
        return tandem::verify(result, o);
      },
      "result"_a, "sigma"_a = py::none(), "offset"_a = 5.0, "periods"_a = 5.0,
      "centre_tolerance"_a = 5.0, "max_amplitude"_a = 90.0, "close_encounter_hill"_a = 3.0,
      "tolerance"_a = 1e-13, "series"_a = false, verify_doc);
}
