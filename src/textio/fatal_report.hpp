#pragma once
// The failure raised inside the layer, and the report text made from it.
//
// Helpers deep in the layer know only what went wrong (an operation word and a message);
// the layer adds what it remembers of the recent statements when it turns the failure into
// a FatalIoError.

#include <exception>
#include <optional>
#include <string>

namespace tandem::textio {

class IoFailure : public std::exception {
 public:
  IoFailure(std::string operation, std::string message, int error_number = 0);
  const std::string& operation() const noexcept { return operation_; }
  const std::string& message() const noexcept { return message_; }
  // The system's error number for a failure it reported; 0 for the layer's own.
  int error_number() const noexcept { return error_number_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string operation_;
  std::string message_;
  int error_number_;
};

// A failure reported by the operating system, with its text for the error number.
IoFailure system_failure(std::string operation, int error_number);

// What the report tells about the statements made so far.
struct IoState {
  int unit = 0;
  std::optional<std::string> name;    // empty for the standard units
  std::optional<std::string> format;  // "list io", a format string, or none
  bool reading = false;               // kind of the last read or write statement started
};

std::string compose_report(const IoFailure& failure, const IoState& state);

}  // namespace tandem::textio
