#include "common/untrusted_json.hpp"

namespace tandem::common {

bool nesting_within(std::string_view text, int max_depth) {
  int depth = 0;
  bool in_string = false;
  bool escaped = false;
  for (const char c : text) {
    if (in_string) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > max_depth) {
        return false;
      }
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return true;
}

std::optional<nlohmann::ordered_json> parse_untrusted_json(std::string_view text, int max_depth) {
  if (!nesting_within(text, max_depth)) {
    return std::nullopt;
  }
  auto value = nlohmann::ordered_json::parse(text.begin(), text.end(), nullptr, false);
  if (value.is_discarded()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace tandem::common
