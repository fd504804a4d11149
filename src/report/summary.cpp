#include "report/summary.hpp"

#include "orbit/constants.hpp"
#include "report/critical_angle.hpp"
#include "textio/unit_numbers.hpp"

namespace tandem {

using textio::unit_summary;

void write_summary_head(textio::RecordLayer& io, const PlanetarySystem& system,
                        const Resonance& resonance, const OrbitSetup& orbits,
                        const Analysis& analysis) {
  const Orbit& o1 = orbits.planet1;
  const Orbit& o2 = orbits.planet2;
  io.open(unit_summary, summary_file_name, textio::Status::unknown, textio::Access::append);
  io.write_list(unit_summary, {"Star mass =  ", system.mst});
  io.write_list(unit_summary, {"Planet masses=  ", system.planet1.sm, system.planet2.sm});
  io.write_list(unit_summary, {"Planet a1, a2 =  ", o1.a, o2.a, " Poincare system"});
  io.write_list(unit_summary, {"Planet e1, e2 =  ", o1.e, o2.e});
  io.write_list(unit_summary, {"Planet i1, i2 =  ", o1.jg, o2.jg});
  io.write_list(unit_summary, {"Planet LN1, LN2 =  ", o1.lg, o2.lg});
  io.write_list(unit_summary, {"Planet LP1, LP2 =  ", o1.pg, o2.pg});
  io.write_list(unit_summary, {"Resonance =  ", static_cast<int>(resonance.k2), ":",
                               static_cast<int>(resonance.k1)});
  io.write_list(unit_summary, {"<R> = ", analysis.vmedio, "  [M_sun,au,days]"});
  io.write_list(unit_summary, {"Strength (<R>-Rmin) = ", analysis.vmedio - analysis.vrmin});
  io.write_list(unit_summary, {"Rmax-Rmin = ", analysis.delr});
  io.write_list(unit_summary, {"Close enc. dist. = ", rhtol, " RHill"});
  io.write_list(unit_summary, {"stable full width Da1, Da2= ", analysis.ancha1, analysis.ancha2});
}

void write_equilibrium_line(textio::RecordLayer& io, int unit, float sma, std::string_view aeq,
                            double tlib) {
  io.write_format(unit, "(A7,F4.0,A10,A4,E16.8,A10)", {"sigma=", sma, aeq, "  P=", tlib, " years"});
}

void write_summary_tail(textio::RecordLayer& io, const Resonance& resonance) {
  write_critical_angle(io, unit_summary, resonance);
  io.write_list(unit_summary, {"        "});
  io.close(unit_summary);
}

}  // namespace tandem
