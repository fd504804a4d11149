#pragma once
// resonance.dat, the catalogue to which every run appends one block: the case (masses,
// both orbits, the resonance), the results (<R>, strength, amplitude, close-encounter
// distance, widths), one equilibrium line per stable equilibrium, the critical-angle line
// and a line of blanks. The block is written in three stretches: the head before the
// table, the equilibrium lines while the table is written, the tail after it.

#include <filesystem>
#include <string_view>

#include "tandem/result.hpp"
#include "textio/record_layer.hpp"

namespace tandem {

inline constexpr const char* summary_file_name = "resonance.dat";

// Opens dir/resonance.dat for appending (creating it if missing; an empty dir is the
// working directory) and writes records 1 to 13.
void write_summary_head(textio::RecordLayer& io, const Result& result,
                        const std::filesystem::path& dir = {});

// "sigma=" sigma "E. STABLE" "  P=" period " years": 51 characters, the same on the
// console and in resonance.dat.
void write_equilibrium_line(textio::RecordLayer& io, int unit, double sigma, EquilibriumKind kind,
                            double period_years);

// Writes the critical-angle line and the closing line of blanks, then closes the file.
void write_summary_tail(textio::RecordLayer& io, const Resonance& resonance);

}  // namespace tandem
