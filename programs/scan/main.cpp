// tandem-scan: many resonances of one planetary system in one command, as a catalogue
// (CSV or JSON Lines) of what the console program computes for each: <R>, strength,
// amplitude, widths, equilibria with their libration periods, close encounters.

#include <charconv>
#include <cmath>
#include <iostream>
#include <optional>

#include "common/catalogue.hpp"
#include "common/cli.hpp"
#include "common/program_main.hpp"
#include "scan/scan_command.hpp"
#include "tandem/verify.hpp"

#include <unistd.h>

namespace {

using namespace tandem;
using namespace tandem::scan;

const common::ProgramText program_text{
    "tandem-scan",
    "Computes the resonant disturbing function R(sigma) of two planets for many K2:K1\n"
    "resonances, each exactly as the console program tandem does, and writes one catalogue\n"
    "row per resonance.",
    {"tandem-scan [OPTIONS] K2:K1...",
     "tandem-scan [OPTIONS] (--a1 LO:HI | --a2 LO:HI | --ratio LO:HI) [--order MIN-MAX] "
     "[--max-k2 N]",
     "tandem-scan merge [--output FILE] PART..."},
    "  tandem-scan 3:2 5:3 7:4                    three resonances of ./tandem.inp, CSV on "
    "standard output\n"
    "  tandem-scan --input hilda.inp --a1 3.0:4.6 --order 1-3 --output atlas.csv\n"
    "                                             every resonance of order 1 to 3 with a1 "
    "between 3.0 and 4.6 au\n"
    "  tandem-scan --place planet2 --a2 30:50 --max-k2 10 --format jsonl\n"
    "                                             bodies outside planet 1, placed at "
    "resonance\n"
    "  tandem-scan --a1 3.0:4.6 --order 1-3 --shard 2/4 --output part-2.csv\n"
    "  tandem-scan merge part-*.csv --output atlas.csv\n"
    "                                             a scan in four parts, then its catalogue\n"
    "  tandem-plot --atlas atlas.csv              the atlas picture of a catalogue\n"
    "  tandem-scan --input trojan.inp 1:1 2:1 --verify\n"
    "                                             each stable equilibrium also checked by "
    "direct integration\n"};

template <typename T>
bool take(const Parsed<T>& parsed, T& into, std::string& why) {
  if (const auto* reason = std::get_if<std::string>(&parsed)) {
    why = *reason;
    return false;
  }
  into = std::get<T>(parsed);
  return true;
}

// The options CLI11 cannot check by itself, into the settings; the reason when refused.
std::string settle(ScanSettings& s, const std::vector<std::string>& resonances,
                   const std::string& a1, const std::string& a2, const std::string& ratio,
                   const std::string& order, std::optional<int> max_k2, const std::string& place,
                   const std::string& shard, const std::string& format) {
  std::string why;
  if (!take(parse_placement(place), s.request.placement, why)) {
    return why;
  }
  if (!shard.empty()) {
    Shard part;
    if (!take(parse_shard(shard), part, why)) {
      return why;
    }
    s.shard = part;
  }
  s.format = format == "jsonl" ? common::Format::jsonl : common::Format::csv;
  const int windows = !a1.empty() + !a2.empty() + !ratio.empty();
  const bool enumerating = windows > 0 || !order.empty() || max_k2.has_value();
  if (!resonances.empty() && enumerating) {
    return "give either resonances (3:2 5:3) or an enumeration (--a1/--a2/--ratio, --order, "
           "--max-k2), not both";
  }
  if (!resonances.empty()) {
    std::vector<ResonancePair> list;
    if (!take(parse_resonances(resonances), list, why)) {
      return why;
    }
    s.request.what = list;
    return {};
  }
  if (windows == 0) {
    return enumerating ? "an enumeration needs a window: --a1 LO:HI, --a2 LO:HI or --ratio LO:HI"
                       : "nothing to compute: give resonances (3:2 5:3) or a window "
                         "(--a1, --a2 or --ratio)";
  }
  if (windows > 1) {
    return "give one window: --a1, --a2 or --ratio";
  }
  const bool planet2 = s.request.placement == Placement::planet2;
  if (!a1.empty() && planet2) {
    return "--a1 bounds planet 1 placed at resonance; with --place planet2 give --a2";
  }
  if (!a2.empty() && !planet2) {
    return "--a2 bounds planet 2 placed at resonance: it needs --place planet2";
  }
  Enumeration e;
  const std::string option = !a1.empty() ? "--a1" : !a2.empty() ? "--a2" : "--ratio";
  if (!take(parse_window(option, !a1.empty() ? a1 : !a2.empty() ? a2 : ratio), e, why)) {
    return why;
  }
  if (!order.empty()) {
    std::pair<int, int> orders;
    if (!take(parse_order(order), orders, why)) {
      return why;
    }
    e.order_min = orders.first;
    e.order_max = orders.second;
  }
  if (max_k2) {
    if (*max_k2 < 1 || *max_k2 > 50) {
      return "--max-k2 " + std::to_string(*max_k2) + ": K2 runs from 1 to at most 50";
    }
    e.max_k2 = *max_k2;
  }
  s.request.what = e;
  return {};
}

// --verify and the options of its check; the reason when refused.
std::string settle_verify(ScanSettings& s, bool verify, const VerifyOptions& options) {
  if (!verify) {
    return {};
  }
  if (!std::isfinite(options.offset_deg)) {
    return "--verify-offset " + common::real_text(options.offset_deg) +
           ": the offset must be a finite number of degrees";
  }
  if (!(std::isfinite(options.periods) && options.periods > 0)) {
    return "--verify-periods " + common::real_text(options.periods) +
           ": the run needs a finite, positive number of periods";
  }
  s.verify = options;
  return {};
}

// --threads N: a whole number from 1 on; more than the processors available are not
// started (they would only take turns on them).
std::string settle_threads(ScanSettings& s, const std::string& threads) {
  if (threads.empty()) {
    return {};
  }
  unsigned n = 0;
  const auto res = std::from_chars(threads.data(), threads.data() + threads.size(), n);
  if (res.ec == std::errc::result_out_of_range && threads.front() != '-') {
    n = ~0U;
  } else if (res.ec != std::errc() || res.ptr != threads.data() + threads.size() || n == 0) {
    return "--threads " + threads +
           ": give a whole number of threads from 1 on (without --threads: every processor)";
  }
  s.threads = n;
  return {};
}

int run(int argc, char** argv) {
  auto app = common::make_app(program_text);
  ScanSettings s;
  std::vector<std::string> resonances;
  std::string a1, a2, ratio, order, place = "planet1", shard, format = "csv", input = "tandem.inp";
  std::string output, curves;
  std::optional<int> max_k2;
  std::string threads;
  bool quiet = false;
  app->add_option("resonances", resonances, "Resonances to compute, as K2:K1 (e.g. 3:2 5:3 1:1)")
      ->type_name("K2:K1");
  app->add_option("--input", input, "The system, a tandem.inp file (e.g. --input hilda.inp)")
      ->type_name("FILE")
      ->default_str("tandem.inp");
  app->add_option("--a1", a1,
                  "Enumerate: planet 1's semi-major axis at exact resonance in LO:HI, au "
                  "(e.g. --a1 3.0:4.6)")
      ->type_name("LO:HI");
  app->add_option("--a2", a2,
                  "Enumerate, with --place planet2: planet 2's semi-major axis at exact "
                  "resonance in LO:HI, au (e.g. --a2 30:50)")
      ->type_name("LO:HI");
  app->add_option("--ratio", ratio, "Enumerate: K2/K1 in LO:HI (e.g. --ratio 1.2:2.3)")
      ->type_name("LO:HI");
  app->add_option("--order", order,
                  "Enumerate orders K2-K1 from MIN to MAX; default every order "
                  "(e.g. --order 1-3, --order 2)")
      ->type_name("MIN-MAX");
  app->add_option("--max-k2", max_k2,
                  "Enumerate K2 up to N, at most 50; default 50 (e.g. --max-k2 20)")
      ->type_name("N");
  app->add_option("--place", place,
                  "The planet put at exact resonance: planet1 (as tandem does) or planet2, "
                  "for bodies outside planet 1 (e.g. --place planet2)")
      ->type_name("PLANET")
      ->default_str("planet1");
  app->add_option("--format", format, "csv or jsonl (e.g. --format jsonl)")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"csv", "jsonl"}))
      ->default_str("csv");
  app->add_option("--output", output,
                  "The catalogue file, written whole at the end; default standard output "
                  "(e.g. --output atlas.csv)")
      ->type_name("FILE");
  app->add_option("--curves", curves,
                  "Also write each R(sigma) table, as tandem's rsigma.dat, to DIR/K2-K1.dat "
                  "(e.g. --curves curves)")
      ->type_name("DIR");
  app->add_option("--shard", shard,
                  "Compute part I of N of the scan, to be merged (e.g. --shard 2/4)")
      ->type_name("I/N");
  app->add_option("--threads", threads,
                  "Threads to use, at most the processors this process may run on; default "
                  "every one of them (e.g. --threads 1)")
      ->type_name("N");
  app->add_flag("--list", s.list_only,
                "Print the resonances of the scan with their placed semi-major axes, "
                "compute nothing (e.g. --a1 3:4.6 --list)");
  app->add_flag("--quiet", quiet, "No progress line on a terminal (e.g. --quiet)");
  bool verify = false;
  VerifyOptions verify_options;
  auto* verify_flag = app->add_flag(
      "--verify", verify,
      "Also check each stable equilibrium by direct integration of the three bodies, as "
      "tandem-verify does, in a last column verify (e.g. --verify)");
  app->add_option("--verify-offset", verify_options.offset_deg,
                  "With --verify: start this many degrees off each equilibrium "
                  "(e.g. --verify-offset -10)")
      ->type_name("DEG")
      ->capture_default_str()
      ->needs(verify_flag);
  app->add_option("--verify-periods", verify_options.periods,
                  "With --verify: run this many predicted libration periods "
                  "(e.g. --verify-periods 20)")
      ->type_name("N")
      ->capture_default_str()
      ->needs(verify_flag);

  auto* merge = app->add_subcommand(
      "merge",
      "Check that the parts belong to one scan, none missing or doubled, and write "
      "the whole catalogue, identical to a single process's");
  std::vector<std::string> parts;
  std::string merged;
  merge->add_option("parts", parts, "The parts (e.g. part-*.csv)")->type_name("PART")->required();
  merge
      ->add_option("--output", merged,
                   "The catalogue file; default standard output (e.g. --output atlas.csv)")
      ->type_name("FILE");

  if (const auto status = common::parse(*app, argc, argv, std::cout, std::cerr)) {
    return *status;
  }
  if (merge->parsed()) {
    return merge_command(std::vector<std::filesystem::path>(parts.begin(), parts.end()), merged);
  }
  std::string why = settle(s, resonances, a1, a2, ratio, order, max_k2, place, shard, format);
  if (why.empty()) {
    why = settle_verify(s, verify, verify_options);
  }
  if (why.empty()) {
    why = settle_threads(s, threads);
  }
  if (!why.empty()) {
    return common::usage_error(program_text, why, std::cerr);
  }
  s.input = input;
  s.output = output;
  s.curves = curves;
  s.progress = !quiet && ::isatty(2) == 1;
  return scan_command(s);
}

}  // namespace

int main(int argc, char** argv) {
  return common::program_main(program_text.name, [&] { return run(argc, argv); });
}
