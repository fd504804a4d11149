#pragma once
// --input FILE for the tandem programs: the console program's tandem.inp, read by the
// library's reader (tandem::read_input) with its checks, so that a file the console
// program refuses is refused here with the same words.
//
// A refusal is printed as "<program>: " followed by the reader's message, which names the
// file (and the line and the item where the reader knows them); each warning of the
// reader (values left over on a planet line, ...) as "<program>: warning: <text>".

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "tandem/files.hpp"

namespace tandem::common {

// The file read, its warnings printed on err; std::nullopt after a refusal printed on err.
std::optional<InputFile> load_input(const std::filesystem::path& file, const std::string& program,
                                    std::ostream& err);

}  // namespace tandem::common
