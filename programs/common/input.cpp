#include "common/input.hpp"

#include <ostream>

namespace tandem::common {

std::optional<InputFile> load_input(const std::filesystem::path& file, const std::string& program,
                                    std::ostream& err) {
  try {
    InputFile input = read_input(file);
    for (const std::string& warning : input.warnings) {
      err << program << ": warning: " << warning << "\n";
    }
    err << std::flush;
    return input;
  } catch (const InputFileError& error) {
    err << program << ": " << error.what() << std::endl;
    return std::nullopt;
  }
}

}  // namespace tandem::common
