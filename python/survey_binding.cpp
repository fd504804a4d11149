// The Python binding of the survey of real bodies: tandem.read_bodies(path) and
// tandem.survey(bodies, ...), both returning pandas DataFrames; the survey's columns are
// tandem-survey's. It converts and calls; the survey runs with the GIL released.

#include "survey_binding.hpp"

#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <cmath>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "survey/nbody_stage.hpp"
#include "survey/rows.hpp"
#include "tandem/bodies.hpp"
#include "tandem/solve.hpp"
#include "tandem/survey.hpp"
#include "tandem/survey_nbody.hpp"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

const std::vector<std::string> body_columns{
    "name",        "epoch_jd",         "a_au",     "e", "i_deg", "node_deg",
    "argperi_deg", "mean_anomaly_deg", "mass_msun"};

py::object data_frame(const py::dict& columns, const std::vector<std::string>& order) {
  return py::module_::import("pandas").attr("DataFrame")(columns, "columns"_a = order);
}

py::object read_bodies(const std::filesystem::path& path, const std::string& format) {
  const auto f = tandem::parse_bodies_format(format);
  if (!f) {
    throw py::value_error("format must be detect, mpc, sbdb or csv, not " + format);
  }
  std::ifstream in(path);
  if (!in) {
    throw py::value_error("cannot open " + path.string());
  }
  std::vector<tandem::Body> bodies;
  std::vector<tandem::SkippedRow> skipped;
  {
    py::gil_scoped_release release;
    tandem::BodyReader reader(in, *f);
    for (auto row = reader.next(); !row.end(); row = reader.next()) {
      if (row.body) {
        bodies.push_back(std::move(*row.body));
      } else {
        skipped.push_back(*row.skipped);
      }
    }
  }
  const auto warn = py::module_::import("warnings").attr("warn");
  for (const auto& s : skipped) {
    warn(path.string() + ":" + std::to_string(s.line) + ": field " + s.field + ": " + s.reason +
         "; row left out");
  }
  py::list name, epoch, a, e, i, node, argperi, m, mass;
  for (const auto& b : bodies) {
    name.append(b.name);
    epoch.append(b.epoch_jd);
    a.append(b.a);
    e.append(b.e);
    i.append(b.i);
    node.append(b.node);
    argperi.append(b.argperi);
    m.append(b.mean_anomaly);
    mass.append(b.mass ? py::cast(*b.mass) : py::cast(std::nan("")));
  }
  py::dict cols;
  const py::list lists[] = {name, epoch, a, e, i, node, argperi, m, mass};
  for (std::size_t k = 0; k < body_columns.size(); ++k) {
    cols[py::str(body_columns[k])] = lists[k];
  }
  return data_frame(cols, body_columns);
}

std::vector<tandem::Body> bodies_of(const py::object& frame) {
  for (const auto& c : body_columns) {
    if (c != "mass_msun" && !py::bool_(frame.attr("__contains__")(c))) {
      throw py::value_error("bodies need a column " + c + " (as tandem.read_bodies gives)");
    }
  }
  const bool has_mass = py::bool_(frame.attr("__contains__")("mass_msun"));
  const auto column = [&](const char* c) {
    return frame.attr("__getitem__")(c).attr("tolist")().cast<std::vector<double>>();
  };
  const auto names = frame.attr("__getitem__")("name")
                         .attr("astype")("str")
                         .attr("tolist")()
                         .cast<std::vector<std::string>>();
  const auto epoch = column("epoch_jd"), a = column("a_au"), e = column("e"), i = column("i_deg"),
             node = column("node_deg"), w = column("argperi_deg"), m = column("mean_anomaly_deg");
  const auto mass =
      has_mass ? column("mass_msun") : std::vector<double>(names.size(), std::nan(""));
  std::vector<tandem::Body> out(names.size());
  for (std::size_t k = 0; k < out.size(); ++k) {
    out[k] = {names[k], epoch[k], a[k], e[k], i[k], node[k], w[k], m[k], {}};
    if (std::isfinite(mass[k])) {
      out[k].mass = mass[k];
    }
  }
  return out;
}

// The zones_phi_deg column: one dict per zone (centre_deg, phi_min_deg, phi_max_deg,
// width_au, close_encounter), as the program's JSON Lines give it.
py::list zones_list(const std::vector<tandem::SurveyZone>& zones) {
  py::list out;
  for (const tandem::SurveyZone& z : zones) {
    py::dict d;
    d["centre_deg"] = z.centre;
    d["phi_min_deg"] = z.phi_min;
    d["phi_max_deg"] = z.phi_max;
    d["width_au"] = z.width;
    d["close_encounter"] = z.close_encounter;
    out.append(d);
  }
  return out;
}

