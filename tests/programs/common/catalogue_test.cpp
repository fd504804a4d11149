// Catalogue cells and lines: reals that read back to the same double in their shortest
// form, JSON through nlohmann-json with those reals, and CSV fields quoted where a comma,
// a quote or a line end would split them.

#include "common/catalogue.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>

namespace tandem::common {
namespace {

double read_back(const std::string& text) {
  double x = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), x);
  EXPECT_EQ(res.ptr, text.data() + text.size()) << text;
  return x;
}

TEST(RealText, ShortestFormThatReadsBack) {
  EXPECT_EQ(real_text(343.0), "343");
  EXPECT_EQ(real_text(0.1), "0.1");
  EXPECT_EQ(real_text(1e-9), "1e-09");
  EXPECT_EQ(real_text(-999999.0), "-999999");
  EXPECT_EQ(real_text(std::nextafter(0.1, 1.0)), "0.10000000000000002");
  EXPECT_EQ(real_text(std::numeric_limits<double>::quiet_NaN()), "nan");
  EXPECT_EQ(real_text(-std::numeric_limits<double>::quiet_NaN()), "nan");  // not -nan
  EXPECT_EQ(real_text(-std::numeric_limits<double>::infinity()), "-inf");
  std::mt19937_64 draw(12);
  for (int i = 0; i < 10000; ++i) {
    const double x = std::ldexp(std::uniform_real_distribution<double>(-1, 1)(draw),
                                static_cast<int>(draw() % 200) - 100);
    ASSERT_EQ(read_back(real_text(x)), x);
  }
}

TEST(JsonText, RealsInTheirShortestFormAndNullWhenNotFinite) {
  nlohmann::ordered_json value = {{"sigma", 343.0},
                                  {"period_years", 0.1},
                                  {"list", {1e-9, std::numeric_limits<double>::infinity()}},
                                  {"ok", true},
                                  {"n", 7},
                                  {"text", "a \"b\"\n"}};
  const std::string text = json_text(value);
  EXPECT_EQ(text, R"({"sigma":343,"period_years":0.1,"list":[1e-09,null],"ok":true,"n":7,)"
                  R"("text":"a \"b\"\n"})");
  const auto parsed = nlohmann::json::parse(text);
  EXPECT_EQ(parsed["period_years"].get<double>(), 0.1);
}

TEST(Catalogue, CsvHeaderAndQuotedFields) {
  const Catalogue csv(Format::csv, {"name", "a1_au", "stable"});
  EXPECT_EQ(csv.header(), "name,a1_au,stable\n");
  EXPECT_EQ(csv.line({text_cell("Hilda, \"typical\""), real_cell(3.97),
                      composite_cell("343:344.5;10:2*", nlohmann::ordered_json::array())}),
            "\"Hilda, \"\"typical\"\"\",3.97,343:344.5;10:2*\n");
  EXPECT_EQ(csv_field("two\nlines"), "\"two\nlines\"");
  EXPECT_THROW(csv.line({real_cell(1)}), std::logic_error);

  // Read back: the fields as written, and nothing from a row that is not RFC 4180.
  const std::string row = csv.line({text_cell("Hilda, \"typical\"\r"), real_cell(3.97),
                                    composite_cell("", nlohmann::ordered_json::array())});
  EXPECT_EQ(csv_fields(row.substr(0, row.size() - 1)),
            (std::vector<std::string>{"Hilda, \"typical\"\r", "3.97", ""}));
  for (const char* bad : {"a\"b,c", "\"open,c", "\"x\"y,c"}) {
    EXPECT_EQ(csv_fields(bad), std::nullopt) << bad;
  }
}

TEST(Catalogue, JsonLinesObjectInColumnOrder) {
  const Catalogue jsonl(Format::jsonl, {"name", "k2", "detectable", "mean_r", "stable"});
  EXPECT_EQ(jsonl.header(), "");
  const std::string line =
      jsonl.line({text_cell("bad \xff byte"), integer_cell(3), bool_cell(false),
                  real_cell(std::numeric_limits<double>::quiet_NaN()),
                  composite_cell("", nlohmann::ordered_json::array({{{"sigma", 0.0}}}))});
  EXPECT_EQ(line,
            "{\"name\":\"bad \xEF\xBF\xBD byte\",\"k2\":3,\"detectable\":false,"
            "\"mean_r\":null,\"stable\":[{\"sigma\":0}]}\n");
  EXPECT_TRUE(nlohmann::json::accept(line));
}

}  // namespace
}  // namespace tandem::common
