#include "report/table.hpp"

#include "report/summary.hpp"
#include "textio/unit_numbers.hpp"

namespace tandem {

using textio::unit_file;

void write_table(textio::RecordLayer& io, const RCurve& curve, const Analysis& analysis) {
  io.open(unit_file, table_file_name, textio::Status::unknown);
  io.write_list(unit_file, {" sigma   R-R_min "});
  for (int i = 0; i < isimax; ++i) {
    const double above_min = curve.rp[i] - analysis.vrmin;
    const double tlib = analysis.tlib[i];
    // A period that is not a number still marks an equilibrium: only an exact zero means none.
    if (tlib != 0) {
      io.write_format(unit_file, "(F7.2,E16.8,2A10,E16.8)",
                      {curve.sma[i], above_min, curve.ace[i], analysis.aeq[i], tlib});
      write_equilibrium_line(io, textio::unit_screen, curve.sma[i], analysis.aeq[i], tlib);
      write_equilibrium_line(io, textio::unit_summary, curve.sma[i], analysis.aeq[i], tlib);
    } else {
      io.write_format(unit_file, "(F7.2,E16.8,2A10)",
                      {curve.sma[i], above_min, curve.ace[i], analysis.aeq[i]});
    }
  }
  io.close(unit_file);
}

}  // namespace tandem
