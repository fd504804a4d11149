#include "table.hpp"

#include <array>
#include <charconv>
#include <cmath>

#include "common/catalogue.hpp"

namespace tandem::verify_cli {
namespace {

// x by std::to_chars; "-" when not finite, asterisks when the conversion fails (the
// buffer holds any double in fixed notation with up to 180 decimals).
std::string converted(double x, std::chars_format format, int precision) {
  if (!std::isfinite(x)) {
    return "-";
  }
  std::array<char, 512> buf;
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), x, format, precision);
  if (res.ec != std::errc()) {
    return "***";
  }
  return std::string(buf.data(), res.ptr);
}

std::string scientific(double x, int digits) {
  return converted(x, std::chars_format::scientific, digits);
}

std::string significant(double x, int digits) {
  return converted(x, std::chars_format::general, digits);
}

std::string signed_fixed(double x, int decimals) {
  const std::string text = fixed(x, decimals);
  return std::isfinite(x) && x >= 0 ? "+" + text : text;
}

std::string right(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string left(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string whole(double k) {
  return std::to_string(static_cast<long long>(k));
}

// sigma = K1 lambda1 - K2 lambda2 + (K2 - K1) varpi1, with the numbers of the resonance.
std::string critical_angle(const Resonance& r) {
  std::string text = "sigma = " + whole(r.k1) + " lambda1 - " + whole(r.k2) + " lambda2";
  if (r.k2 != r.k1) {
    text += " + " + whole(r.k2 - r.k1) + " varpi1";
  }
  return text;
}

std::string ending(const Verification& v) {
  std::string text(name(v.stop));
  if (v.stop == StopReason::close_encounter) {
    text += " (" + fixed(v.min_distance_hill, 2) + " Hill radii)";
  } else if (v.librates) {
    text += ", " + std::to_string(v.librations) + " librations";
  } else {
    text += ", circulates";
  }
  return text;
}

}  // namespace

std::string fixed(double x, int decimals) {
  return converted(x, std::chars_format::fixed, decimals);
}

std::string table_text(const TableHeading& h, const std::vector<Verification>& rows) {
  const VerifyOptions& o = h.options;
  std::string out = "Resonance " + whole(h.resonance.k2) + ":" + whole(h.resonance.k1) + ", " +
                    critical_angle(h.resonance) + "   (" + h.input + ")\n";
  out += "Each start " + common::real_text(o.offset_deg) + " degrees off the equilibrium, " +
         common::real_text(o.periods) + " predicted libration periods long.\n\n";
  if (rows.empty()) {
    return out + "No stable equilibrium to verify (give one with --sigma).\n";
  }
  out +=
      "  sigma  verdict         centre  offset  amplitude  drift    P model     P real  ratio  "
      "energy err  end\n";
  for (const Verification& v : rows) {
    out += right(fixed(v.sigma_deg, 1), 7) + "  " + left(std::string(name(v.verdict)), 14) +
           right(fixed(v.measured_centre_deg, 2), 7) +
           right(signed_fixed(v.centre_offset_deg, 2), 8) + right(fixed(v.amplitude_deg, 2), 11) +
           right(fixed(v.centre_drift_deg, 1), 7) +
           right(significant(v.predicted_period_years, 5), 11) +
           right(significant(v.measured_period_years, 5), 11) + right(fixed(v.period_ratio, 3), 7) +
           right(scientific(v.energy_error, 1), 12) + "  " + ending(v) + "\n";
  }
  out +=
      "\nAngles in degrees, periods in years; drift: how far the centre moved over the "
      "librations seen.\nP model = 2 pi/sqrt(|R''| hii) of the averaged model, ratio = P model / "
      "P real. Verdicts:\n";
  out += "  confirmed      sigma librates, no wider than " +
         common::real_text(o.max_amplitude_deg) +
         " degrees, about a centre\n                 within " +
         common::real_text(o.centre_tolerance_deg) +
         " degrees of the predicted one\n"
         "  shifted        it librates as narrowly about a centre further off\n"
         "  not confirmed  it circulates or librates wider, the planets come closer than " +
         common::real_text(o.close_encounter_hill) +
         " mutual\n                 Hill radii, an orbit becomes unbound, or the energy error "
         "passes " +
         common::real_text(o.max_energy_error) + "\n";
  return out;
}

}  // namespace tandem::verify_cli
