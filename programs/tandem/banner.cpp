#include "banner.hpp"

#include "textio/unit_numbers.hpp"

namespace tandem {

void write_banner(textio::RecordLayer& io) {
  for (std::string_view line : banner_lines) {
    io.write_list(textio::unit_screen, {line});
  }
}

}  // namespace tandem
