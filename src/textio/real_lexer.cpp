#include "textio/real_lexer.hpp"

#include <charconv>
#include <limits>
#include <system_error>

#include "textio/fatal_report.hpp"

namespace tandem::textio {
namespace {

constexpr long kLargestExponent = 99999999;
const char* const kIncomprehensible = "incomprehensible list input";

std::string take_digits(CharSource& in) {
  std::string digits;
  while (is_digit(in.peek())) {
    digits += static_cast<char>(in.peek());
    in.advance();
  }
  return digits;
}

bool take_sign(CharSource& in) {
  const int c = in.peek();
  if (c == '+' || c == '-') {
    in.advance();
  }
  return c == '-';
}

long lex_exponent(CharSource& in) {
  const bool negative = take_sign(in);
  const std::string digits = take_digits(in);
  if (digits.empty()) {
    throw IoFailure("exponent field", kIncomprehensible);
  }
  long value = 0;
  for (const char d : digits) {
    value = value * 10 + (d - '0');
    if (value > kLargestExponent) {
      throw IoFailure("exponent field", kIncomprehensible);
    }
  }
  return negative ? -value : value;
}

bool starts_exponent(int c) {
  return c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == '+' || c == '-';
}

}  // namespace

RealText lex_real(CharSource& in) {
  RealText text;
  text.negative = take_sign(in);
  text.integer_digits = take_digits(in);
  if (in.peek() == '.') {
    in.advance();
    text.fraction_digits = take_digits(in);
  }
  if (text.integer_digits.empty() && text.fraction_digits.empty()) {
    throw IoFailure("invalid number", kIncomprehensible);
  }
  const int c = in.peek();
  if (starts_exponent(c)) {
    if (c != '+' && c != '-') {
      in.advance();
    }
    text.exponent = lex_exponent(in);
  }
  return text;
}

double to_double(const RealText& text) {
  std::string normal = text.negative ? "-" : "";
  normal += text.integer_digits.empty() ? "0" : text.integer_digits;
  if (!text.fraction_digits.empty()) {
    normal += '.';
    normal += text.fraction_digits;
  }
  normal += 'e';
  normal += std::to_string(text.exponent);
  double value = 0;
  const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (result.ec != std::errc::result_out_of_range) {
    return value;
  }
  // Out of range: the decimal order of the leading nonzero digit says which way.
  const std::string digits = text.integer_digits + text.fraction_digits;
  const auto leading = static_cast<long>(digits.find_first_not_of('0'));
  const long order = static_cast<long>(text.integer_digits.size()) - leading + text.exponent;
  const double magnitude = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  return text.negative ? -magnitude : magnitude;
}

}  // namespace tandem::textio
