// The Python binding of the library: types with keyword constructors, numpy arrays for the
// curve, the library's refusals as ValueError and OSError. It converts and calls; it never
// computes, and the computation runs with the GIL released.
//
// The curve's arrays are read-only views into the Result that owns them (an assignment
// raises instead of changing a copy); period_years alone is a read-only array of its own,
// since it shows NaN where the library holds 0. A number that is not there is NaN, never None or 0:
// the libration period of a point without one, as Verification's values the run did not
// show; so numpy and pandas keep float columns and see them as missing. Every type pickles
// (bit for bit), so that multiprocessing and concurrent.futures can ship them.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>

#include "phase_binding.hpp"
#include "scan_binding.hpp"
#include "survey_binding.hpp"
#include "tandem/tandem.hpp"
#include "verify_binding.hpp"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

template <typename T>
void make_read_only(py::array_t<T>& array) {
  py::detail::array_proxy(array.ptr())->flags &= ~py::detail::npy_api::NPY_ARRAY_WRITEABLE_;
}

// A read-only numpy view of one of the result's arrays; `owner` (the Python Result) stays
// alive as long as the view does.
template <typename T, typename Stored = T>
py::array_t<T> view(const tandem::GridArray<Stored>& values, py::handle owner) {
  static_assert(sizeof(T) == sizeof(Stored));
  py::array_t<T> out(static_cast<py::ssize_t>(values.size()),
                     reinterpret_cast<const T*>(values.data()), owner);
  make_read_only(out);
  return out;
}

const tandem::Result& result_of(py::handle self) {
  return self.cast<const tandem::Result&>();
}

// The libration periods, NaN where none was set (the library writes 0 there).
py::array_t<double> periods_or_nan(const tandem::Result& r) {
  py::array_t<double> out(static_cast<py::ssize_t>(tandem::grid_points));
  double* p = out.mutable_data();
  for (std::size_t i = 0; i < r.curve.period_years.size(); ++i) {
    p[i] = r.curve.period_years[i] == 0 ? std::nan("") : r.curve.period_years[i];
  }
  make_read_only(out);
  return out;
}

// The bytes of a fixed-size array, and back: the pickled state keeps every bit.
template <typename T>
py::bytes bytes_of(const tandem::GridArray<T>& values) {
  return py::bytes(reinterpret_cast<const char*>(values.data()), sizeof values);
}

