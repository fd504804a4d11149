#pragma once
// rsigma.dat, the curve of the run, rewritten by every run: a header and one row per
// sigma grid point: sigma (deg), R - Rmin (M_sun au^2/day^2), the close-encounter label,
// the equilibrium label and, at a stable equilibrium, the libration period (years).
// Rows with a period are 59 characters long, the others 43. For each stable equilibrium
// the equilibrium line goes to the console and then to resonance.dat right after its row.

#include <filesystem>

#include "tandem/result.hpp"
#include "textio/record_layer.hpp"

namespace tandem {

inline constexpr const char* table_file_name = "rsigma.dat";

// Writes dir/rsigma.dat (an empty dir is the working directory). resonance.dat must be
// open on its unit (the summary head has been written).
void write_table(textio::RecordLayer& io, const Result& result,
                 const std::filesystem::path& dir = {});

}  // namespace tandem
