// tandem-verify: the averaged model checked against the real motion. The stable
// equilibria of one resonance (or the sigma values given) are each started a few degrees
// off and integrated directly as three bodies; the table says whether sigma librates
// about the predicted centre with the predicted period.

#include <iostream>
#include <variant>

#include "common/cli.hpp"
#include "common/program_main.hpp"
#include "common/resonance_arg.hpp"
#include "verify_command.hpp"

namespace {

using namespace tandem;
using namespace tandem::verify_cli;

const common::ProgramText program_text{
    "tandem-verify",
    "Checks the equilibria of the critical angle that tandem computes for a K2:K1 resonance "
    "against the real motion: the star and both planets are integrated directly, started "
    "beside each stable equilibrium, and the libration of sigma is measured (centre, "
    "amplitude, period) and judged confirmed, shifted or not confirmed.",
    {"tandem-verify [OPTIONS] K2:K1"},
    "  tandem-verify 3:2                          every stable equilibrium of ./tandem.inp in "
    "3:2\n"
    "  tandem-verify --input trojan.inp 1:1 --format csv --output trojan.csv\n"
    "                                             the same as a CSV catalogue row each\n"
    "  tandem-verify 1:1 --sigma 180 --periods 3  one point given by hand, here L3\n"
    "  tandem-verify 2:1 --series sigma.dat && tandem-plot --verify sigma.dat\n"
    "                                             sigma(t) kept, then drawn against the "
    "prediction\n"};

int run(int argc, char** argv) {
  auto app = common::make_app(program_text);
  VerifySettings s;
  std::string resonance;
  std::string input = "tandem.inp";
  std::string format = "table";
  std::string output;
  std::string series;
  VerifyOptions& o = s.options;
  app->add_option("resonance", resonance, "The resonance, as K2:K1 (e.g. 3:2)")->required();
  app->add_option("--input", input, "The system, a tandem.inp file (e.g. --input hilda.inp)")
      ->default_str("tandem.inp");
  app->add_option("--sigma", s.sigmas,
                  "Check this sigma (degrees) instead of the stable equilibria; repeatable "
                  "(e.g. --sigma 180)");
  app->add_option("--offset", o.offset_deg,
                  "Start this many degrees off the equilibrium (e.g. --offset -10)")
      ->default_str("5");
  app->add_option("--periods", o.periods,
                  "Run this many predicted libration periods (e.g. --periods 20)")
      ->check(CLI::PositiveNumber)
      ->default_str("5");
  app->add_option("--centre-tolerance", o.centre_tolerance_deg,
                  "Confirmed when the measured centre lies within this many degrees of the "
                  "predicted one (e.g. --centre-tolerance 10)")
      ->check(CLI::NonNegativeNumber)
      ->default_str("5");
  app->add_option("--max-amplitude", o.max_amplitude_deg,
                  "Widest libration, degrees, still taken as one about the point "
                  "(e.g. --max-amplitude 120)")
      ->check(CLI::PositiveNumber)
      ->default_str("90");
  app->add_option("--format", format, "table, csv or jsonl (e.g. --format jsonl)")
      ->check(CLI::IsMember({"table", "csv", "jsonl"}))
      ->default_str("table");
  app->add_option("--output", output,
                  "Write the table or catalogue to this file, whole at the end; default "
                  "standard output (e.g. --output trojan.csv)");
  app->add_option("--series", series,
                  "Write sigma(t) of every point checked to this file, for tandem-plot "
                  "--verify (e.g. --series sigma.dat)");

  if (const auto status = common::parse(*app, argc, argv, std::cout, std::cerr)) {
    return *status;
  }
  const auto parsed = common::parse_resonance(resonance);
  if (const auto* why = std::get_if<std::string>(&parsed)) {
    return common::usage_error(program_text, *why, std::cerr);
  }
  s.resonance = common::as_resonance(std::get<common::ResonancePair>(parsed));
  s.input = input;
  s.output = output;
  s.series = series;
  if (format == "csv") {
    s.format = common::Format::csv;
  } else if (format == "jsonl") {
    s.format = common::Format::jsonl;
  }
  return verify_command(s);
}

}  // namespace

int main(int argc, char** argv) {
  return common::program_main(program_text.name, [&] { return run(argc, argv); });
}
