#pragma once
// The twelve console lines that open every run, each written as one list-directed record.

#include <array>
#include <string_view>

#include "textio/record_layer.hpp"

namespace tandem {

inline constexpr std::array<std::string_view, 12> banner_lines = {
    "------------------------------------------------------",
    "               tandemPoincare      ",
    "  for eccentric planetary system given by tandem.inp",
    "  This program calculates R(sigma), its strength",
    "SR = <R>-Rmin, total width of resonance in au,",
    "    equilibrium points and libration periods. ",
    "    Output files: rsigma.dat and resonance.dat ",
    "  tandem project: two planets in mean-motion resonance",
    "   method: numerical averaging of R(sigma)",
    "               version January 10, 2021",
    "------------------------------------------------------",
    "              I assume the archive tandem.inp is ready",
};

void write_banner(textio::RecordLayer& io);

}  // namespace tandem
