#include "report/table.hpp"

#include "report/labels.hpp"
#include "report/summary.hpp"
#include "textio/unit_numbers.hpp"

namespace tandem {

using textio::unit_file;

void write_table(textio::RecordLayer& io, const Result& result, const std::filesystem::path& dir) {
  const Curve& c = result.curve;
  io.open(unit_file, (dir / table_file_name).string(), textio::Status::unknown);
  io.write_list(unit_file, {" sigma   R-R_min "});
  for (int i = 0; i < grid_points; ++i) {
    const std::string_view ace = close_encounter_text(c.close_encounter[i]);
    const std::string_view aeq = equilibrium_text(c.equilibrium[i]);
    const double tlib = c.period_years[i];
    // A period that is not a number still marks an equilibrium: only an exact zero means none.
    if (tlib != 0) {
      io.write_format(unit_file, "(F7.2,E16.8,2A10,E16.8)",
                      {c.sigma[i], c.r_minus_rmin[i], ace, aeq, tlib});
      write_equilibrium_line(io, textio::unit_screen, c.sigma[i], c.equilibrium[i], tlib);
      write_equilibrium_line(io, textio::unit_summary, c.sigma[i], c.equilibrium[i], tlib);
    } else {
      io.write_format(unit_file, "(F7.2,E16.8,2A10)", {c.sigma[i], c.r_minus_rmin[i], ace, aeq});
    }
  }
  io.close(unit_file);
}

}  // namespace tandem
