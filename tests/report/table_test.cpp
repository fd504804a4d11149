#include "report/table.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <vector>

#include "support/layer_capture.hpp"
#include "textio/unit_numbers.hpp"

namespace tandem {
namespace {

using testing::LayerCapture;
using testing::lines_of;

struct TableCase {
  Result result;
  TableCase() {
    Curve& c = result.curve;
    for (int i = 0; i < grid_points; ++i) {
      c.sigma[i] = i;
    }
    c.r_minus_rmin[0] = 1.2345678e-6;
    c.r_minus_rmin[45] = 0.98765432e-6;
    c.close_encounter[45] = true;
    c.r_minus_rmin[90] = 2.3456789e-6;
    c.equilibrium[90] = EquilibriumKind::unstable;
    c.equilibrium[0] = EquilibriumKind::stable;
    c.period_years[0] = 123.456;
    c.equilibrium[180] = EquilibriumKind::stable;
    c.period_years[180] = 123.456;
  }
};

std::string plain_row(int sigma) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%4d.00", sigma);
  return buf + std::string("  0.00000000E+00") + std::string(20, ' ');
}

TEST(Table, HeaderRowsAndEquilibriumLines) {
  LayerCapture c;
  c.dir().write("rsigma.dat", std::string(600, 'x') + "\n" + std::string(30000, 'y'));
  const TableCase x;
  c.io().open(textio::unit_summary, "resonance.dat", textio::Status::unknown,
              textio::Access::append);
  write_table(c.io(), x.result);
  c.io().close(textio::unit_summary);

  const std::string text = c.file("rsigma.dat");
  const auto rows = lines_of(text);
  ASSERT_EQ(rows.size(), 361u);
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(rows[0], "  sigma   R-R_min ");
  EXPECT_EQ(rows[1], "   0.00  0.12345678E-05           E. STABLE  0.12345600E+03");
  EXPECT_EQ(rows[46], "  45.00  0.98765432E-06 CLOSE ENC          ");
  EXPECT_EQ(rows[91], "  90.00  0.23456789E-05            UNSTABLE");
  EXPECT_EQ(rows[181], " 180.00  0.00000000E+00           E. STABLE  0.12345600E+03");
  for (int i : {1, 44, 179, 182, 359})
    EXPECT_EQ(rows[i + 1], plain_row(i));
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const bool stable = (i == 1 || i == 181);
    EXPECT_EQ(rows[i].size(), stable ? 59u : 43u) << "row " << i;
  }

  const std::string lines =
      " sigma=  0. E. STABLE  P=  0.12345600E+03     years\n"
      " sigma=180. E. STABLE  P=  0.12345600E+03     years\n";
  EXPECT_EQ(c.screen(), lines);
  EXPECT_EQ(c.file("resonance.dat"), lines);
}

TEST(Table, APeriodThatIsNotANumberStillMarksAnEquilibrium) {
  LayerCapture c;
  TableCase x;
  x.result.curve.period_years.fill(0.0);
  x.result.curve.period_years[7] = std::numeric_limits<double>::quiet_NaN();
  c.io().open(textio::unit_summary, "resonance.dat", textio::Status::unknown,
              textio::Access::append);
  write_table(c.io(), x.result);
  c.io().close(textio::unit_summary);
  const auto rows = lines_of(c.file("rsigma.dat"));
  ASSERT_EQ(rows.size(), 361u);
  EXPECT_GT(rows[8].size(), 43u);
  EXPECT_EQ(lines_of(c.screen()).size(), 1u);
}

}  // namespace
}  // namespace tandem
