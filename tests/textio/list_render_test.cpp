#include "textio/list_render.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tandem::textio {
namespace {

using Records = std::vector<std::string>;

TEST(ListReal, NineSignificantDigitsFixedOrExponentStyle) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.5, "  0.5"},
      {-0.25, " -0.25"},
      {0.0, "  0."},
      {-0.0, "  0."},
      {1234.5, "  1234.5"},
      {1.0e-5, "  1.E-005"},
      {6.123456789e-8, "  6.12345679E-008"},
      {2.0e9, "  2.E+009"},
      {123456789.0, "  123456789."},
      {100000000.0, "  100000000."},
      {1000000000.0, "  1.E+009"},
      {0.0001, "  0.0001"},
      {1.0 / 3.0, "  0.333333333"},
      {-2.5e-10, " -2.5E-010"},
      {1.5e300, "  1.5E+300"},
      {1e-300, "  1.E-300"},
      // The style follows the exponent after rounding to nine digits.
      {999999999.7, "  1.E+009"},
      {0.000099999999999, "  0.0001"},
      {9.9999999999, "  10."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(list_real(c.value), c.text) << c.value;
  }
}

// Like every number, the word keeps its leading blank and its sign column.
TEST(ListReal, NonFiniteValues) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(list_real(inf), "  Infinity");
  EXPECT_EQ(list_real(-inf), " -Infinity");
  EXPECT_EQ(list_real(std::nan("")), "  NaN");
  EXPECT_EQ(list_records({"<R> = ", -inf, std::nan(""), "  [M_sun,au,days]"}),
            Records{" <R> =  -Infinity  NaN  [M_sun,au,days]"});
}

TEST(ListRecords, ItemsJoinAsInTheConsoleLines) {
  EXPECT_EQ(list_records({"Star mass =  ", 1.0}), Records{" Star mass =    1."});
  EXPECT_EQ(list_records({"Resonance =  ", 3, ":", 2}), Records{" Resonance =   3: 2"});
  EXPECT_EQ(list_records({"sigma =", 2, "*lambda1", -3, "*lambda2 +", 1, "*varpi1"}),
            Records{" sigma = 2*lambda1 -3*lambda2 + 1*varpi1"});
  EXPECT_EQ(list_records({"        "}), Records{std::string(9, ' ')});
  EXPECT_EQ(list_records({}), Records{""});
  EXPECT_EQ(list_records({std::numeric_limits<int>::min()}), Records{" -2147483648"});
  // A float is widened: 0.1f is 0.100000001490116..., not 0.1.
  EXPECT_EQ(list_records({0.1f}), Records{"  0.100000001"});
}

TEST(ListRecords, NoItemReachesColumnEightyUnlessItStartsTheRecord) {
  const std::string s69(69, 'x');  // with the leading blank the record is at column 70
  EXPECT_EQ(list_records({s69, 1234567.0}), (Records{" " + s69, "  1234567."}));
  EXPECT_EQ(list_records({s69, 123456.0}), Records{" " + s69 + "  123456."});
  // An integer is judged by its digits alone, though its blank makes it one wider.
  EXPECT_EQ(list_records({s69, 12345678, 1}), (Records{" " + s69 + " 12345678", " 1"}));
  // A string opening a new record gets the leading blank.
  EXPECT_EQ(list_records({s69, "0123456789"}), (Records{" " + s69, " 0123456789"}));
  EXPECT_EQ(list_records({s69, "012345678"}), Records{" " + s69 + "012345678"});
  const std::string s85(85, 'y');
  EXPECT_EQ(list_records({s85}), Records{" " + s85});
  EXPECT_EQ(list_records({"a", s85, 7}), (Records{" a", " " + s85, " 7"}));
}

}  // namespace
}  // namespace tandem::textio
