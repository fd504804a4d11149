// The zones column: one entry per stable equilibrium in the order of the stable column,
// the extent reduced to 0..360 in CSV and unwrapped in JSON, "*" where the zone reaches a
// close-encounter band; the whole scan with it as its last column.

#include "scan/zones.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "catalogue_reading.hpp"
#include "scan_process.hpp"
#include "support/program_run.hpp"
#include "tandem/tandem.hpp"

namespace tandem::testing {
namespace {

std::vector<std::string> split(const std::string& text, char sep) {
  std::vector<std::string> out(1);
  for (const char c : text) {
    if (c == sep) {
      out.emplace_back();
    } else {
      out.back() += c;
    }
  }
  return out;
}

TEST(ScanZones, TrojanZonesInBothForms) {
  const std::string inp = TANDEM_SOURCE_DIR "/examples/trojan-1-1/tandem.inp";
  const Result res = solve(read_input(inp).system, {1, 1});
  const PhaseSpace ps = phase_space(res);
  const common::Cell cell = scan::zones_cell(res);
  const auto json = nlohmann::json::parse(cell.json);
  // The point inside the band at 0, L4 and L5: the stable column's order.
  ASSERT_EQ(json.size(), 3U);
  EXPECT_EQ(json[0]["sigma"], 0.0);
  EXPECT_EQ(json[0]["close_encounter"], true);
  EXPECT_LT(json[0]["sigma_min_deg"].get<double>(), 0.0);
  EXPECT_EQ(json[1]["sigma"], 60.0);
  EXPECT_EQ(json[1]["width_a1_au"].get<double>(), ps.zones[1].width_a1);
  EXPECT_EQ(json[1]["horseshoe_with"], nlohmann::json::array({ps.zones[2].sigma}));
  const auto entries = split(cell.csv, ';');
  ASSERT_EQ(entries.size(), 3U);
  // The zone about 0 passes through 0: lo > hi once reduced.
  const auto zero = split(entries[0], ':');
  EXPECT_EQ(zero[0], "0");
  EXPECT_GT(std::stod(split(zero[1], '-')[0]), 350.0);
  EXPECT_EQ(entries[0].back(), '*');
  EXPECT_EQ(entries[1].rfind("60:", 0), 0U);
  EXPECT_NE(entries[1].back(), '*');

  ScratchDir dir;
  dir.write("tandem.inp", example_file("trojan-1-1", "tandem.inp"));
  const ScanOutcome scan = run_scan(dir.path(), {"1:1"});
  ASSERT_EQ(scan.status, 0) << scan.err;
  EXPECT_TRUE(lines_of(scan.out).at(0).ends_with(",placed,zones"));
  EXPECT_EQ(csv_rows(scan.out).at(0).at("zones"), cell.csv);
}

}  // namespace
}  // namespace tandem::testing
