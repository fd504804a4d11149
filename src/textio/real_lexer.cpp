#include "textio/real_lexer.hpp"

#include <charconv>
#include <limits>
#include <system_error>

#include "textio/fatal_report.hpp"

namespace tandem::textio {
namespace {

constexpr long kLargestExponent = 99999999;
// Beyond these decimal orders every value is an infinity or a zero of double.
constexpr long long kOverflowOrder = 400;
constexpr long long kUnderflowOrder = -400;
const char* const kIncomprehensible = "incomprehensible list input";

bool take_sign(CharSource& in) {
  const int c = in.peek();
  if (c == '+' || c == '-') {
    in.advance();
  }
  return c == '-';
}

long lex_exponent(CharSource& in) {
  const bool negative = take_sign(in);
  if (!is_digit(in.peek())) {
    throw IoFailure("exponent field", kIncomprehensible);
  }
  long value = 0;
  for (; is_digit(in.peek()); in.advance()) {
    value = value * 10 + (in.peek() - '0');
    if (value > kLargestExponent) {
      throw IoFailure("exponent field", kIncomprehensible);
    }
  }
  return negative ? -value : value;
}

bool starts_exponent(int c) {
  return c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == '+' || c == '-';
}

double signed_magnitude(bool negative, double magnitude) {
  return negative ? -magnitude : magnitude;
}

}  // namespace

void RealText::add_integer_digit(char d) {
  any_digit = true;
  if (digits.empty() && d == '0') {
    return;  // a leading zero
  }
  if (digits.size() < kKeptDigits) {
    digits += d;
  } else {
    sticky = sticky || d != '0';
    ++scale;
  }
}

void RealText::add_fraction_digit(char d) {
  any_digit = true;
  if (digits.size() >= kKeptDigits) {
    sticky = sticky || d != '0';
    return;
  }
  if (!digits.empty() || d != '0') {
    digits += d;
  }
  --scale;
}

RealText lex_real(CharSource& in) {
  RealText text;
  text.negative = take_sign(in);
  for (; is_digit(in.peek()); in.advance()) {
    text.add_integer_digit(static_cast<char>(in.peek()));
  }
  lex_real_rest(in, text);
  return text;
}

void lex_real_rest(CharSource& in, RealText& text) {
  if (in.peek() == '.') {
    in.advance();
    for (; is_digit(in.peek()); in.advance()) {
      text.add_fraction_digit(static_cast<char>(in.peek()));
    }
  }
  if (!text.any_digit) {
    throw IoFailure("invalid number", kIncomprehensible);
  }
  const int c = in.peek();
  if (starts_exponent(c)) {
    if (c != '+' && c != '-') {
      in.advance();
    }
    text.exponent = lex_exponent(in);
  }
}

double to_double(const RealText& text) {
  if (text.digits.empty()) {
    return signed_magnitude(text.negative, 0.0);
  }
  // The value lies in [10^(order - 1), 10^order).
  const long long power = text.scale + text.exponent;
  const long long order = static_cast<long long>(text.digits.size()) + power;
  const double infinity = std::numeric_limits<double>::infinity();
  if (order > kOverflowOrder || order < kUnderflowOrder) {
    return signed_magnitude(text.negative, order > 0 ? infinity : 0.0);
  }
  std::string normal = text.negative ? "-" : "";
  normal += text.digits;
  // A nonzero digit right after those kept stands for all the dropped ones: it lies in the
  // same gap between halfway points of doubles.
  if (text.sticky) {
    normal += '1';
  }
  normal += 'e';
  normal += std::to_string(text.sticky ? power - 1 : power);
  double value = 0;
  const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (result.ec != std::errc::result_out_of_range) {
    return value;
  }
  return signed_magnitude(text.negative, order > 0 ? infinity : 0.0);
}

}  // namespace tandem::textio
