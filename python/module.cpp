// The Python binding of the library: types with keyword constructors, numpy arrays for the
// curve, the library's refusals as ValueError and OSError. It converts and calls; it never
// computes, and the computation runs with the GIL released.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <charconv>
#include <cstring>
#include <optional>

#include "phase_binding.hpp"
#include "tandem/tandem.hpp"
#include "verify_binding.hpp"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

template <typename T>
py::array_t<T> to_numpy(const tandem::GridArray<T>& values) {
  py::array_t<T> out(static_cast<py::ssize_t>(values.size()));
  std::copy(values.begin(), values.end(), out.mutable_data());
  return out;
}

// The shortest text that reads back as the same double, as Python's repr writes floats.
std::string number(double v) {
  char buf[32];
  const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  return std::string(buf, end);
}

std::string repr(const tandem::Planet& p) {
  return "Planet(a=" + number(p.a) + ", e=" + number(p.e) + ", i=" + number(p.i) +
         ", node=" + number(p.node) + ", peri=" + number(p.peri) + ", mass=" + number(p.mass) + ")";
}

std::optional<double> period_or_none(const tandem::Equilibrium& eq) {
  if (eq.period_years == 0) {
    return std::nullopt;
  }
  return eq.period_years;
}

// An OSError with errno, text and file name, so that Python picks the subclass
// (FileNotFoundError, PermissionError, ...) as it does for its own open().
void raise_os_error(const tandem::InputFileError& e) {
  if (e.error_number() == 0) {
    PyErr_SetString(PyExc_OSError, e.what());
    return;
  }
  py::object error = py::reinterpret_steal<py::object>(
      PyObject_CallFunction(PyExc_OSError, "isN", e.error_number(), std::strerror(e.error_number()),
                            PyUnicode_DecodeFSDefault(e.file().c_str())));
  if (error) {
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
  }
}

const char* const solve_doc = R"(solve(system, k2, k1, threads=0) -> Result

Compute R(sigma) of the resonance K2:K1 on the one-degree grid of the critical angle
sigma = K1*lambda1 - K2*lambda2 + (K2 - K1)*varpi1 and reduce it: <R>, Rmin, Rmax, the
amplitude, the strength, the equilibria with their stability and libration periods, and the
widths in the semi-major axes. Planet 1 is placed at exact resonance (its semi-major axis in
the system is ignored); planet 2 keeps its orbit.

k2, k1  the resonance as typed (reals; K2 >= K1 > 0, 1 <= K2, trunc(K2) <= 50)
threads number of threads sharing the grid; 0 uses every processor this process may run
        on. The result is the same bit for bit for any count.

Every number is bit for bit what the console program tandem computes and writes for the same
tandem.inp and answer. The GIL is released while it computes.

Raises ValueError with the console program's words for an input it refuses, TypeError for
arguments of the wrong type.

>>> res = tandem.solve(system, k2=3, k1=2)
>>> res.strength, [(q.sigma, q.period_years) for q in res.equilibria if q.stable]
)";

}  // namespace

