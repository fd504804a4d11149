// List-directed read statements on arbitrary bytes. The first byte chooses the shapes of
// the statements (real destinations, a 40-character text destination, or both, as the
// program reads them); the rest is the stream on the keyboard unit. Statements are read
// until one fails, as the run would end there. Besides crashes, hangs and sanitizer
// reports, a text destination of another length than declared and a fatal report that
// is not a complete report are faults.

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "memory_file.hpp"
#include "textio/record_layer.hpp"

namespace {

using tandem::textio::FatalIoError;
using tandem::textio::RecordLayer;
using tandem::textio::TextTarget;

constexpr std::size_t kTextLength = 40;
constexpr int kKeyboard = 5;

void read_statement(RecordLayer& layer, int shape, std::optional<double> (&reals)[6],
                    std::string& text) {
  const TextTarget word{&text, kTextLength};
  switch (shape % 5) {
    case 0:
      layer.read_list(kKeyboard, {&reals[0]});
      break;
    case 1:
      layer.read_list(kKeyboard, {word});
      break;
    case 2:
      layer.read_list(kKeyboard, {&reals[0], &reals[1]});
      break;
    case 3:
      layer.read_list(kKeyboard,
                      {&reals[0], &reals[1], &reals[2], &reals[3], &reals[4], &reals[5]});
      break;
    default:
      layer.read_list(kKeyboard, {word, &reals[0], word});
      break;
  }
}

bool complete_report(const std::string& report) {
  return report.find(": ") != std::string::npos &&
         report.find("\napparent state: unit 5 (unnamed)\n") != std::string::npos &&
         report.ends_with(" external IO\n");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  static const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  const int in = tandem::fuzz::memory_file(data + 1, size - 1);
  {
    RecordLayer layer(sink, in, sink);
    std::optional<double> reals[6];
    std::string text(kTextLength, ' ');
    // Every statement that succeeds consumes at least its line, so the input bounds the loop.
    for (int statement = 0;; ++statement) {
      try {
        read_statement(layer, data[0] + statement, reals, text);
      } catch (const FatalIoError& error) {
        if (!complete_report(error.report())) {
          std::abort();
        }
        break;
      }
      if (text.size() != kTextLength) {
        std::abort();
      }
    }
  }
  ::close(in);
  return 0;
}
