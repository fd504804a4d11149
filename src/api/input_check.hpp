#pragma once
// The values read from tandem.inp checked against the domain of the computation, by the
// rules of tandem::validate, for the library's read_input and the console program.
//
// A value the computation cannot use is an InputError. Its message is one line, without
// its line end, naming the item and its value; the run ends before any output file is
// touched.

#include <stdexcept>
#include <string>

#include "input/input_file.hpp"
#include "tandem/problem.hpp"
#include "tandem/system.hpp"

namespace tandem {

class InputError : public std::runtime_error {
 public:
  InputError(const std::string& text, const Problem& problem)
      : std::runtime_error(text), problem_(problem) {}
  const Problem& problem() const noexcept { return problem_; }

 private:
  Problem problem_;
};

// Checks that every value the computation uses is present and physically meaningful
// (masses and planet 2's semi-major axis positive, 0 <= e < 1, all finite) and returns
// the system; planet 1's semi-major axis is never used and is not checked (a missing one
// becomes 0). Throws InputError naming the first offending item.
System checked_system(const RawInput& raw);

}  // namespace tandem
