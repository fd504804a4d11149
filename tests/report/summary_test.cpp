#include "report/summary.hpp"

#include <gtest/gtest.h>

#include "report/critical_angle.hpp"
#include "support/layer_capture.hpp"
#include "textio/unit_numbers.hpp"

namespace tandem {
namespace {

using testing::LayerCapture;

TEST(EquilibriumLine, HasItsFixedLayout) {
  LayerCapture c;
  write_equilibrium_line(c.io(), textio::unit_screen, 180.0, EquilibriumKind::stable, 123.456);
  write_equilibrium_line(c.io(), textio::unit_screen, 0.0, EquilibriumKind::unstable, 1.0e-5);
  write_equilibrium_line(c.io(), textio::unit_screen, 359.0, EquilibriumKind::stable, 2.5e120);
  const std::string expected =
      " sigma=180. E. STABLE  P=  0.12345600E+03     years\n"
      " sigma=  0.  UNSTABLE  P=  0.10000000E-04     years\n"
      " sigma=359. E. STABLE  P=  0.25000000+121     years\n";
  EXPECT_EQ(c.screen(), expected);
  EXPECT_EQ(expected.find('\n'), 51u);
}

TEST(CriticalAngle, TruncatesEachCoefficientTowardZero) {
  LayerCapture c;
  write_critical_angle(c.io(), textio::unit_screen, Resonance{3.0, 2.0});
  write_critical_angle(c.io(), textio::unit_screen, Resonance{7.9, 2.5});
  write_critical_angle(c.io(), textio::unit_screen, Resonance{1.0, 1.0});
  EXPECT_EQ(c.screen(),
            " sigma = 2*lambda1 -3*lambda2 + 1*varpi1\n"
            " sigma = 2*lambda1 -7*lambda2 + 5*varpi1\n"
            " sigma = 1*lambda1 -1*lambda2 + 0*varpi1\n");
}

// The case of the summary's rendered examples: a star of 1 M_sun, planet masses 0.001
// and 0.0003, e 0.1 and 0.05, inclinations 2 and 1, nodes 30 and 100, perihelia 60 and 15.
struct ExampleCase {
  Result result;
  Resonance resonance{3.0, 2.0};
  ExampleCase() {
    result.system.star_mass = 1.0;
    result.system.planet1 = {0.0, 0.1, 2.0, 30.0, 60.0, 0.001};
    result.system.planet2 = {5.2, 0.05, 1.0, 100.0, 15.0, 0.0003};
    result.resonance = resonance;
    result.orbit.a1 = 3.5;
    result.orbit.a2 = 5.25;
    result.analysis.mean = -1.5e-7;
    result.analysis.strength = 5.0e-8;
    result.analysis.amplitude = 0.0;
    result.analysis.width_a1 = 0.0;
    result.analysis.width_a2 = 0.25;
  }
};

TEST(SummaryBlock, RecordsOfTheHeadAndTail) {
  LayerCapture c;
  const ExampleCase x;
  write_summary_head(c.io(), x.result);
  write_summary_tail(c.io(), x.resonance);
  EXPECT_EQ(c.file("resonance.dat"),
            " Star mass =    1.\n"
            " Planet masses=    0.001  0.0003\n"
            " Planet a1, a2 =    3.5  5.25 Poincare system\n"
            " Planet e1, e2 =    0.1  0.05\n"
            " Planet i1, i2 =    2.  1.\n"
            " Planet LN1, LN2 =    30.  100.\n"
            " Planet LP1, LP2 =    60.  15.\n"
            " Resonance =   3: 2\n"
            " <R> =  -1.5E-007  [M_sun,au,days]\n"
            " Strength (<R>-Rmin) =   5.E-008\n"
            " Rmax-Rmin =   0.\n"
            " Close enc. dist. =   3. RHill\n"
            " stable full width Da1, Da2=   0.  0.25\n"
            " sigma = 2*lambda1 -3*lambda2 + 1*varpi1\n"
            "         \n");
}

TEST(SummaryBlock, AppendsAfterEarlierBlocks) {
  LayerCapture c;
  c.dir().write("resonance.dat", "an earlier block\n");
  const ExampleCase x;
  for (int run = 0; run < 2; ++run) {
    write_summary_head(c.io(), x.result);
    write_summary_tail(c.io(), x.resonance);
  }
  const std::string earlier = "an earlier block\n";
  const std::string text = c.file("resonance.dat");
  ASSERT_EQ(text.compare(0, earlier.size(), earlier), 0);
  const std::string blocks = text.substr(earlier.size());
  ASSERT_EQ(blocks.size() % 2, 0u);
  EXPECT_EQ(blocks.substr(0, blocks.size() / 2), blocks.substr(blocks.size() / 2));
  EXPECT_EQ(blocks.rfind(" Star mass =    1.\n", 0), 0u);
}

}  // namespace
}  // namespace tandem
