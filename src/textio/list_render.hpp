#pragma once
// Rendering rules of list-directed and format-directed output, as pure functions of values.
//
// list_real: the text of one real in a list-directed record: a blank, a minus sign or a
// blank, then the magnitude with nine significant digits, in fixed notation when the
// decimal exponent X of the rounded magnitude satisfies -4 <= X < 9, else d.ddddddddE+XXX
// with a three-digit exponent; trailing fraction zeros dropped, a decimal point always
// present (inserted before the E or appended). Zero gives "  0.". Infinities keep the
// same two leading columns: "  Infinity" and " -Infinity"; not-a-number is "  NaN".
//
// list_records: the records (without line ends) that one list-directed write statement
// produces from its items, starting new records at the 80-column limit.
//
// format_f, format_e, format_a: one field of width w. A value that does not fit gives w
// asterisks. An infinity or NaN in an F or E field is written "Infinity", "-Infinity" or
// "NaN" right-justified when it fits, else "Inf" or "-Inf", else asterisks. A negative
// width or digit count, or E with no digit, throws std::invalid_argument.
//
// format_record: the one record that a format-directed write produces, for a format of
// the form "(F7.2,E16.8,2A10)" with F, E and A descriptors and repeat counts (blanks and
// lower-case letters accepted; Aw without w takes the item's length). With fewer items
// than data descriptors the record ends at the first descriptor left without an item.
// Throws std::invalid_argument for a malformed format, more items than descriptors, or an
// item of the wrong kind for its descriptor.

#include <string>
#include <string_view>
#include <vector>

#include "textio/record_layer.hpp"

namespace tandem::textio {

std::string list_real(double value);
std::vector<std::string> list_records(std::initializer_list<ListItem> items);

std::string format_f(double value, int width, int decimals);
std::string format_e(double value, int width, int digits);
std::string format_a(std::string_view text, int width);
std::string format_record(std::string_view format, std::initializer_list<FormatItem> items);

}  // namespace tandem::textio