template <typename T>
void fill_from(const py::bytes& bytes, tandem::GridArray<T>& values) {
  const std::string text = bytes;
  if (text.size() != sizeof values) {
    throw std::runtime_error("a pickled tandem.Result of another layout");
  }
  std::memcpy(values.data(), text.data(), sizeof values);
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

double period_or_nan(const tandem::Equilibrium& eq) {
  return eq.period_years == 0 ? std::nan("") : eq.period_years;
}

py::tuple planet_state(const tandem::Planet& p) {
  return py::make_tuple(p.a, p.e, p.i, p.node, p.peri, p.mass);
}

tandem::Planet planet_from(const py::tuple& t) {
  return tandem::Planet{t[0].cast<double>(), t[1].cast<double>(), t[2].cast<double>(),
                        t[3].cast<double>(), t[4].cast<double>(), t[5].cast<double>()};
}

py::tuple equilibrium_state(const tandem::Equilibrium& eq) {
  return py::make_tuple(eq.index, eq.sigma, static_cast<int>(eq.kind), eq.period_years,
                        eq.close_encounter);
}

tandem::Equilibrium equilibrium_from(const py::tuple& t) {
  tandem::Equilibrium eq;
  eq.index = t[0].cast<int>();
  eq.sigma = t[1].cast<double>();
  eq.kind = static_cast<tandem::EquilibriumKind>(t[2].cast<int>());
  eq.period_years = t[3].cast<double>();
  eq.close_encounter = t[4].cast<bool>();
  return eq;
}

py::tuple result_state(const tandem::Result& r) {
  const tandem::OrbitQuantities& o = r.orbit;
  const tandem::Curve& c = r.curve;
  const tandem::Analysis& an = r.analysis;
  py::list equilibria;
  for (const tandem::Equilibrium& eq : an.equilibria) {
    equilibria.append(equilibrium_state(eq));
  }
  return py::make_tuple(py::make_tuple(r.system.star_mass, planet_state(r.system.planet1),
                                       planet_state(r.system.planet2)),
                        py::make_tuple(r.resonance.k2, r.resonance.k1),
                        py::make_tuple(o.a1, o.a2, o.n1, o.n2, o.hii, o.rhs, o.ipasos),
                        py::make_tuple(bytes_of(c.sigma), bytes_of(c.r), bytes_of(c.r_minus_rmin),
                                       bytes_of(c.min_distance), bytes_of(c.close_encounter),
                                       bytes_of(c.equilibrium), bytes_of(c.period_years)),
                        py::make_tuple(an.mean, an.rmin, an.rmax, an.amplitude, an.strength,
                                       an.detectable, an.width_a1, an.width_a2),
                        equilibria);
}

tandem::Result result_from(const py::tuple& t) {
  tandem::Result r;
  const auto system = t[0].cast<py::tuple>();
  r.system = {system[0].cast<double>(), planet_from(system[1].cast<py::tuple>()),
              planet_from(system[2].cast<py::tuple>())};
  const auto resonance = t[1].cast<py::tuple>();
  r.resonance = {resonance[0].cast<double>(), resonance[1].cast<double>()};
  const auto o = t[2].cast<py::tuple>();
  r.orbit = {o[0].cast<double>(), o[1].cast<double>(), o[2].cast<double>(), o[3].cast<double>(),
             o[4].cast<double>(), o[5].cast<double>(), o[6].cast<int>()};
  const auto c = t[3].cast<py::tuple>();
  fill_from(c[0].cast<py::bytes>(), r.curve.sigma);
  fill_from(c[1].cast<py::bytes>(), r.curve.r);
  fill_from(c[2].cast<py::bytes>(), r.curve.r_minus_rmin);
  fill_from(c[3].cast<py::bytes>(), r.curve.min_distance);
  fill_from(c[4].cast<py::bytes>(), r.curve.close_encounter);
  fill_from(c[5].cast<py::bytes>(), r.curve.equilibrium);
  fill_from(c[6].cast<py::bytes>(), r.curve.period_years);
  const auto an = t[4].cast<py::tuple>();
  r.analysis.mean = an[0].cast<double>();
  r.analysis.rmin = an[1].cast<double>();
  r.analysis.rmax = an[2].cast<double>();
  r.analysis.amplitude = an[3].cast<double>();
  r.analysis.strength = an[4].cast<double>();
  r.analysis.detectable = an[5].cast<bool>();
  r.analysis.width_a1 = an[6].cast<double>();
  r.analysis.width_a2 = an[7].cast<double>();
  for (const py::handle eq : t[5].cast<py::list>()) {
    r.analysis.equilibria.push_back(equilibrium_from(eq.cast<py::tuple>()));
  }
  return r;
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
      .def("__eq__",
           [](const tandem::Planet& x, const tandem::Planet& y) {
             return x.a == y.a && x.e == y.e && x.i == y.i && x.node == y.node &&
                    x.peri == y.peri && x.mass == y.mass;
           })
      .def(py::pickle(&planet_state, &planet_from))
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
      .def("__eq__",
           [](const tandem::System& x, const tandem::System& y) {
             return py::cast(x.planet1).equal(py::cast(y.planet1)) &&
                    py::cast(x.planet2).equal(py::cast(y.planet2)) && x.star_mass == y.star_mass;
           })
      .def(py::pickle(
          [](const tandem::System& x) {
            return py::make_tuple(x.star_mass, planet_state(x.planet1), planet_state(x.planet2));
          },
          [](const py::tuple& t) {
            return tandem::System{t[0].cast<double>(), planet_from(t[1].cast<py::tuple>()),
                                  planet_from(t[2].cast<py::tuple>())};
          }))
      .def("__repr__", [](const tandem::System& s) {
        return "System(star_mass=" + number(s.star_mass) + ", planet1=" + repr(s.planet1) +
               ", planet2=" + repr(s.planet2) + ")";
      });

  py::class_<tandem::Equilibrium>(m, "Equilibrium", R"(An equilibrium point of sigma.

sigma            degrees (a point of the one-degree grid)
stable           True at a minimum of R (libration), False at a maximum
period_years     small-amplitude libration period, years (NaN where none was set)
close_encounter  True when the point lies inside a close-encounter band)")
      .def(py::init([](double sigma, bool stable, std::optional<double> period,
                       bool close_encounter) {
             tandem::Equilibrium eq;
             eq.index = static_cast<int>(sigma);
             eq.sigma = sigma;
             eq.kind = stable ? tandem::EquilibriumKind::stable : tandem::EquilibriumKind::unstable;
             // NaN (or None) for no period: the library's 0.
             eq.period_years = period && !std::isnan(*period) ? *period : 0.0;
             eq.close_encounter = close_encounter;
             return eq;
           }),
           "sigma"_a, "stable"_a, "period_years"_a = std::nan(""), "close_encounter"_a = false)
      .def_readonly("sigma", &tandem::Equilibrium::sigma, "degrees")
      .def_property_readonly(
          "stable",
          [](const tandem::Equilibrium& eq) { return eq.kind == tandem::EquilibriumKind::stable; },
          "True for a stable equilibrium (a minimum of R)")
      .def_property_readonly("period_years", &period_or_nan, "libration period, years, or NaN")
      .def_readonly("close_encounter", &tandem::Equilibrium::close_encounter,
                    "inside a close-encounter band")
      .def("__eq__",
           [](const tandem::Equilibrium& a, const tandem::Equilibrium& b) {
             return a.sigma == b.sigma && a.kind == b.kind && a.period_years == b.period_years &&
                    a.close_encounter == b.close_encounter;
           })
      .def(py::pickle(&equilibrium_state, &equilibrium_from))
      .def("__repr__", [](const tandem::Equilibrium& eq) {
        return "Equilibrium(sigma=" + number(eq.sigma) +
               ", stable=" + (eq.kind == tandem::EquilibriumKind::stable ? "True" : "False") +
               ", period_years=" + number(period_or_nan(eq)) +
               ", close_encounter=" + (eq.close_encounter ? "True" : "False") + ")";
      });

  using tandem::Result;
  py::class_<Result> result(m, "Result",
                            R"(The result of solve. R-valued quantities in M_sun au^2/day^2.

Names follow the columns of tandem-scan's catalogue; the older short names remain as
aliases (a1 for a1_au, a2 for a2_au, mean for mean_r, width_a1 for width_a1_au, width_a2
for width_a2_au, min_distance for min_distance_hill).

Curve over sigma (read-only numpy arrays of 360, views into the result except
period_years; point i at sigma = i degrees):
  sigma, r, r_minus_rmin, min_distance_hill (closest approach, mutual Hill radii),
  close_encounter (bool), period_years (NaN where no period)
Analysis: mean_r (<R>), rmin, rmax, amplitude, strength (<R> - Rmin), detectable,
  width_a1_au, width_a2_au (full widths), equilibria (list of Equilibrium)
Orbits: a1_au, a2_au, n1, n2 (rad/day), hii, rhs (mutual Hill radius, au), ipasos
Input: system, k2, k1
to_frame() gives the curve as a pandas DataFrame, one row per sigma.)");
  const auto curve = [&result](const char* name, auto member, const char* doc) {
    result.def_property_readonly(
        name,
        [member](py::object self) {
          const auto& values = result_of(self).curve.*member;
          using Stored = typename std::decay_t<decltype(values)>::value_type;
          return view<Stored>(values, self);
        },
        doc);
  };
  curve("sigma", &tandem::Curve::sigma, "sigma of each grid point, degrees");
  curve("r", &tandem::Curve::r, "R averaged over the resonant cycle");
  curve("r_minus_rmin", &tandem::Curve::r_minus_rmin, "R - Rmin, as rsigma.dat prints it");
  curve("min_distance_hill", &tandem::Curve::min_distance,
        "closest approach over the cycle, mutual Hill radii");
  curve("min_distance", &tandem::Curve::min_distance, "alias of min_distance_hill");
  curve("close_encounter", &tandem::Curve::close_encounter,
        "True where the planets came closer than 3 mutual Hill radii");
  result.def_property_readonly(
      "_equilibrium_codes",
      [](py::object self) { return view<std::uint8_t>(result_of(self).curve.equilibrium, self); },
      "the label of each grid point: 0 none, 1 stable, 2 unstable");
  result.def_property_readonly(
      "period_years", [](const Result& r) { return periods_or_nan(r); },
      "libration period at each grid point, years (NaN where none)");
  const auto scalar = [&result](const char* name, auto get, const char* doc) {
    result.def_property_readonly(name, get, doc);
  };
  scalar(
      "mean_r", [](const Result& r) { return r.analysis.mean; }, "<R>");
  scalar(
      "mean", [](const Result& r) { return r.analysis.mean; }, "alias of mean_r");
  scalar(
      "rmin", [](const Result& r) { return r.analysis.rmin; }, "Rmin");
  scalar(
      "rmax", [](const Result& r) { return r.analysis.rmax; },
      "Rmax over points without close encounter");
  scalar(
      "amplitude", [](const Result& r) { return r.analysis.amplitude; },
      "Rmax - Rmin after its floors (0 when undetectable)");
  scalar(
      "strength", [](const Result& r) { return r.analysis.strength; }, "<R> - Rmin");
  scalar(
      "detectable", [](const Result& r) { return r.analysis.detectable; },
      "False when the curve is flat up to rounding");
  scalar(
      "width_a1_au", [](const Result& r) { return r.analysis.width_a1; },
      "full width of the resonance in a1, au");
  scalar(
      "width_a1", [](const Result& r) { return r.analysis.width_a1; }, "alias of width_a1_au");
  scalar(
      "width_a2_au", [](const Result& r) { return r.analysis.width_a2; },
      "full width of the resonance in a2, au");
  scalar(
      "width_a2", [](const Result& r) { return r.analysis.width_a2; }, "alias of width_a2_au");
  scalar(
      "equilibria", [](const Result& r) { return r.analysis.equilibria; },
      "every equilibrium, in increasing sigma");
  scalar(
      "a1_au", [](const Result& r) { return r.orbit.a1; },
      "planet 1's semi-major axis at exact resonance, au");
  scalar(
      "a1", [](const Result& r) { return r.orbit.a1; }, "alias of a1_au");
  scalar(
      "a2_au", [](const Result& r) { return r.orbit.a2; }, "planet 2's semi-major axis, au");
  scalar(
      "a2", [](const Result& r) { return r.orbit.a2; }, "alias of a2_au");
  scalar(
      "n1", [](const Result& r) { return r.orbit.n1; }, "planet 1's mean motion, rad/day");
  scalar(
      "n2", [](const Result& r) { return r.orbit.n2; }, "planet 2's mean motion, rad/day");
  scalar(
      "hii", [](const Result& r) { return r.orbit.hii; },
      "curvature coefficient of the periods and widths");
  scalar(
      "rhs", [](const Result& r) { return r.orbit.rhs; }, "mutual Hill radius, au");
  scalar(
      "ipasos", [](const Result& r) { return r.orbit.ipasos; },
      "samples per resonant cycle, 1000*trunc(K2)");
  scalar(
      "system", [](const Result& r) { return r.system; }, "the system solved");
  scalar(
      "k2", [](const Result& r) { return r.resonance.k2; }, "K2");
  scalar(
      "k1", [](const Result& r) { return r.resonance.k1; }, "K1");
  result.def(py::pickle(&result_state, &result_from))
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
      [](const tandem::System& system, double k2, double k1, long long threads) {
        // A count below 0 is a wrong value, not a wrong type; more than the grid's 360
        // threads are never started.
        if (threads < 0) {
          throw py::value_error("threads must be 0 (every processor) or a positive number, not " +
                                std::to_string(threads));
        }
        const unsigned count = static_cast<unsigned>(std::min<long long>(threads, 1'000'000));
        py::gil_scoped_release release;
        return tandem::solve(system, {k2, k1}, tandem::SolveOptions{count});
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
  m.def(
      "_read_input",
      [](const std::filesystem::path& file) {
        py::gil_scoped_release release;
        tandem::InputFile input = tandem::read_input(file);
        return std::make_pair(input.system, input.name);
      },
      "path"_a, "read_input, with line 1 of the file: (System, name).");
  bind_verify(m);
  bind_phase_space(m);
  bind_scan(m);
  bind_survey(m);
}
