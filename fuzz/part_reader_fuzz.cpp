// The part reader of tandem-scan merge on arbitrary bytes: a part is a file anyone may
// have cut, edited or forged. Every input must end in a part read or in a refusal
// (MergeRefused); besides crashes, hangs and sanitizer reports, a part accepted with a row
// that is not a whole line of its scan is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "scan/part.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  try {
    const tandem::scan::PartFile part = tandem::scan::read_part(in, "part.csv");
    const std::size_t total = part.scan["resonances"].size();
    for (const auto& [index, line] : part.rows) {
      if (index < 1 || static_cast<std::size_t>(index) > total || line.empty() ||
          line.back() != '\n' || line.find('\n') != line.size() - 1) {
        std::abort();
      }
    }
  } catch (const tandem::scan::MergeRefused&) {
  }
  return 0;
}
