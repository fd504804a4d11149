#include "report/summary.hpp"

#include "orbit/constants.hpp"
#include "report/critical_angle.hpp"
#include "report/labels.hpp"
#include "textio/unit_numbers.hpp"

namespace tandem {

using textio::unit_summary;

void write_summary_head(textio::RecordLayer& io, const Result& result,
                        const std::filesystem::path& dir) {
  const System& s = result.system;
  const Planet& p1 = s.planet1;
  const Planet& p2 = s.planet2;
  const Analysis& an = result.analysis;
  io.open(unit_summary, (dir / summary_file_name).string(), textio::Status::unknown,
          textio::Access::append);
  io.write_list(unit_summary, {"Star mass =  ", s.star_mass});
  io.write_list(unit_summary, {"Planet masses=  ", p1.mass, p2.mass});
  io.write_list(unit_summary,
                {"Planet a1, a2 =  ", result.orbit.a1, result.orbit.a2, " Poincare system"});
  io.write_list(unit_summary, {"Planet e1, e2 =  ", p1.e, p2.e});
  io.write_list(unit_summary, {"Planet i1, i2 =  ", p1.i, p2.i});
  io.write_list(unit_summary, {"Planet LN1, LN2 =  ", p1.node, p2.node});
  io.write_list(unit_summary, {"Planet LP1, LP2 =  ", p1.peri, p2.peri});
  io.write_list(unit_summary, {"Resonance =  ", static_cast<int>(result.resonance.k2), ":",
                               static_cast<int>(result.resonance.k1)});
  io.write_list(unit_summary, {"<R> = ", an.mean, "  [M_sun,au,days]"});
  io.write_list(unit_summary, {"Strength (<R>-Rmin) = ", an.strength});
  io.write_list(unit_summary, {"Rmax-Rmin = ", an.amplitude});
  io.write_list(unit_summary, {"Close enc. dist. = ", rhtol, " RHill"});
  io.write_list(unit_summary, {"stable full width Da1, Da2= ", an.width_a1, an.width_a2});
}

void write_equilibrium_line(textio::RecordLayer& io, int unit, double sigma, EquilibriumKind kind,
                            double period_years) {
  io.write_format(unit, "(A7,F4.0,A10,A4,E16.8,A10)",
                  {"sigma=", sigma, equilibrium_text(kind), "  P=", period_years, " years"});
}

void write_summary_tail(textio::RecordLayer& io, const Resonance& resonance) {
  write_critical_angle(io, unit_summary, resonance);
  io.write_list(unit_summary, {"        "});
  io.close(unit_summary);
}

}  // namespace tandem
