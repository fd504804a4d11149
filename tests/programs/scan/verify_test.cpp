// tandem-scan --verify: the verify column of every row is what tandem::verify gives for
// tandem::solve of that resonance, to the last bit, in CSV and in JSON Lines, with the
// options of the check passed on. Without --verify the catalogue keeps the columns it
// always had; parts made with and without it are not merged.

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "catalogue_reading.hpp"
#include "scan_process.hpp"
#include "support/exact.hpp"
#include "support/program_run.hpp"
#include "tandem/tandem.hpp"

namespace tandem::testing {
namespace {

// A value the run did not show is nan on both sides.
::testing::AssertionResult same_or_unshown(double actual, double expected) {
  if (std::isnan(actual) && std::isnan(expected)) {
    return ::testing::AssertionSuccess();
  }
  return same(actual, expected);
}

struct Check {
  double sigma = 0;
  std::string verdict;
  double centre = 0;
  double period = 0;
  double amplitude = NAN;  // JSON Lines only
  double energy_error = NAN;
};

// "0:not confirmed:nan:nan;60:confirmed:60.2:148.5" into its entries.
std::vector<Check> csv_checks(const std::string& field) {
  std::vector<Check> out;
  std::istringstream entries(field);
  for (std::string entry; std::getline(entries, entry, ';');) {
    std::istringstream parts(entry);
    std::string sigma, verdict, centre, period;
    std::getline(parts, sigma, ':');
    std::getline(parts, verdict, ':');
    std::getline(parts, centre, ':');
    std::getline(parts, period, ':');
    out.push_back({real_of(sigma), verdict, real_of(centre), real_of(period)});
  }
  return out;
}

double json_real(const nlohmann::json& x) {
  return x.is_null() ? NAN : x.get<double>();
}

std::vector<Check> json_checks(const nlohmann::json& list) {
  std::vector<Check> out;
  for (const auto& c : list) {
    out.push_back({c["sigma_deg"].get<double>(), c["verdict"].get<std::string>(),
                   json_real(c["measured_centre_deg"]), json_real(c["measured_period_years"]),
                   json_real(c["amplitude_deg"]), json_real(c["energy_error"])});
  }
  return out;
}

void expect_checks(const std::vector<Check>& got, const System& system, int k2, int k1,
                   const VerifyOptions& options, bool with_details) {
  const Result result = solve(system, {static_cast<double>(k2), static_cast<double>(k1)});
  const std::vector<Verification> want = verify(result, options);
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_TRUE(same(got[i].sigma, want[i].sigma_deg));
    EXPECT_EQ(got[i].verdict, name(want[i].verdict));
    EXPECT_TRUE(same_or_unshown(got[i].centre, want[i].measured_centre_deg));
    EXPECT_TRUE(same_or_unshown(got[i].period, want[i].measured_period_years));
    if (with_details) {
      EXPECT_TRUE(same_or_unshown(got[i].amplitude, want[i].amplitude_deg));
      EXPECT_TRUE(same_or_unshown(got[i].energy_error, want[i].energy_error));
    }
  }
}

class ScanVerify : public ::testing::Test {
 protected:
  void SetUp() override { dir_.write("tandem.inp", example_file("trojan-1-1", "tandem.inp")); }
  ScratchDir dir_;
};

// The Trojan's 1:1 has L4 and L5 and a point inside the close-encounter band (not
// confirmed, nothing measured); its 2:1 one point.
TEST_F(ScanVerify, EveryRowCarriesTheLibrarysChecks) {
  const System system = read_input(dir_.path() / "tandem.inp").system;
  const ScanOutcome csv = run_scan(dir_.path(), {"1:1", "2:1", "--verify"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  const std::string header = lines_of(csv.out).at(0);
  EXPECT_TRUE(header.ends_with(",placed,verify,zones")) << header;
  const auto rows = csv_rows(csv.out);
  ASSERT_EQ(rows.size(), 2U);
  std::size_t checked = 0;
  for (const CsvRow& row : rows) {
    SCOPED_TRACE(row.at("k2") + ":" + row.at("k1"));
    const auto got = csv_checks(row.at("verify"));
    checked += got.size();
    expect_checks(got, system, std::stoi(row.at("k2")), std::stoi(row.at("k1")), {}, false);
  }
  EXPECT_EQ(checked, 4U);

  VerifyOptions options;
  options.offset_deg = -8;
  options.periods = 4;
  const ScanOutcome jsonl =
      run_scan(dir_.path(), {"1:1", "2:1", "--verify", "--verify-offset", "-8", "--verify-periods",
                             "4", "--format", "jsonl", "--threads", "1"});
  ASSERT_EQ(jsonl.status, 0) << jsonl.err;
  for (const std::string& line : lines_of(jsonl.out)) {
    const auto row = nlohmann::json::parse(line);
    SCOPED_TRACE(line.substr(0, 40));
    expect_checks(json_checks(row["verify"]), system, row["k2"].get<int>(), row["k1"].get<int>(),
                  options, true);
  }
}

TEST_F(ScanVerify, WithoutItTheCatalogueKeepsItsColumnsAndMixedPartsAreRefused) {
  const ScanOutcome csv = run_scan(dir_.path(), {"1:1"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(lines_of(csv.out).at(0),
            "index,total,name,k2,k1,order,a1_au,a2_au,period_ratio,mean_r,rmin,rmax,strength,"
            "amplitude,detectable,width_a1_au,width_a2_au,stable,unstable,close_encounters,"
            "min_distance_hill,placed,zones");
  const ScanOutcome jsonl = run_scan(dir_.path(), {"1:1", "--format", "jsonl"});
  ASSERT_EQ(jsonl.status, 0) << jsonl.err;
  EXPECT_FALSE(nlohmann::json::parse(lines_of(jsonl.out).at(0)).contains("verify"));

  const auto part = [&](const std::string& shard, bool verified, const std::string& file) {
    std::vector<std::string> args = {"1:1", "2:1", "--shard", shard, "--output", file};
    if (verified) {
      args.push_back("--verify");
    }
    const ScanOutcome o = run_scan(dir_.path(), args);
    ASSERT_EQ(o.status, 0) << o.err;
  };
  part("1/2", true, "v1.csv");
  part("2/2", true, "v2.csv");
  part("2/2", false, "plain2.csv");
  // Parts with --verify merge into the scan of one process.
  const ScanOutcome whole = run_scan(dir_.path(), {"1:1", "2:1", "--verify"});
  const ScanOutcome merged = run_scan(dir_.path(), {"merge", "v2.csv", "v1.csv"});
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_EQ(merged.out, whole.out);
  const ScanOutcome mixed = run_scan(dir_.path(), {"merge", "v1.csv", "plain2.csv"});
  EXPECT_EQ(mixed.status, 2);
  EXPECT_TRUE(mixed.out.empty());
  EXPECT_NE(mixed.err.find("tandem-scan: merge refused: plain2.csv: not from the same scan as "
                           "v1.csv: it was made without --verify, the other with it"),
            std::string::npos)
      << mixed.err;
}

}  // namespace
}  // namespace tandem::testing
