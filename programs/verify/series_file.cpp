#include "series_file.hpp"

#include "common/catalogue.hpp"

namespace tandem::verify_cli {

std::string series_text(const Resonance& resonance, const std::vector<Verification>& rows) {
  using common::real_text;
  std::string out = "# tandem-verify sigma(t): t_years sigma_deg smoothed_deg\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Verification& v = rows[i];
    if (i > 0) {
      out += "\n\n";
    }
    std::string verdict(name(v.verdict));
    for (char& c : verdict) {
      c = c == ' ' ? '_' : c;
    }
    out += "# equilibrium k2=" + real_text(resonance.k2) + " k1=" + real_text(resonance.k1) +
           " sigma_deg=" + real_text(v.sigma_deg) +
           " start_sigma_deg=" + real_text(v.start_sigma_deg) +
           " predicted_period_years=" + real_text(v.predicted_period_years) +
           " verdict=" + verdict + " measured_centre_deg=" + real_text(v.measured_centre_deg) +
           " measured_period_years=" + real_text(v.measured_period_years) + "\n";
    for (const SeriesPoint& p : v.series) {
      out += real_text(p.t_years) + " " + real_text(p.sigma_deg) + " " + real_text(p.smoothed_deg) +
             "\n";
    }
  }
  return out;
}

}  // namespace tandem::verify_cli
