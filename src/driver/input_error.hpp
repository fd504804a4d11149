#pragma once
// A value of tandem.inp that the computation cannot use. The message is one line, without
// its line end, naming the item and its value; the run ends before any output file is
// touched.

#include <stdexcept>
#include <string>

namespace tandem {

class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tandem
