#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "textio/list_render.hpp"

namespace tandem::textio {
namespace {

const double kInf = std::numeric_limits<double>::infinity();

TEST(FormatF, RoundsRightJustifiesAndOverflowsToAsterisks) {
  const struct {
    double value;
    int w, d;
    const char* text;
  } cases[] = {
      {0.0, 7, 2, "   0.00"},
      {359.0, 7, 2, " 359.00"},
      {0.0, 4, 0, "  0."},
      {90.0, 4, 0, " 90."},
      {359.0, 4, 0, "359."},
      {-1.234, 7, 2, "  -1.23"},
      {-0.001, 7, 2, "   0.00"},  // rounds to zero: no sign
      {-0.4, 4, 0, "  0."},
      {0.5, 3, 2, ".50"},
      {10.5, 3, 2, "***"},
      {1234.5, 5, 1, "*****"},
      // Only a leading digit 0 gives way; the sign keeps its column.
      {-0.5, 4, 2, "****"},
      {-0.5, 5, 2, "-0.50"},
      // 2.675 is stored as 2.67499999999999982236431605997495353221893310546875.
      {2.675, 7, 2, "   2.67"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(format_f(c.value, c.w, c.d), c.text) << c.value << " F" << c.w << "." << c.d;
  }
}

TEST(FormatE, ZeroPointFormWithFreeRoomRule) {
  const struct {
    double value;
    int w, d;
    const char* text;
  } cases[] = {
      {123.456, 16, 8, "  0.12345600E+03"},
      {-1.0e-5, 16, 8, " -0.10000000E-04"},
      {0.0, 16, 8, "  0.00000000E+00"},
      {-0.0, 16, 8, "  0.00000000E+00"},
      {9.9999999999, 16, 8, "  0.10000000E+02"},
      {1.0, 16, 8, "  0.10000000E+01"},
      // Past 99 the exponent loses its letter and keeps its four columns.
      {1.5e200, 16, 8, "  0.15000000+201"},
      {-2.5e-150, 16, 8, " -0.25000000-149"},
      {123.456, 14, 8, "0.12345600E+03"},
      {123.456, 13, 8, ".12345600E+03"},
      {-123.456, 14, 8, "-.12345600E+03"},
      {123.456, 12, 8, "************"},
      {-123.456, 13, 8, "*************"},
      {0.5, 9, 1, "  0.5E+00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(format_e(c.value, c.w, c.d), c.text) << c.value << " E" << c.w << "." << c.d;
  }
}

TEST(FormatA, RightJustifiesOrCutsOnTheRight) {
  EXPECT_EQ(format_a("sigma=", 7), " sigma=");
  EXPECT_EQ(format_a(" years", 10), "     years");
  EXPECT_EQ(format_a("E. STABLE", 10), " E. STABLE");
  EXPECT_EQ(format_a("E. STABLE", 9), "E. STABLE");
  EXPECT_EQ(format_a("abcdef", 3), "abc");
}

TEST(FormatNonFinite, WordShortenedThenAsterisks) {
  EXPECT_EQ(format_f(kInf, 10, 2), "  Infinity");
  EXPECT_EQ(format_f(-kInf, 9, 2), "-Infinity");
  EXPECT_EQ(format_f(-kInf, 7, 2), "   -Inf");
  EXPECT_EQ(format_e(kInf, 8, 1), "Infinity");
  EXPECT_EQ(format_e(std::nan(""), 16, 8), "             NaN");
  EXPECT_EQ(format_f(std::nan(""), 2, 0), "**");
  EXPECT_EQ(format_f(kInf, 2, 0), "**");
  EXPECT_EQ(format_e(-kInf, 4, 1), "-Inf");
  EXPECT_EQ(format_record("(F7.2,E16.8,2A10,E16.8)", {359.0f, kInf, "", "E. STABLE", -kInf}),
            " 359.00        Infinity           E. STABLE       -Infinity");
}

TEST(FormatRecord, FieldsAreJoinedWithoutSeparators) {
  EXPECT_EQ(
      format_record("(F7.2,E16.8,2A10,E16.8)", {359.0, 123.456, "CLOSE ENC", "E. STABLE", -1.0e-5}),
      " 359.00  0.12345600E+03 CLOSE ENC E. STABLE -0.10000000E-04");
  EXPECT_EQ(format_record("(A7,F4.0,A10,A4,E16.8,A10)",
                          {"sigma=", 90.0f, " years", "  P=", 0.0, " E. STABLE"}),
            " sigma= 90.     years  P=  0.00000000E+00 E. STABLE");
  EXPECT_EQ(format_record("( f5.1 , 2a2 )", {1.3f, "x", "yz"}), "  1.3 xyz");
  EXPECT_EQ(format_record("()", {}), "");
}

TEST(FormatRecord, RecordEndsWhereTheItemsRunOut) {
  EXPECT_EQ(format_record("(F7.2,E16.8,2A10)", {359.0}), " 359.00");
}

TEST(FormatRecord, MalformedFormatsAndMismatchedItemsAreRejected) {
  for (const char* bad : {"F7.2", "(F7.2", "(F7)", "(X3)", "(0A3)", "(E9.0)", "(F7.2)x"}) {
    EXPECT_THROW(format_record(bad, {1.0}), std::invalid_argument) << bad;
  }
  EXPECT_THROW(format_record("(F7.2)", {1.0, 2.0}), std::invalid_argument);
  EXPECT_THROW(format_record("(F7.2)", {"text"}), std::invalid_argument);
  EXPECT_THROW(format_record("(A7)", {1.0}), std::invalid_argument);
}

}  // namespace
}  // namespace tandem::textio