PYBIND11_MODULE(_tandem, m) {
  m.doc() =
      "tandem: the resonant disturbing function R(sigma) of two planets near a K2:K1 "
      "mean-motion resonance (C++ core).";
  m.attr("__version__") = tandem::version;
  m.attr("grid_points") = tandem::grid_points;

  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) {
        std::rethrow_exception(p);
      }
    } catch (const tandem::InputFileError& e) {
      if (e.kind() == tandem::InputFileError::Kind::unreadable) {
        raise_os_error(e);
      } else {
        PyErr_SetString(PyExc_ValueError, e.what());
      }
    } catch (const tandem::InvalidInput& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    } catch (const tandem::OutputError& e) {
      PyErr_SetString(PyExc_OSError, e.what());
    }
  });

  py::class_<tandem::Planet>(m, "Planet", R"(One planet's orbital elements and mass.

a     semi-major axis, au (ignored for planet 1, which is put at exact resonance)
e     eccentricity, 0 <= e < 1
i     inclination, degrees
node  longitude of the ascending node, degrees
peri  longitude of perihelion (node + argument of perihelion), degrees
mass  solar masses)")
      .def(py::init([](double a, double e, double i, double node, double peri, double mass) {
             return tandem::Planet{a, e, i, node, peri, mass};
           }),
           "a"_a, "e"_a, "i"_a, "node"_a, "peri"_a, "mass"_a)
      .def_readwrite("a", &tandem::Planet::a, "semi-major axis, au")
      .def_readwrite("e", &tandem::Planet::e, "eccentricity")
      .def_readwrite("i", &tandem::Planet::i, "inclination, degrees")
      .def_readwrite("node", &tandem::Planet::node, "longitude of the ascending node, degrees")
      .def_readwrite("peri", &tandem::Planet::peri, "longitude of perihelion, degrees")
      .def_readwrite("mass", &tandem::Planet::mass, "mass, solar masses")
      .def("__repr__", [](const tandem::Planet& p) { return repr(p); });

  py::class_<tandem::System>(m, "System", R"(A star with two planets.

star_mass  solar masses
planet1    the planet put at exact resonance (the inner one when K2 > K1)
planet2    the reference planet, whose orbit is used as given)")
      .def(py::init([](double star_mass, const tandem::Planet& p1, const tandem::Planet& p2) {
             return tandem::System{star_mass, p1, p2};
           }),
           "star_mass"_a, "planet1"_a, "planet2"_a)
      .def_readwrite("star_mass", &tandem::System::star_mass, "star mass, solar masses")
      .def_readwrite("planet1", &tandem::System::planet1, "the planet at exact resonance")
      .def_readwrite("planet2", &tandem::System::planet2, "the reference planet")
      .def("__repr__", [](const tandem::System& s) {
        return "System(star_mass=" + number(s.star_mass) + ", planet1=" + repr(s.planet1) +
               ", planet2=" + repr(s.planet2) + ")";
      });

  py::class_<tandem::Equilibrium>(m, "Equilibrium", R"(An equilibrium point of sigma.

sigma            degrees (a point of the one-degree grid)
stable           True at a minimum of R (libration), False at a maximum
period_years     small-amplitude libration period, years (None where none was set)
close_encounter  True when the point lies inside a close-encounter band)")
      .def(py::init([](double sigma, bool stable, std::optional<double> period,
                       bool close_encounter) {
             tandem::Equilibrium eq;
             eq.index = static_cast<int>(sigma);
             eq.sigma = sigma;
             eq.kind = stable ? tandem::EquilibriumKind::stable : tandem::EquilibriumKind::unstable;
             eq.period_years = period.value_or(0.0);
             eq.close_encounter = close_encounter;
             return eq;
           }),
           "sigma"_a, "stable"_a, "period_years"_a = py::none(), "close_encounter"_a = false)
      .def_readonly("sigma", &tandem::Equilibrium::sigma, "degrees")
      .def_property_readonly(
          "stable",
          [](const tandem::Equilibrium& eq) { return eq.kind == tandem::EquilibriumKind::stable; },
          "True for a stable equilibrium (a minimum of R)")
      .def_property_readonly("period_years", &period_or_none, "libration period, years, or None")
      .def_readonly("close_encounter", &tandem::Equilibrium::close_encounter,
                    "inside a close-encounter band")
      .def("__eq__",
           [](const tandem::Equilibrium& a, const tandem::Equilibrium& b) {
             return a.sigma == b.sigma && a.kind == b.kind && a.period_years == b.period_years &&
                    a.close_encounter == b.close_encounter;
           })
      .def("__repr__", [](const tandem::Equilibrium& eq) {
        const auto period = period_or_none(eq);
        return "Equilibrium(sigma=" + number(eq.sigma) +
               ", stable=" + (eq.kind == tandem::EquilibriumKind::stable ? "True" : "False") +
               ", period_years=" + (period ? number(*period) : std::string("None")) +
               ", close_encounter=" + (eq.close_encounter ? "True" : "False") + ")";
      });

  using tandem::Result;
  py::class_<Result>(m, "Result", R"(The result of solve. R-valued quantities in M_sun au^2/day^2.

Curve over sigma (numpy arrays of 360, point i at sigma = i degrees):
  sigma, r, r_minus_rmin, min_distance (closest approach, mutual Hill radii),
  close_encounter (bool), period_years (0 where no period)
Analysis: mean (<R>), rmin, rmax, amplitude, strength (<R> - Rmin), detectable,
  width_a1, width_a2 (full widths, au), equilibria (list of Equilibrium)
Orbits: a1, a2 (au), n1, n2 (rad/day), hii, rhs (mutual Hill radius, au), ipasos
Input: system, k2, k1)")
      .def_property_readonly(
          "sigma", [](const Result& r) { return to_numpy(r.curve.sigma); },
          "sigma of each grid point, degrees")
      .def_property_readonly(
          "r", [](const Result& r) { return to_numpy(r.curve.r); },
          "R averaged over the resonant cycle")
      .def_property_readonly(
          "r_minus_rmin", [](const Result& r) { return to_numpy(r.curve.r_minus_rmin); },
          "R - Rmin, as rsigma.dat prints it")
      .def_property_readonly(
          "min_distance", [](const Result& r) { return to_numpy(r.curve.min_distance); },
          "closest approach over the cycle, mutual Hill radii")
      .def_property_readonly(
          "close_encounter", [](const Result& r) { return to_numpy(r.curve.close_encounter); },
          "True where the planets came closer than 3 mutual Hill radii")
      .def_property_readonly(
          "period_years", [](const Result& r) { return to_numpy(r.curve.period_years); },
          "libration period at each grid point, years (0 where none)")
      .def_property_readonly(
          "mean", [](const Result& r) { return r.analysis.mean; }, "<R>")
      .def_property_readonly(
          "rmin", [](const Result& r) { return r.analysis.rmin; }, "Rmin")
      .def_property_readonly(
          "rmax", [](const Result& r) { return r.analysis.rmax; },
          "Rmax over points without close encounter")
      .def_property_readonly(
          "amplitude", [](const Result& r) { return r.analysis.amplitude; },
          "Rmax - Rmin after its floors (0 when undetectable)")
      .def_property_readonly(
          "strength", [](const Result& r) { return r.analysis.strength; }, "<R> - Rmin")
      .def_property_readonly(
          "detectable", [](const Result& r) { return r.analysis.detectable; },
          "False when the curve is flat up to rounding")
      .def_property_readonly(
          "width_a1", [](const Result& r) { return r.analysis.width_a1; },
          "full width of the resonance in a1, au")
      .def_property_readonly(
          "width_a2", [](const Result& r) { return r.analysis.width_a2; },
          "full width of the resonance in a2, au")
      .def_property_readonly(
          "equilibria", [](const Result& r) { return r.analysis.equilibria; },
          "every equilibrium, in increasing sigma")
      .def_property_readonly(
          "a1", [](const Result& r) { return r.orbit.a1; },
          "planet 1's semi-major axis at exact resonance, au")
      .def_property_readonly(
          "a2", [](const Result& r) { return r.orbit.a2; }, "planet 2's semi-major axis, au")
      .def_property_readonly(
          "n1", [](const Result& r) { return r.orbit.n1; }, "planet 1's mean motion, rad/day")
      .def_property_readonly(
          "n2", [](const Result& r) { return r.orbit.n2; }, "planet 2's mean motion, rad/day")
      .def_property_readonly(
          "hii", [](const Result& r) { return r.orbit.hii; },
          "curvature coefficient of the periods and widths")
      .def_property_readonly(
          "rhs", [](const Result& r) { return r.orbit.rhs; }, "mutual Hill radius, au")
      .def_property_readonly(
          "ipasos", [](const Result& r) { return r.orbit.ipasos; },
          "samples per resonant cycle, 1000*trunc(K2)")
      .def_property_readonly(
          "system", [](const Result& r) { return r.system; }, "the system solved")
      .def_property_readonly(
          "k2", [](const Result& r) { return r.resonance.k2; }, "K2")
      .def_property_readonly(
          "k1", [](const Result& r) { return r.resonance.k1; }, "K1")
      .def(
          "write_files",
          [](const Result& r, const std::filesystem::path& dir) {
            py::gil_scoped_release release;
            tandem::write_files(r, dir);
          },
          "dir"_a, R"(write_files(dir)

Rewrite dir/rsigma.dat and append one block to dir/resonance.dat, byte for byte what the
console program writes in dir for the same tandem.inp and answer. Raises OSError when a file
cannot be written (the message is the program's report).)")
      .def("__repr__", [](const Result& r) {
        return "<tandem.Result " + number(r.resonance.k2) + ":" + number(r.resonance.k1) +
               " strength=" + number(r.analysis.strength) +
               " equilibria=" + std::to_string(r.analysis.equilibria.size()) + ">";
      });

  m.def(
      "solve",
      [](const tandem::System& system, double k2, double k1, unsigned threads) {
        py::gil_scoped_release release;
        return tandem::solve(system, {k2, k1}, tandem::SolveOptions{threads});
      },
      "system"_a, "k2"_a, "k1"_a, "threads"_a = 0, solve_doc);

  m.def(
      "validate",
      [](const tandem::System& system, double k2, double k1) -> std::optional<std::string> {
        if (const auto problem = tandem::validate(system, {k2, k1})) {
          return tandem::message(*problem);
        }
        return std::nullopt;
      },
      "system"_a, "k2"_a, "k1"_a, R"(validate(system, k2, k1) -> str or None

The console program's words for the first value solve would refuse, or None.)");

  m.def(
      "read_input",
      [](const std::filesystem::path& file) {
        py::gil_scoped_release release;
        return tandem::read_input(file).system;
      },
      "path"_a, R"(read_input(path) -> System

Read a tandem.inp (comment line, star mass, comment line, planet 1 and planet 2 as
a e i node peri mass) with the console program's free-format reader and checks.
Raises OSError (FileNotFoundError, ...) when it cannot be opened, ValueError naming the
file, the line and the item when it is malformed or holds a value the program refuses.)");
  bind_verify(m);
  bind_phase_space(m);
}
