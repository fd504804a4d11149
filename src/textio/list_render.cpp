#include "textio/list_render.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "textio/list_record_builder.hpp"

namespace tandem::textio {
namespace {

constexpr int kSignificantDigits = 9;

// The nine significant digits of a positive finite magnitude and its decimal exponent,
// both taken from the correctly rounded value (9.999999999 becomes 1.00000000, X = 1).
struct RoundedMagnitude {
  std::string digits;
  int exponent;
};

RoundedMagnitude round_to_nine(double magnitude) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::scientific, kSignificantDigits - 1);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e = text.find('e');
  RoundedMagnitude rounded;
  rounded.digits = std::string(1, text[0]) + std::string(text.substr(2, e - 2));
  rounded.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  return rounded;
}

// Drops the trailing zeros of the fraction, then the point if no fraction digit is left;
// a point is put back by with_point.
std::string strip_fraction_zeros(std::string text) {
  while (!text.empty() && text.back() == '0') {
    text.pop_back();
  }
  if (!text.empty() && text.back() == '.') {
    text.pop_back();
  }
  return text;
}

std::string with_point(std::string text) {
  return text.find('.') == std::string::npos ? text + "." : text;
}

std::string fixed_style(const RoundedMagnitude& m) {
  std::string text;
  if (m.exponent >= 0) {
    const auto integer_digits = static_cast<std::size_t>(m.exponent) + 1;
    text = m.digits.substr(0, integer_digits) + "." + m.digits.substr(integer_digits);
  } else {
    text = "0." + std::string(static_cast<std::size_t>(-m.exponent - 1), '0') + m.digits;
  }
  return with_point(strip_fraction_zeros(text));
}

std::string exponent_style(const RoundedMagnitude& m) {
  const std::string mantissa =
      with_point(strip_fraction_zeros(m.digits.substr(0, 1) + "." + m.digits.substr(1)));
  const int magnitude = std::abs(m.exponent);
  std::string exponent = std::to_string(magnitude);
  exponent.insert(0, 3 - std::min<std::size_t>(3, exponent.size()), '0');
  return mantissa + "E" + (m.exponent < 0 ? "-" : "+") + exponent;
}

}  // namespace

std::string list_real(double value) {
  std::string text = " ";
  text += value < 0 ? '-' : ' ';
  if (std::isnan(value)) {
    return "  NaN";
  }
  if (std::isinf(value)) {
    return text + "Infinity";
  }
  if (value == 0) {
    return text + "0.";
  }
  const RoundedMagnitude m = round_to_nine(std::fabs(value));
  const bool fixed = m.exponent >= -4 && m.exponent < kSignificantDigits;
  return text + (fixed ? fixed_style(m) : exponent_style(m));
}

std::vector<std::string> list_records(std::initializer_list<ListItem> items) {
  std::vector<std::string> records;
  ListRecordBuilder builder([&records](std::string_view record) { records.emplace_back(record); });
  for (const ListItem& item : items) {
    builder.add(item);
  }
  builder.finish();
  return records;
}

}  // namespace tandem::textio
