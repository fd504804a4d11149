#pragma once
// The edit descriptors of a format such as "(F7.2,E16.8,2A10)", repeat counts expanded.

#include <string_view>
#include <vector>

namespace tandem::textio {

struct EditDescriptor {
  char letter;       // 'F', 'E' or 'A'
  int width;         // for A, -1 when absent: the field takes the item's length
  int decimals = 0;  // d of Fw.d and Ew.d
};

// Throws std::invalid_argument for anything but "(" descriptors separated by commas ")",
// blanks allowed anywhere; letters may be lower case.
std::vector<EditDescriptor> parse_format(std::string_view format);

}  // namespace tandem::textio