py::object survey(const py::object& frame, std::optional<std::string> perturber,
                  std::pair<int, int> order, int max_k2, double window, double body_mass,
                  const std::string& elements, std::optional<std::filesystem::path> planets_file,
                  double star_mass, bool best, unsigned threads, bool nbody,
                  const std::string& integrate, std::optional<double> length) {
  tandem::SurveyOptions o;
  o.order_min = order.first;
  o.order_max = order.second;
  o.max_k2 = max_k2;
  o.window_au = window;
  o.body_mass = body_mass;
  o.perturber = perturber;
  if (elements != "barycentric" && elements != "heliocentric") {
    throw py::value_error("elements must be barycentric or heliocentric");
  }
  if (!(order.first >= 0 && order.first <= order.second) || max_k2 < 1 || max_k2 > 50 ||
      !(window >= 0) || !(body_mass > 0)) {
    throw py::value_error(
        "order must be (min, max) with 0 <= min <= max, max_k2 in 1..50, "
        "window >= 0, body_mass > 0");
  }
  o.elements = elements == "barycentric" ? tandem::ElementsKind::barycentric
                                         : tandem::ElementsKind::heliocentric;
  tandem::Planets planets = tandem::standard_planets();
  if (planets_file) {
    std::ifstream in(*planets_file);
    if (!in) {
      throw py::value_error("cannot open " + planets_file->string());
    }
    planets = tandem::read_planets(in, star_mass);
  }
  tandem::NbodyOptions no;
  if (integrate == "perturber" || integrate == "giants") {
    no.integrate = integrate == "giants" ? tandem::IntegratedPlanets::giants
                                         : tandem::IntegratedPlanets::perturber;
  } else {
    no.integrate = tandem::IntegratedPlanets::list;
    std::size_t from = 0;
    while (from <= integrate.size()) {
      const std::size_t comma = std::min(integrate.find(',', from), integrate.size());
      no.planets.push_back(integrate.substr(from, comma - from));
      from = comma + 1;
    }
  }
  if (length && !(*length > 0)) {
    throw py::value_error("length must be positive");
  }
  no.length_years = length;
  const std::vector<tandem::Body> bodies = bodies_of(frame);
  std::vector<tandem::BodySurvey> surveyed;
  std::vector<std::vector<tandem::NbodyColumns>> checked;
  {
    py::gil_scoped_release release;
    surveyed = tandem::survey_bodies(bodies, planets, o, threads);
    if (nbody) {
      checked = tandem::check_survey(bodies, surveyed, planets, o, no,
                                     threads == 0 ? tandem::available_processors() : threads);
    }
  }
  // The program's own column names, so that the DataFrame cannot drift from its catalogue.
  std::vector<std::string> names = tandem::survey_program::row_columns();
  const std::size_t model_columns = names.size();
  if (nbody) {
    for (const std::string& n : tandem::survey_program::nbody_columns()) {
      names.push_back(n);
    }
  }
  std::vector<py::list> cols(names.size());
  const auto warn = py::module_::import("warnings").attr("warn");
  const auto add_nbody = [&](const tandem::NbodyColumns* c) {
    if (!nbody) {
      return;
    }
    if (!c) {
      for (std::size_t k = model_columns; k < names.size(); ++k) {
        cols[k].append(py::none());
      }
      return;
    }
    py::list flags;
    if (c->low_eccentricity) {
      flags.append("low e");
    }
    if (c->near_separatrix) {
      flags.append("near separatrix");
    }
    const py::object values[] = {py::cast(c->length_years),
                                 py::cast(c->fraction),
                                 py::cast(c->centre_deg),
                                 py::cast(c->amplitude_deg),
                                 py::cast(c->period_years),
                                 py::cast(std::string(tandem::name(c->stop))),
                                 flags,
                                 py::cast(std::string(tandem::name(c->verdict)))};
    for (std::size_t k = model_columns; k < names.size(); ++k) {
      cols[k].append(values[k - model_columns]);
    }
  };
  const auto add = [&](const tandem::SurveyRow& r) {
    const py::object values[] = {
        py::cast(r.body),
        py::cast(r.epoch_jd),
        py::cast(r.perturber),
        py::cast(r.side == tandem::SurveySide::inside ? "inside" : "outside"),
        py::cast(r.k2),
        py::cast(r.k1),
        py::cast(r.order),
        py::cast(r.a),
        py::cast(r.e),
        py::cast(r.i),
        py::cast(r.a_res),
        py::cast(r.delta_a),
        py::cast(r.strength),
        py::cast(r.width),
        py::cast(r.phi),
        py::cast(r.sigma),
        py::cast(std::string(tandem::name(r.model_regime))),
        py::cast(r.model_centre),
        py::cast(r.model_phi_min),
        py::cast(r.model_phi_max),
        py::cast(r.model_amplitude),
        py::cast(r.model_period_years),
        py::cast(r.close_encounter),
        py::cast(r.stable_phi),
        py::cast(r.pendulum_zone),
        zones_list(r.zones)};
    for (std::size_t k = 0; k < model_columns; ++k) {
      cols[k].append(values[k]);
    }
  };
  for (std::size_t b = 0; b < surveyed.size(); ++b) {
    const auto& s = surveyed[b];
    if (!s.failure.empty()) {
      warn(bodies[b].name + " left out: " + s.failure);
      continue;
    }
    if (!best) {
      for (std::size_t k = 0; k < s.rows.size(); ++k) {
        add(s.rows[k]);
        add_nbody(nbody ? &checked[b][k] : nullptr);
      }
      continue;
    }
    // The candidate the body is found resonant in, else the one the model puts it in, else
    // the body alone.
    const std::size_t pick =
        nbody ? tandem::best_checked_row(s.rows, checked[b]) : tandem::best_candidate(s.rows);
    if (pick < s.rows.size()) {
      add(s.rows[pick]);
      add_nbody(nbody ? &checked[b][pick] : nullptr);
      continue;
    }
    for (std::size_t k = 0; k < names.size(); ++k) {
      cols[k].append(py::none());
    }
    cols[0][cols[0].size() - 1] = py::cast(bodies[b].name);
    cols[1][cols[1].size() - 1] = py::cast(bodies[b].epoch_jd);
    cols[model_columns - 1][cols[model_columns - 1].size() - 1] = py::cast(false);
  }
  py::dict d;
  for (std::size_t k = 0; k < names.size(); ++k) {
    d[py::str(names[k])] = cols[k];
  }
  return data_frame(d, names);
}

}  // namespace

