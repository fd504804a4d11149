#include "textio/fatal_report.hpp"

#include <cstring>
#include <utility>

#include "textio/record_layer.hpp"

namespace tandem::textio {

FatalIoError::FatalIoError(std::string report, int error_number)
    : std::runtime_error(report), report_(report), error_number_(error_number) {}

IoFailure::IoFailure(std::string operation, std::string message, int error_number)
    : operation_(std::move(operation)), message_(std::move(message)), error_number_(error_number) {}

IoFailure system_failure(std::string operation, int error_number) {
  return IoFailure(std::move(operation), std::strerror(error_number), error_number);
}

std::string compose_report(const IoFailure& failure, const IoState& state) {
  std::string report = failure.operation() + ": " + failure.message() + "\n";
  report += "apparent state: unit " + std::to_string(state.unit) + " ";
  report += state.name ? "named " + *state.name + "\n" : std::string("(unnamed)\n");
  if (state.format) {
    report += "last format: " + *state.format + "\n";
  }
  report += "lately ";
  report += state.reading ? "reading" : "writing";
  report += " sequential formatted external IO\n";
  return report;
}

}  // namespace tandem::textio
