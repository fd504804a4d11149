#pragma once
// What every tandem program does around its own work, as the console program does.
//
// SIGXFSZ is ignored: a write beyond the file-size limit (ulimit -f) then fails with
// "File too large", which the program reports in one line with status 2 and whose
// temporary it removes, instead of being killed silently with its temporaries left.
// Whatever the body throws and does not catch itself (out of memory, mostly) ends the
// program with one line "<program>: <reason>" on standard error and status 2.

#include <functional>
#include <string>

namespace tandem::common {

int program_main(const std::string& program, const std::function<int()>& body);

}  // namespace tandem::common
