#pragma once
// resonance.dat, the catalogue to which every run appends one block: the case (masses,
// both orbits, the resonance), the results (<R>, strength, amplitude, close-encounter
// distance, widths), one equilibrium line per stable equilibrium, the critical-angle line
// and a line of blanks. The block is written in three stretches: the head before the
// table, the equilibrium lines while the table is written, the tail after it.

#include <string_view>

#include "orbit/elements.hpp"
#include "orbit/orbit_setup.hpp"
#include "resonance/analysis.hpp"
#include "textio/record_layer.hpp"

namespace tandem {

inline constexpr const char* summary_file_name = "resonance.dat";

// Opens resonance.dat for appending (creating it if missing) and writes records 1 to 13.
void write_summary_head(textio::RecordLayer& io, const PlanetarySystem& system,
                        const Resonance& resonance, const OrbitSetup& orbits,
                        const Analysis& analysis);

// "sigma=" sigma "E. STABLE" "  P=" period " years": 51 characters, the same on the
// console and in resonance.dat.
void write_equilibrium_line(textio::RecordLayer& io, int unit, float sma, std::string_view aeq,
                            double tlib);

// Writes the critical-angle line and the closing line of blanks, then closes the file.
void write_summary_tail(textio::RecordLayer& io, const Resonance& resonance);

}  // namespace tandem
