#pragma once
// rsigma.dat, the curve of the run, rewritten by every run: a header and one row per
// sigma grid point: sigma (deg), R - Rmin (M_sun au^2/day^2), the close-encounter label,
// the equilibrium label and, at a stable equilibrium, the libration period (years).
// Rows with a period are 59 characters long, the others 43. For each stable equilibrium
// the equilibrium line goes to the console and then to resonance.dat right after its row.

#include "resonance/analysis.hpp"
#include "resonance/rsigma.hpp"
#include "textio/record_layer.hpp"

namespace tandem {

inline constexpr const char* table_file_name = "rsigma.dat";

// resonance.dat must be open on its unit (the summary head has been written).
void write_table(textio::RecordLayer& io, const RCurve& curve, const Analysis& analysis);

}  // namespace tandem
