#include "scan/zones.hpp"

#include <cmath>
#include <string>

#include "tandem/phase_space.hpp"

namespace tandem::scan {
namespace {

using nlohmann::ordered_json;

double circle(double deg) {
  return deg - 360 * std::floor(deg / 360);
}

const Zone* zone_at(const PhaseSpace& ps, int index) {
  for (const Zone& z : ps.zones) {
    if (z.equilibrium_index == index) {
      return &z;
    }
  }
  return nullptr;
}

}  // namespace

common::Cell zones_cell(const Result& result) {
  const PhaseSpace ps = phase_space(result);
  std::string csv;
  ordered_json json = ordered_json::array();
  for (const Equilibrium& e : result.analysis.equilibria) {
    if (e.kind != EquilibriumKind::stable) {
      continue;
    }
    if (!csv.empty()) {
      csv += ';';
    }
    csv += common::real_text(e.sigma);
    const Zone* z = zone_at(ps, e.index);
    if (z == nullptr) {
      json.push_back({{"sigma", e.sigma},
                      {"centre_deg", nullptr},
                      {"sigma_min_deg", nullptr},
                      {"sigma_max_deg", nullptr},
                      {"barrier_deg", nullptr},
                      {"width_a1_au", nullptr},
                      {"width_a2_au", nullptr},
                      {"close_encounter", nullptr},
                      {"horseshoe_with", nullptr}});
      continue;
    }
    csv += ':' + common::real_text(circle(z->sigma_min)) + '-' +
           common::real_text(circle(z->sigma_max)) + ':' + common::real_text(z->width_a1) + ':' +
           common::real_text(z->width_a2);
    if (z->close_encounter) {
      csv += '*';
    }
    ordered_json with = ordered_json::array();
    for (const int other : z->horseshoe_with) {
      with.push_back(ps.zones[static_cast<std::size_t>(other)].sigma);
    }
    json.push_back({{"sigma", e.sigma},
                    {"centre_deg", z->sigma},
                    {"sigma_min_deg", z->sigma_min},
                    {"sigma_max_deg", z->sigma_max},
                    {"barrier_deg", z->barrier_sigma},
                    {"width_a1_au", z->width_a1},
                    {"width_a2_au", z->width_a2},
                    {"close_encounter", z->close_encounter},
                    {"horseshoe_with", with}});
  }
  return common::composite_cell(csv, json);
}

}  // namespace tandem::scan
