#pragma once
// --curves DIR: each resonance's R(sigma) table, in the layout of the console program's
// rsigma.dat (written by the same code, so byte for byte what a console run of that
// resonance leaves), as DIR/<k2>-<k1>.dat.
//
// The table is written in a scratch directory inside DIR and renamed into place, so that a
// curve file is whole or absent; the summary block written beside it is dropped.

#include <filesystem>

#include "scan/request.hpp"
#include "tandem/result.hpp"

namespace tandem::scan {

std::filesystem::path curve_file(const std::filesystem::path& dir, const ResonancePair& r);

// Throws tandem::OutputError or std::filesystem::filesystem_error.
void write_curve(const std::filesystem::path& dir, const ResonancePair& r, const Result& result);

}  // namespace tandem::scan
