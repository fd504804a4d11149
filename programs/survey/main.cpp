// tandem-survey: which resonances lie near each body of a catalogue of asteroids or
// trans-Neptunian objects, how strong and wide they are, and where the body sits in each.

#include <charconv>
#include <cmath>
#include <iostream>
#include <string>

#include "common/catalogue.hpp"
#include "common/cli.hpp"
#include "common/program_main.hpp"
#include "scan/request.hpp"
#include "survey/survey_run.hpp"

#include <unistd.h>

namespace {

// A finite number above zero (or from zero), refused in words a user reads: CLI11's own
// ranges print the largest double in full.
CLI::Validator finite_number(bool zero_allowed) {
  return CLI::Validator(
      [zero_allowed](std::string& text) -> std::string {
        double x = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), x);
        const bool whole = r.ec == std::errc() && r.ptr == text.data() + text.size();
        if (whole && std::isfinite(x) && (x > 0 || (zero_allowed && x == 0))) {
          return {};
        }
        return std::string("give a finite number ") + (zero_allowed ? "from 0 on" : "above 0") +
               ", not " + text;
      },
      zero_allowed ? "NUMBER>=0" : "NUMBER>0");
}

// The N-body check's length: above 0 and at most 1e10 years (twice the Sun's age; a run
// that long at Jupiter's step is already 7e10 steps).
CLI::Validator check_length() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        double x = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), x);
        const bool whole = r.ec == std::errc() && r.ptr == text.data() + text.size();
        return whole && x > 0 && x <= tandem::max_nbody_length_years
                   ? std::string()
                   : "give a number of years above 0 and at most 1e10, "
                     "not " +
                         text;
      },
      "0<YEARS<=1e10");
}

using namespace tandem;
using namespace tandem::survey_program;

const common::ProgramText program_text{
    "tandem-survey",
    "For each body of an orbit catalogue (the MPC's format, a JPL Small-Body Database CSV,\n"
    "or a plain CSV), every resonance K2:K1 with a perturbing planet whose nominal location\n"
    "lies near the body's semi-major axis, each solved as tandem::solve does: one row per\n"
    "body and resonance with the strength, the width, the body's critical angle phi and\n"
    "tandem's sigma, and whether the body sits in the resonance's global pendulum zone.",
    {"tandem-survey [OPTIONS] BODIES", "tandem-survey merge [--output FILE] PART..."},
    "  tandem-survey Distant.txt --output survey.csv\n"
    "                                   every TNO of an MPC file with Neptune, CSV\n"
    "  tandem-survey sbdb.csv --perturber Jupiter --order 1-3 --max-k2 10\n"
    "                                   an SBDB export, Jupiter's resonances of order 1-3\n"
    "  tandem-survey Distant.txt --best --format jsonl\n"
    "                                   one row per body: the resonance it sits in, or none\n"
    "  tandem-survey hildas.csv --planets planets.csv --star-mass 1\n"
    "                                   with the planets of a file instead of JPL's table\n"
    "  tandem-survey Distant.txt --elements heliocentric\n"
    "                                   the elements as they stand, about the Sun alone\n"
    "  tandem-survey Distant.txt --no-nbody\n"
    "                                   the averaged model alone, without the N-body check\n"
    "  tandem-survey Distant.txt --integrate giants --length 1e6\n"
    "                                   the N-body check with Jupiter to Neptune, 1 Myr\n"
    "  tandem-survey MPCORB.DAT --shard 3/8 --output part-3.csv\n"
    "  tandem-survey merge part-*.csv --output survey.csv\n"
    "                                   a survey in eight parts (e.g. a Slurm array), merged\n"};

}  // namespace

