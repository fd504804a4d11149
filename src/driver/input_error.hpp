#pragma once
// A value of tandem.inp that the computation cannot use. The message is one line, without
// its line end, naming the item and its value; the run ends before any output file is
// touched.

#include <stdexcept>
#include <string>

#include "tandem/problem.hpp"

namespace tandem {

class InputError : public std::runtime_error {
 public:
  InputError(const std::string& text, const Problem& problem)
      : std::runtime_error(text), problem_(problem) {}
  const Problem& problem() const noexcept { return problem_; }

 private:
  Problem problem_;
};

}  // namespace tandem
