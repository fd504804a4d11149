#pragma once
// JSON read from a file the program did not write itself (a part of a scan, which anyone
// may have edited or forged): parsed only when its nesting stays within a depth, so that
// a line of a million nested arrays is refused in linear time instead of exhausting the
// stack.

#include <nlohmann/json.hpp>

#include <optional>
#include <string_view>

namespace tandem::common {

// Objects and arrays nested at most max_depth deep (a flat object is depth 1).
bool nesting_within(std::string_view text, int max_depth);

// The value, or nothing when the text is not one JSON value or nests deeper.
std::optional<nlohmann::ordered_json> parse_untrusted_json(std::string_view text, int max_depth);

}  // namespace tandem::common
