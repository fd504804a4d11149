#pragma once
// Real numbers of list-directed input: "-1.5", "2", ".5e3", "1.5D-3", "1.5-3" (the sign
// alone introducing the exponent).

#include <string>

#include "textio/char_source.hpp"

namespace tandem::textio {

// The parts of a number as written, digits only.
struct RealText {
  bool negative = false;
  std::string integer_digits;
  std::string fraction_digits;
  long exponent = 0;
};

// Reads one number and stops at the first character that does not belong to it, leaving
// that character. Throws IoFailure "invalid number" when no digit comes, "exponent field"
// for an exponent without digits or beyond 99999999.
RealText lex_real(CharSource& in);

// The correctly rounded double; beyond the range of double, a signed infinity or zero.
double to_double(const RealText& text);

inline bool is_digit(int c) {
  return c >= '0' && c <= '9';
}

}  // namespace tandem::textio
