#include "scan/rows.hpp"

#include <cmath>

namespace tandem::scan {

using common::Cell;
using nlohmann::ordered_json;

const std::vector<std::string>& row_columns(bool verified) {
  static const std::vector<std::string> columns = {"index",
                                                   "total",
                                                   "name",
                                                   "k2",
                                                   "k1",
                                                   "order",
                                                   "a1_au",
                                                   "a2_au",
                                                   "period_ratio",
                                                   "mean_r",
                                                   "rmin",
                                                   "rmax",
                                                   "strength",
                                                   "amplitude",
                                                   "detectable",
                                                   "width_a1_au",
                                                   "width_a2_au",
                                                   "stable",
                                                   "unstable",
                                                   "close_encounters",
                                                   "min_distance_hill",
                                                   "placed"};
  // The zones column comes last, after the verify column where there is one.
  static const std::vector<std::string> plain = [] {
    std::vector<std::string> all = columns;
    all.push_back("zones");
    return all;
  }();
  static const std::vector<std::string> with_verify = [] {
    std::vector<std::string> all = columns;
    all.push_back("verify");
    all.push_back("zones");
    return all;
  }();
  return verified ? with_verify : plain;
}

std::vector<SigmaRange> close_encounter_ranges(const GridArray<bool>& ce) {
  std::vector<SigmaRange> ranges;
  for (int i = 0; i < grid_points; ++i) {
    if (ce[i] && (i == 0 || !ce[i - 1])) {
      int end = i;
      while (end + 1 < grid_points && ce[end + 1]) {
        ++end;
      }
      ranges.push_back({i, end});
    }
  }
  // 359 and 0 are neighbours: a run ending at 359 continues the one starting at 0.
  if (ranges.size() >= 2 && ranges.front().lo == 0 && ranges.back().hi == grid_points - 1) {
    ranges.back().hi = ranges.front().hi;
    ranges.erase(ranges.begin());
  }
  return ranges;
}

namespace {

Cell equilibria_cell(const std::vector<Equilibrium>& all, EquilibriumKind kind) {
  std::string csv;
  ordered_json json = ordered_json::array();
  for (const Equilibrium& e : all) {
    if (e.kind != kind) {
      continue;
    }
    if (!csv.empty()) {
      csv += ';';
    }
    csv += common::real_text(e.sigma);
    if (e.period_years != 0) {
      csv += ':';
      csv += common::real_text(e.period_years);
    }
    if (e.close_encounter) {
      csv += '*';
    }
    json.push_back({{"sigma", e.sigma},
                    {"period_years", e.period_years},
                    {"close_encounter", e.close_encounter}});
  }
  return common::composite_cell(csv, json);
}

Cell ranges_cell(const std::vector<SigmaRange>& ranges) {
  std::string csv;
  ordered_json json = ordered_json::array();
  for (const SigmaRange& r : ranges) {
    if (!csv.empty()) {
      csv += ';';
    }
    csv += std::to_string(r.lo) + "-" + std::to_string(r.hi);
    json.push_back({r.lo, r.hi});
  }
  return common::composite_cell(csv, json);
}

// The least closest approach over the grid; values that are not numbers are passed over.
double least_distance(const GridArray<double>& md) {
  double least = NAN;
  for (double d : md) {
    if (std::isnan(least) || d < least) {
      least = d;
    }
  }
  return least;
}

}  // namespace

std::vector<Cell> row_cells(const RowPlace& place, const std::string& name,
                            const PlannedResonance& planned, const Result& result) {
  const ResonancePair& r = planned.resonance;
  const Analysis& an = result.analysis;
  return {common::integer_cell(place.index),
          common::integer_cell(place.total),
          common::text_cell(name),
          common::integer_cell(r.k2),
          common::integer_cell(r.k1),
          common::integer_cell(r.k2 - r.k1),
          common::real_cell(result.orbit.a1),
          common::real_cell(result.orbit.a2),
          common::real_cell(static_cast<double>(r.k2) / r.k1),
          common::real_cell(an.mean),
          common::real_cell(an.rmin),
          common::real_cell(an.rmax),
          common::real_cell(an.strength),
          common::real_cell(an.amplitude),
          common::bool_cell(an.detectable),
          common::real_cell(an.width_a1),
          common::real_cell(an.width_a2),
          equilibria_cell(an.equilibria, EquilibriumKind::stable),
          equilibria_cell(an.equilibria, EquilibriumKind::unstable),
          ranges_cell(close_encounter_ranges(result.curve.close_encounter)),
          common::real_cell(least_distance(result.curve.min_distance)),
          common::text_cell(placement_text(place.placement))};
}

Cell verify_cell(const std::vector<Verification>& verifications) {
  std::string csv;
  ordered_json json = ordered_json::array();
  for (const Verification& v : verifications) {
    if (!csv.empty()) {
      csv += ';';
    }
    csv += common::real_text(v.sigma_deg) + ":" + std::string(name(v.verdict)) + ":" +
           common::real_text(v.measured_centre_deg) + ":" +
           common::real_text(v.measured_period_years);
    json.push_back({{"sigma_deg", v.sigma_deg},
                    {"verdict", std::string(name(v.verdict))},
                    {"measured_centre_deg", v.measured_centre_deg},
                    {"measured_period_years", v.measured_period_years},
                    {"amplitude_deg", v.amplitude_deg},
                    {"energy_error", v.energy_error}});
  }
  return common::composite_cell(csv, json);
}

}  // namespace tandem::scan
