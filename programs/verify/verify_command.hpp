#pragma once
// What tandem-verify does once its command line is read: the system from --input, the
// resonance solved by tandem::solve, its stable equilibria (or the --sigma values)
// checked by tandem::verify, the table or the catalogue on standard output or --output,
// and the sigma(t) series in --series. Both files appear whole or not at all.
//
// Exit status: 0 when every point was checked, whatever the verdicts; 2 when the input is
// refused or a file cannot be written (one line on standard error).

#include <filesystem>
#include <optional>
#include <vector>

#include "common/catalogue.hpp"
#include "tandem/verify.hpp"

namespace tandem::verify_cli {

struct VerifySettings {
  std::filesystem::path input = "tandem.inp";
  Resonance resonance;
  std::vector<double> sigmas;            // empty: every stable equilibrium
  std::optional<common::Format> format;  // none: the console table
  std::filesystem::path output;          // empty: standard output
  std::filesystem::path series;          // empty: no series file
  VerifyOptions options;
};

int verify_command(const VerifySettings& s);

}  // namespace tandem::verify_cli