namespace {

int run(int argc, char** argv) {
  SurveySettings s;
  std::string bodies, bodies_format = "detect", order = "0-4", format = "csv",
                      elements = "barycentric";
  std::string planets, perturber, output;
  auto app = common::make_app(program_text);
  std::vector<std::string> parts;
  std::string merge_output, shard;
  auto* merge = app->add_subcommand("merge", "Merge the parts of a survey run with --shard");
  merge->add_option("PART", parts, "The parts, each once, in any order")->required();
  merge->add_option("-o,--output", merge_output,
                    "Write the catalogue to this file (default: standard output)");
  app->require_subcommand(0, 1);
  app->add_option("--shard", shard,
                  "Survey only part I of N of the bodies (those at places i with (i-1) mod N "
                  "= I-1), writing a part for tandem-survey merge (e.g. --shard 2/4)");
  app->add_option("BODIES", bodies,
                  "The bodies: an MPC orbit file (MPCORB.DAT, Distant.txt), a JPL SBDB CSV "
                  "export, or a CSV name,epoch_jd,a_au,e,i_deg,node_deg,argperi_deg,"
                  "mean_anomaly_deg[,mass_msun]; - for standard input");
  app->add_option("--bodies-format", bodies_format,
                  "The format of BODIES, when not recognised from its first line: mpc, sbdb, "
                  "csv (e.g. --bodies-format mpc)");
  app->add_flag("--strict", s.strict,
                "A row that cannot be read is an error (status 2) instead of a warning");
  app->add_option("--planets", planets,
                  "The planets: a CSV as for BODIES with mass_msun for each (default: the eight "
                  "planets of JPL's approximate elements, 1800-2050, at each body's epoch)");
  app->add_option("--star-mass", s.star_mass, "The star's mass with --planets, M_sun (default 1)")
      ->check(finite_number(false));
  app->add_option("--perturber", perturber,
                  "The planet whose resonances are sought (e.g. --perturber Jupiter; default: "
                  "the giant planet nearest the body in log a)");
  app->add_option("--order", order,
                  "Orders K2 - K1 of the candidates, MIN-MAX or one number (default 0-4)");
  app->add_option("--max-k2", s.options.max_k2, "Largest K2 of a candidate (default 20)")
      ->check(CLI::Validator(
          [](std::string& text) -> std::string {
            int k = 0;
            const auto r = std::from_chars(text.data(), text.data() + text.size(), k);
            return r.ec == std::errc() && r.ptr == text.data() + text.size() && k >= 1 && k <= 50
                       ? std::string()
                       : "give a whole number from 1 to 50, not " + text;
          },
          "1..50"));
  app->add_option("--window", s.options.window_au,
                  "Candidates whose nominal location lies within this many au of the body's a "
                  "(default 0.5)")
      ->check(finite_number(true));
  app->add_option("--body-mass", s.options.body_mass,
                  "Mass of a body the catalogue gives none, M_sun (default 1e-12)")
      ->check(finite_number(false));
  app->add_option("--elements", elements,
                  "barycentric (default: about the Sun and the planets inside the body's orbit) "
                  "or heliocentric (as they stand)");
  app->add_flag("--best", s.best,
                "One row per body: the candidate whose zone holds it (the deepest), or none");
  app->add_option("--format", format, "csv (default) or jsonl");
  app->add_option("-o,--output", output,
                  "Write the catalogue to this file, which appears whole or not at all "
                  "(default: standard output)");
  app->add_option("--threads", s.threads,
                  "Worker threads, at most the processors available (default 0: every processor)");
  bool no_nbody = false;
  std::string integrate = "perturber";
  double length = 0;
  app->add_flag("--no-nbody", no_nbody,
                "The averaged model alone: no N-body check, no nbody_* or verdict columns");
  app->add_option("--integrate", integrate,
                  "The planets that move in the N-body check: perturber (default: each body's "
                  "perturber alone, the star carrying the planets inside it), giants (Jupiter to "
                  "Neptune), or a list of names (e.g. --integrate Jupiter,Saturn)");
  app->add_option("--length", length,
                  "Years of the N-body check (default: 10000 for a body inside Jupiter's orbit "
                  "with Jupiter as perturber, 100000 otherwise)")
      ->check(check_length());
  if (const auto status = common::parse(*app, argc, argv, std::cout, std::cerr)) {
    return *status;
  }

  if (merge->parsed()) {
    std::vector<std::filesystem::path> files(parts.begin(), parts.end());
    return merge_survey(files, merge_output);
  }
  if (bodies.empty()) {
    return common::usage_error(program_text, "BODIES is required", std::cerr);
  }
  if (!shard.empty()) {
    const auto parsed = scan::parse_shard(shard);
    if (const auto* why = std::get_if<std::string>(&parsed)) {
      return common::usage_error(program_text, *why, std::cerr);
    }
    const auto sh = std::get<scan::Shard>(parsed);
    s.shard = PartShard{sh.index, sh.count};
  }
  s.bodies = bodies;
  const auto bf = parse_bodies_format(bodies_format);
  if (!bf) {
    return common::usage_error(
        program_text, "--bodies-format " + bodies_format + ": mpc, sbdb, csv or detect", std::cerr);
  }
  s.bodies_format = *bf;
  const auto parsed_order = scan::parse_order(order);
  if (const auto* why = std::get_if<std::string>(&parsed_order)) {
    return common::usage_error(program_text, *why, std::cerr);
  }
  std::tie(s.options.order_min, s.options.order_max) = std::get<std::pair<int, int>>(parsed_order);
  if (format == "csv" || format == "jsonl") {
    s.format = format == "csv" ? common::Format::csv : common::Format::jsonl;
  } else {
    return common::usage_error(program_text, "--format " + format + ": csv or jsonl", std::cerr);
  }
  if (elements == "barycentric" || elements == "heliocentric") {
    s.options.elements =
        elements == "barycentric" ? ElementsKind::barycentric : ElementsKind::heliocentric;
  } else {
    return common::usage_error(
        program_text, "--elements " + elements + ": barycentric or heliocentric", std::cerr);
  }
  if (!planets.empty()) {
    s.planets_file = planets;
  } else if (app->count("--star-mass") > 0) {
    return common::usage_error(program_text, "--star-mass goes with --planets", std::cerr);
  }
  if (!perturber.empty()) {
    s.options.perturber = perturber;
  }
  s.nbody = !no_nbody;
  if (integrate == "perturber") {
    s.nbody_options.integrate = IntegratedPlanets::perturber;
  } else if (integrate == "giants") {
    s.nbody_options.integrate = IntegratedPlanets::giants;
  } else {
    s.nbody_options.integrate = IntegratedPlanets::list;
    std::size_t from = 0;
    while (from <= integrate.size()) {
      const std::size_t comma = std::min(integrate.find(',', from), integrate.size());
      const std::string name = integrate.substr(from, comma - from);
      if (name.empty()) {
        return common::usage_error(
            program_text,
            "--integrate " + integrate + ": perturber, giants or planet names separated by commas",
            std::cerr);
      }
      s.nbody_options.planets.push_back(name);
      from = comma + 1;
    }
  }
  if (app->count("--length") > 0) {
    s.nbody_options.length_years = length;
  }
  s.output = output;
  s.progress = isatty(STDERR_FILENO) != 0;
  return run_survey(s);
}

}  // namespace

int main(int argc, char** argv) {
  return common::program_main(program_text.name, [&] { return run(argc, argv); });
}