void bind_survey(py::module_& m) {
  m.def("read_bodies", &read_bodies, "path"_a, "format"_a = "detect",
        R"(read_bodies(path, format="detect") -> pandas.DataFrame

Read an orbit catalogue: the MPC's fixed-width format (MPCORB.DAT, Distant.txt; packed
designations and epochs decoded), a JPL Small-Body Database CSV export, or a plain CSV
name,epoch_jd,a_au,e,i_deg,node_deg,argperi_deg,mean_anomaly_deg[,mass_msun]. Columns:
name, epoch_jd, a_au, e, i_deg, node_deg, argperi_deg, mean_anomaly_deg, mass_msun (NaN
where none is given); heliocentric ecliptic J2000 elements. A row that cannot be read is
left out with a warning naming the line and the field.)");
  m.def("survey", &survey, "bodies"_a, "perturber"_a = py::none(),
        "order"_a = std::pair<int, int>{0, 4}, "max_k2"_a = 20, "window"_a = 0.5,
        "body_mass"_a = 1e-12, "elements"_a = "barycentric", "planets"_a = py::none(),
        "star_mass"_a = 1.0, "best"_a = false, "threads"_a = 0, "nbody"_a = false,
        "integrate"_a = "perturber", "length"_a = py::none(),
        R"(survey(bodies, perturber=None, order=(0, 4), max_k2=20, window=0.5,
       body_mass=1e-12, elements="barycentric", planets=None, star_mass=1.0,
       best=False, threads=0, nbody=False, integrate="perturber", length=None)
       -> pandas.DataFrame

For each body (a DataFrame as read_bodies gives), every resonance K2:K1 with the perturber
whose nominal location lies within `window` au of the body's a, solved as tandem.solve
does: the columns of tandem-survey (body, epoch_jd, perturber, side, k2, k1, order, a_au,
e, i_deg, a_res_au, delta_a_au, strength, width_au, phi_deg, sigma_deg, model_regime,
model_centre_deg, model_phi_min_deg, model_phi_max_deg, model_amplitude_deg,
model_period_years, close_encounter, stable_phi_deg, pendulum_zone, zones_phi_deg). nbody=True adds the
N-body check of each row, as tandem-survey does by default: nbody_length_years,
nbody_fraction, nbody_centre_deg, nbody_amplitude_deg, nbody_period_years, nbody_stop,
nbody_flags (a list), verdict; integrate "perturber", "giants" or planet names joined by
commas; length in years (None: 10 000 for a body inside Jupiter with Jupiter as perturber,
100 000 otherwise). planets: a CSV with mass_msun per planet (default: JPL's approximate
elements of the eight planets). best=True: one row per body. The GIL is released while
it computes.)");
}
