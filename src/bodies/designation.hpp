#pragma once
// The Minor Planet Center's packed forms, decoded.
//
// Designations (columns 1-7 of its orbit format): a number of five characters, the first
// a digit or a letter standing for 10-35 (A-Z) and 36-61 (a-z) ("D4340" = 134340), or "~"
// and four base-62 digits for 620000 and beyond; a provisional designation of seven
// ("K14F72H" = 2014 FH72: century letter I/J/K = 18/19/20, year, half-month letter, the
// cycle count in two characters, the first possibly a letter, and the second letter); the
// survey designations "PLS2040" = 2040 P-L and "T1S3138" = 3138 T-1.
// Epochs (columns 21-25): century letter, year, month 1-9 A-C, day 1-9 A-V
// ("K194R" = 2019 April 27), at 0h TT.
// Returned: the designation as the MPC prints it ("134340", "2014 FH72"), the epoch as a
// Julian date; std::nullopt for text that is not such a form.

#include <optional>
#include <string>
#include <string_view>

namespace tandem::bodies {

std::optional<std::string> unpack_designation(std::string_view packed);
std::optional<double> unpack_epoch(std::string_view packed);

// The Julian date at 0h of a date of the Gregorian calendar (Fliegel and Van Flandern,
// Comm. ACM 11, 657, 1968, for the day number at noon, less half a day).
double julian_date(int year, int month, int day);

}  // namespace tandem::bodies
