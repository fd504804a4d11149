#pragma once
// Command-line conventions shared by the tandem programs (tandem-scan, tandem-verify),
// on top of CLI11.
//
//   --help      every option, each with an example, and a block of whole examples
//   --version   "<program> <tandem::version>"
//   a bad argument: one line "<program>: <reason>" and the usage on standard error, status 2
//
// A program builds its CLI::App with make_app, adds its options, and calls parse; a
// conflict between options that CLI11 cannot see is reported with usage_error, so that it
// looks like any other bad argument.

#include <CLI/CLI.hpp>

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tandem::common {

inline constexpr int exit_usage = 2;

struct ProgramText {
  std::string name;                // "tandem-scan"
  std::string description;         // one paragraph at the top of --help
  std::vector<std::string> usage;  // synopsis lines, each starting with the program's name
  std::string examples;            // whole command lines with a word on each, for --help
};

// An App with --help, --version and the failure message of these conventions.
std::unique_ptr<CLI::App> make_app(const ProgramText& text);

// Parses the command line. std::nullopt: go on. Otherwise the program ends with the
// returned status: 0 after --help or --version (printed on out), exit_usage after a bad
// argument (reported on err).
std::optional<int> parse(CLI::App& app, int argc, const char* const* argv, std::ostream& out,
                         std::ostream& err);

// Reports a bad argument found after parsing; returns exit_usage.
int usage_error(const ProgramText& text, std::string_view reason, std::ostream& err);

}  // namespace tandem::common
