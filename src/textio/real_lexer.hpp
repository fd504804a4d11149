#pragma once
// Real numbers of list-directed input: "-1.5", "2", ".5e3", "1.5D-3", "1.5-3" (the sign
// alone introducing the exponent).
//
// A number is read without holding its text: of its digits only the first kKeptDigits
// significant ones are kept, with a sticky flag for any nonzero digit beyond them and the
// power of ten they stand at. That is enough for the correctly rounded double: a value
// halfway between two doubles has at most 767 significant digits, so no such halfway
// point falls strictly between the kept digits and the kept digits plus a unit of the
// last one. A number of a gigabyte of digits takes no more memory than one of ten.

#include <cstddef>
#include <string>

#include "textio/char_source.hpp"

namespace tandem::textio {

inline constexpr std::size_t kKeptDigits = 800;

// The parts of a number as written. The value is digits * 10^(scale + exponent), plus
// something below a unit of the last kept digit when `sticky` is set.
struct RealText {
  bool negative = false;
  bool any_digit = false;  // a digit came, before or after the point
  std::string digits;      // significant digits: leading zeros dropped, at most kKeptDigits
  bool sticky = false;     // a nonzero digit beyond those kept
  long long scale = 0;     // power of ten of the last kept digit
  long exponent = 0;       // as written, at most 99999999 in magnitude

  void add_integer_digit(char d);
  void add_fraction_digit(char d);
};

// Reads one number and stops at the first character that does not belong to it, leaving
// that character. Throws IoFailure "invalid number" when no digit comes, "exponent field"
// for an exponent without digits or beyond 99999999.
RealText lex_real(CharSource& in);

// The same for a number whose sign and integer digits are already in `text`: reads the
// point, the fraction and the exponent.
void lex_real_rest(CharSource& in, RealText& text);

// The correctly rounded double; beyond the range of double, a signed infinity or zero.
double to_double(const RealText& text);

inline bool is_digit(int c) {
  return c >= '0' && c <= '9';
}

}  // namespace tandem::textio
