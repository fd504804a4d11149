// List-directed reading, through unit 5 on a pipe.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "io_fixture.hpp"

namespace tandem::textio {
namespace {

using testing::failure_of;
using testing::LayerOnPipe;
using Real = std::optional<double>;

TEST(ListRead, ValuesSeparatedByBlanksCommasOrLineEnds) {
  for (const char* input : {"3 2\n", "3,2\n", "3 , 2\n", "\t3\t2\n", "3\n2\n", "\n \n3\n\n2"}) {
    LayerOnPipe layer(input);
    Real a, b;
    layer->read_list(5, {&a, &b});
    EXPECT_EQ(a, 3.0) << input;
    EXPECT_EQ(b, 2.0) << input;
  }
}

TEST(ListRead, NullValuesAndSlashKeepWhatDestinationsHeld) {
  LayerOnPipe layer("3,,2\n/\n1 / 9\n2* 4\n");
  Real a, b = 7.0, c;
  layer->read_list(5, {&a, &b, &c});
  EXPECT_EQ(a, 3.0);
  EXPECT_EQ(b, 7.0);
  EXPECT_EQ(c, 2.0);
  Real d, e;
  layer->read_list(5, {&d, &e});
  EXPECT_FALSE(d.has_value());
  EXPECT_FALSE(e.has_value());
  layer->read_list(5, {&d, &e});
  EXPECT_EQ(d, 1.0);
  EXPECT_FALSE(e.has_value());
  Real f = 5.0, g = 6.0, h;
  layer->read_list(5, {&f, &g, &h});
  EXPECT_EQ(f, 5.0);
  EXPECT_EQ(g, 6.0);
  EXPECT_EQ(h, 4.0);
}

TEST(ListRead, RepeatCountsGiveCopiesAcrossDestinations) {
  LayerOnPipe layer("2*1.5 3*'ab' x\n");
  Real a, b;
  std::string s, t, u, v;
  layer->read_list(
      5, {&a, &b, TextTarget{&s, 2}, TextTarget{&t, 3}, TextTarget{&u, 2}, TextTarget{&v, 1}});
  EXPECT_EQ(a, 1.5);
  EXPECT_EQ(b, 1.5);
  EXPECT_EQ(s, "ab");
  EXPECT_EQ(t, "ab ");
  EXPECT_EQ(u, "ab");
  EXPECT_EQ(v, "x");
}

TEST(ListRead, NumberForms) {
  LayerOnPipe layer("1.5-3 2.5D2 -.5e+1 +7 1E400 -1e-400 0.1\n");
  Real v[7];
  layer->read_list(5, {&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]});
  EXPECT_EQ(v[0], 1.5e-3);
  EXPECT_EQ(v[1], 250.0);
  EXPECT_EQ(v[2], -5.0);
  EXPECT_EQ(v[3], 7.0);
  EXPECT_EQ(v[4], std::numeric_limits<double>::infinity());
  EXPECT_EQ(v[5], 0.0);
  EXPECT_TRUE(std::signbit(*v[5]));
  EXPECT_EQ(v[6], 0.1);  // correctly rounded, as the compiler rounds the literal
}

// Only 800 significant digits are kept, with a flag for a nonzero digit beyond and the
// power of ten of those dropped. The first number is 1 + 2^-53 exactly, halfway between 1
// and the next double: it rounds to even (1), but with a 1 a thousand digits later it
// lies above halfway and rounds up. Leading zeros and dropped digits shift the exponent.
TEST(ListRead, NumbersBeyondTheKeptDigitsStillRoundCorrectly) {
  const std::string halfway = "1.00000000000000011102230246251565404236316680908203125";
  const std::string thousand_zeros(1000, '0');
  LayerOnPipe layer(halfway + " " + halfway + thousand_zeros + "1 " + "0." + thousand_zeros +
                    "25e1000 1" + thousand_zeros + "d-1000 -9" + thousand_zeros + "1E-1002\n");
  Real v[5];
  layer->read_list(5, {&v[0], &v[1], &v[2], &v[3], &v[4]});
  EXPECT_EQ(v[0], 1.0);
  EXPECT_EQ(v[1], std::nextafter(1.0, 2.0));
  EXPECT_EQ(v[2], 0.25);
  EXPECT_EQ(v[3], 1.0);
  EXPECT_EQ(v[4], -0.9);  // -9.00...01 * 10^-1
}

TEST(ListRead, StringsQuotedOrFirstWordBlankFilledOrCut) {
  LayerOnPipe layer("tandem inp file\n'it''s a\nline' \"q\"\"\" abcdef\n");
  std::string word;
  layer->read_list(5, {TextTarget{&word, 8}});
  EXPECT_EQ(word, "tandem  ");
  std::string quoted, doubled, cut;
  layer->read_list(5, {TextTarget{&quoted, 12}, TextTarget{&doubled, 2}, TextTarget{&cut, 3}});
  EXPECT_EQ(quoted, "it's aline  ");
  EXPECT_EQ(doubled, "q\"");
  EXPECT_EQ(cut, "abc");
}

TEST(ListRead, RestOfLineIsSkippedAfterTheLastValue) {
  LayerOnPipe layer("1 2 junk 'x\n3\n");
  Real a, b;
  layer->read_list(5, {&a});
  layer->read_list(5, {&b});
  EXPECT_EQ(a, 1.0);
  EXPECT_EQ(b, 3.0);
}

TEST(ListRead, WindowsLineEndsReadLikeTheirLineFeedTwins) {
  for (const char* input : {"'two\nparts' 3\nname\n 4\n", "'two\r\nparts' 3\r\nname\r\n 4\r\n"}) {
    LayerOnPipe layer(input);
    std::string joined, name;
    Real a, b;
    layer->read_list(5, {TextTarget{&joined, 8}, &a});
    layer->read_list(5, {TextTarget{&name, 5}, &b});
    EXPECT_EQ(joined, "twoparts");
    EXPECT_EQ(a, 3.0);
    EXPECT_EQ(name, "name ");
    EXPECT_EQ(b, 4.0);
  }
}

TEST(ListRead, LastLineWithoutLineEndThenReadStartFails) {
  LayerOnPipe layer("5");
  Real a;
  layer->read_list(5, {&a});
  EXPECT_EQ(a, 5.0);
  EXPECT_EQ(failure_of([&] { layer->read_list(5, {&a}); }), "read start: end of file");
}

TEST(ListRead, EndOfFileWhileSeekingAValue) {
  for (const char* input : {"", "\n\n", "1\n", "'open quote\n"}) {
    LayerOnPipe layer(input);
    Real a, b;
    std::string s;
    const auto read = [&] {
      if (input[0] == '\'') {
        layer->read_list(5, {TextTarget{&s, 3}});
      } else {
        layer->read_list(5, {&a, &b});
      }
    };
    EXPECT_EQ(failure_of(read), "list in: end of file") << input;
  }
}

TEST(ListRead, IncomprehensibleInput) {
  const struct {
    const char* input;
    const char* operation;
  } cases[] = {
      {"abc\n", "invalid number"},         {"-\n", "invalid number"},
      {".\n", "invalid number"},           {"3x\n", "invalid number"},
      {"0*3\n", "bad repetition count"},   {"*3\n", "bad repetition count"},
      {"-2*3\n", "bad repetition count"},  {"99999999999*1\n", "bad repetition count"},
      {"1.5e\n", "exponent field"},        {"1.5+\n", "exponent field"},
      {"1d999999999\n", "exponent field"},
  };
  for (const auto& c : cases) {
    LayerOnPipe layer(c.input);
    Real a, b;
    EXPECT_EQ(failure_of([&] {
                layer->read_list(5, {&a, &b});
              }),
              std::string(c.operation) + ": incomprehensible list input")
        << c.input;
  }
}

}  // namespace
}  // namespace tandem::textio
