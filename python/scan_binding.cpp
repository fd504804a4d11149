// The binding of tandem.scan: the resonances planned, solved and written into catalogue
// rows by tandem-scan's own modules (scan/plan, scan/scheduler, scan/rows), so that a
// DataFrame holds the program's columns with the same bits. The options arrive as the
// program's texts ("3:2", "3.0:4.6", "1-3"), read by the program's parsers and refused with
// its words. The computation runs with the GIL released; Ctrl-C stops it between results.

#include "scan_binding.hpp"

#include <pybind11/stl.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "common/catalogue.hpp"
#include "scan/plan.hpp"
#include "scan/request.hpp"
#include "scan/rows.hpp"
#include "scan/scheduler.hpp"
#include "scan/zones.hpp"
#include "tandem/tandem.hpp"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

using tandem::common::Cell;
namespace scan = tandem::scan;

template <typename T>
T parsed_or_raise(scan::Parsed<T>&& parsed) {
  if (auto* why = std::get_if<std::string>(&parsed)) {
    throw py::value_error(*why);
  }
  return std::get<T>(std::move(parsed));
}

// The cell as a Python value: reals read back from their shortest text (the same double,
// nan where the catalogue writes nan), whole numbers, booleans, and the text of the CSV
// field for names, equilibria and ranges.
py::object value_of(const Cell& cell) {
  switch (cell.kind) {
    case Cell::Kind::real: {
      double x = 0;
      const auto [end, error] =
          std::from_chars(cell.csv.data(), cell.csv.data() + cell.csv.size(), x);
      if (error != std::errc() || end != cell.csv.data() + cell.csv.size()) {
        throw std::logic_error("a real cell that does not read back: " + cell.csv);
      }
      return py::float_(x);
    }
    case Cell::Kind::integer:
      return py::int_(std::stoll(cell.csv));
    case Cell::Kind::boolean:
      return py::bool_(cell.csv == "true");
    case Cell::Kind::text:
    case Cell::Kind::composite:
      break;
  }
  return py::str(cell.csv);
}

scan::ScanRequest request_of(const std::optional<std::vector<std::string>>& resonances,
                             const std::optional<std::string>& window_option,
                             const std::string& window, const std::optional<std::string>& order,
                             int max_k2, const std::string& place) {
  scan::ScanRequest request;
  request.placement = parsed_or_raise(scan::parse_placement(place));
  const bool planet2 = request.placement == scan::Placement::planet2;
  const bool enumerating = window_option || order || max_k2 != 0;
  if (resonances) {
    if (enumerating) {
      throw py::value_error(
          "give either resonances or an enumeration (a1, a2 or ratio, order, max_k2), not both");
    }
    request.what = parsed_or_raise(scan::parse_resonances(*resonances));
    return request;
  }
  if (!window_option) {
    throw py::value_error(enumerating ? "an enumeration needs a window: a1, a2 or ratio"
                                      : "nothing to compute: give resonances or a window "
                                        "(a1, a2 or ratio)");
  }
  if (*window_option == "--a1" && planet2) {
    throw py::value_error("a1 bounds planet 1 placed at resonance; with place='planet2' give a2");
  }
  if (*window_option == "--a2" && !planet2) {
    throw py::value_error("a2 bounds planet 2 placed at resonance: it needs place='planet2'");
  }
  scan::Enumeration e = parsed_or_raise(scan::parse_window(*window_option, window));
  if (order) {
    const auto [lo, hi] = parsed_or_raise(scan::parse_order(*order));
    e.order_min = lo;
    e.order_max = hi;
  }
  if (max_k2 != 0) {
    if (max_k2 < 1 || max_k2 > tandem::common::max_k2) {
      throw py::value_error("max_k2 " + std::to_string(max_k2) + ": K2 runs from 1 to at most 50");
    }
    e.max_k2 = max_k2;
  }
  request.what = e;
  return request;
}

py::tuple scan_rows(const tandem::System& system, const std::string& name,
                    const std::optional<std::vector<std::string>>& resonances,
                    const std::optional<std::string>& window_option, const std::string& window,
                    const std::optional<std::string>& order, int max_k2, const std::string& place,
                    unsigned threads) {
  const scan::ScanRequest request =
      request_of(resonances, window_option, window, order, max_k2, place);
  const scan::Placement placement = request.placement;
  const double a1 = system.planet1.a;
  if (placement == scan::Placement::planet2 && !(std::isfinite(a1) && a1 > 0)) {
    throw py::value_error(
        "with place='planet2' planet 1 keeps its semi-major axis, which must be positive, but "
        "it is " +
        tandem::common::real_text(a1));
  }
  std::vector<scan::PlannedResonance> plan = scan::plan_scan(system, request);
  const int total = static_cast<int>(plan.size());
  std::vector<std::vector<Cell>> rows(plan.size());
  bool interrupted = false;
  {
    py::gil_scoped_release release;
    scan::ScanCallbacks callbacks;
    callbacks.finished = [&](std::size_t job, scan::Solved&& solved) {
      const scan::RowPlace row_place{static_cast<int>(job) + 1, total, placement};
      rows[job] = scan::row_cells(row_place, name, plan[job], solved.result);
      rows[job].push_back(scan::zones_cell(solved.result));
    };
    callbacks.go_on = [&] {
      py::gil_scoped_acquire acquire;
      interrupted = PyErr_CheckSignals() != 0;
      return !interrupted;
    };
    const unsigned workers = threads == 0 ? tandem::available_processors() : threads;
    scan::run_scan(plan, {workers, scan::Sharing::resonances, std::chrono::milliseconds(100), {}},
                   callbacks);
  }
  if (interrupted) {
    throw py::error_already_set();
  }
  py::list columns;
  for (const std::string& column : scan::row_columns()) {
    columns.append(column);
  }
  py::list values;
  for (const std::vector<Cell>& row : rows) {
    py::list line;
    for (const Cell& cell : row) {
      line.append(value_of(cell));
    }
    values.append(line);
  }
  return py::make_tuple(columns, values);
}

}  // namespace

void bind_scan(py::module_& m) {
  m.def("_scan_rows", &scan_rows, "system"_a, "name"_a, "resonances"_a, "window_option"_a,
        "window"_a, "order"_a, "max_k2"_a, "place"_a, "threads"_a,
        "The columns and rows of tandem-scan's catalogue (tandem.scan makes the DataFrame).");
}
