#pragma once
// Exact comparison of doubles whose failure message shows both values with 17 significant
// digits, enough to tell any two doubles apart.

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>

namespace tandem::testing {

inline std::string digits17(double x) {
  std::ostringstream out;
  out << std::setprecision(17) << x;
  return out.str();
}

inline ::testing::AssertionResult same(double actual, double expected) {
  if (actual == expected) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "got " << digits17(actual) << ", expected " << digits17(expected);
}

}  // namespace tandem::testing
