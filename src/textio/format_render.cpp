#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "textio/format_parse.hpp"
#include "textio/list_render.hpp"

namespace tandem::textio {
namespace {

std::string right_justify(const std::string& text, int width) {
  return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

bool fits(const std::string& text, int width) {
  return text.size() <= static_cast<std::size_t>(width);
}

void check_field(int width, int decimals) {
  if (width < 0 || decimals < 0) {
    throw std::invalid_argument("negative field width or digit count");
  }
}

std::string asterisks(int width) {
  return std::string(static_cast<std::size_t>(width), '*');
}

// Infinities and NaN have no digits to round; the word is shortened before giving up.
std::string non_finite_field(double value, int width) {
  const bool negative = value < 0;
  const std::string word = std::isnan(value) ? "NaN" : negative ? "-Infinity" : "Infinity";
  const std::string short_word = std::isnan(value) ? "NaN" : negative ? "-Inf" : "Inf";
  if (fits(word, width)) {
    return right_justify(word, width);
  }
  if (fits(short_word, width)) {
    return right_justify(short_word, width);
  }
  return asterisks(width);
}

std::string to_text(double magnitude, std::chars_format style, int precision) {
  // Room for the 309 integer digits of the largest double plus the requested digits.
  std::string buffer(static_cast<std::size_t>(precision) + 330, '\0');
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, style, precision);
  buffer.resize(static_cast<std::size_t>(result.ptr - buffer.data()));
  return buffer;
}

// The exponent columns of an E field: E, sign, two digits; past 99 the sign takes the
// letter's column and three digits follow.
std::string e_exponent(int exponent) {
  const int magnitude = std::abs(exponent);
  const std::string digits = std::to_string(magnitude);
  const std::size_t columns = magnitude > 99 ? 3 : 2;
  std::string text = magnitude > 99 ? "" : "E";
  text += exponent < 0 ? '-' : '+';
  text.append(columns - std::min(columns, digits.size()), '0');
  return text.append(digits);
}

}  // namespace

std::string format_f(double value, int width, int decimals) {
  check_field(width, decimals);
  if (!std::isfinite(value)) {
    return non_finite_field(value, width);
  }
  std::string text = to_text(std::fabs(value), std::chars_format::fixed, decimals);
  if (decimals == 0) {
    text += '.';
  }
  const bool all_zero = text.find_first_not_of("0.") == std::string::npos;
  if (value < 0 && !all_zero) {
    text = std::string(1, '-').append(text);
  }
  if (text.size() == static_cast<std::size_t>(width) + 1 && text[0] == '0') {
    text.erase(0, 1);
  }
  return fits(text, width) ? right_justify(text, width) : asterisks(width);
}

std::string format_e(double value, int width, int digits) {
  check_field(width, digits);
  if (digits < 1) {
    throw std::invalid_argument("an E field needs at least one digit");
  }
  if (!std::isfinite(value)) {
    return non_finite_field(value, width);
  }
  const bool negative = value < 0;
  std::string fraction(static_cast<std::size_t>(digits), '0');
  int exponent = 0;
  if (value != 0) {
    // d.ddd...e±X rounded to `digits` significant digits is 0.dddd times 10^(X+1).
    const std::string sci = to_text(std::fabs(value), std::chars_format::scientific, digits - 1);
    const std::size_t e = sci.find('e');
    fraction = sci.substr(0, 1) + (digits > 1 ? sci.substr(2, e - 2) : "");
    exponent = std::atoi(sci.c_str() + e + 1) + 1;
  }
  const int free_room = width - (digits + 5) - (negative ? 1 : 0);
  if (free_room < 0) {
    return asterisks(width);
  }
  const std::string text = std::string(negative ? "-" : "") + (free_room > 0 ? "0" : "") + "." +
                           fraction + e_exponent(exponent);
  return right_justify(text, width);
}

std::string format_a(std::string_view text, int width) {
  check_field(width, 0);
  if (fits(std::string(text), width)) {
    return right_justify(std::string(text), width);
  }
  return std::string(text.substr(0, static_cast<std::size_t>(width)));
}

namespace {

std::string render_field(const EditDescriptor& d, const FormatItem& item) {
  if (d.letter == 'A') {
    const auto* text = std::get_if<std::string_view>(&item);
    if (text == nullptr) {
      throw std::invalid_argument("an A field needs a character item");
    }
    return format_a(*text, d.width < 0 ? static_cast<int>(text->size()) : d.width);
  }
  if (std::holds_alternative<std::string_view>(item)) {
    throw std::invalid_argument("an F or E field needs a real item");
  }
  const double value = std::visit(
      [](auto v) -> double {
        if constexpr (std::is_same_v<decltype(v), std::string_view>) {
          return 0;
        } else {
          return static_cast<double>(v);
        }
      },
      item);
  return d.letter == 'F' ? format_f(value, d.width, d.decimals)
                         : format_e(value, d.width, d.decimals);
}

}  // namespace

std::string format_record(std::string_view format, std::initializer_list<FormatItem> items) {
  const std::vector<EditDescriptor> descriptors = parse_format(format);
  if (items.size() > descriptors.size()) {
    throw std::invalid_argument("more items than edit descriptors in \"" + std::string(format) +
                                "\"");
  }
  // With fewer items the record ends at the first descriptor left without one.
  std::string record;
  auto descriptor = descriptors.begin();
  for (const FormatItem& item : items) {
    record += render_field(*descriptor++, item);
  }
  return record;
}

}  // namespace tandem::textio
