// The console program's files for library callers: tandem.inp through the program's reader
// and checks, rsigma.dat and resonance.dat through its reports. The console of the record
// layer goes nowhere: only the files are wanted.

#include "tandem/files.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>

#include "driver/input_error.hpp"
#include "driver/input_file.hpp"
#include "report/summary.hpp"
#include "report/table.hpp"
#include "tandem/solve.hpp"
#include "textio/record_layer.hpp"

namespace tandem {
namespace {

// A record layer whose console units are the null device, closed with it.
class QuietLayer {
 public:
  QuietLayer()
      : null_out_(::open("/dev/null", O_WRONLY | O_CLOEXEC)),
        null_in_(::open("/dev/null", O_RDONLY | O_CLOEXEC)),
        io_(null_out_, null_in_, null_out_) {}
  ~QuietLayer() {
    io_.close_all();
    ::close(null_out_);
    ::close(null_in_);
  }
  QuietLayer(const QuietLayer&) = delete;
  QuietLayer& operator=(const QuietLayer&) = delete;
  textio::RecordLayer& io() { return io_; }

 private:
  int null_out_;
  int null_in_;
  textio::RecordLayer io_;
};

// The first line of the file as written, for the catalogue's name of the case.
std::string first_line(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return line;
}

// The first line of a fatal report: the operation and the system's or the layer's words.
std::string first_line_of(const std::string& report) {
  return report.substr(0, report.find('\n'));
}

}  // namespace

InputFileError::InputFileError(Kind kind, const std::string& file, const std::string& text,
                               int error_number, int line, std::optional<Item> item,
                               std::optional<Problem> problem)
    : std::runtime_error(text),
      kind_(kind),
      file_(file),
      error_number_(error_number),
      line_(line),
      item_(item),
      problem_(problem) {}

InputFile read_input(const std::filesystem::path& file) {
  const std::string name = file.string();
  InputFile result;
  RawInput raw;
  {
    QuietLayer layer;
    try {
      raw = read_input_file(layer.io(), name);
    } catch (const textio::FatalIoError& error) {
      const std::string what = first_line_of(error.report());
      const bool opening = what.rfind("open:", 0) == 0;
      throw InputFileError(
          opening ? InputFileError::Kind::unreadable : InputFileError::Kind::malformed, name,
          name + ": " + what, error.error_number(), 0, std::nullopt, std::nullopt);
    }
  }
  try {
    result.system = checked_system(raw);
  } catch (const InputError& error) {
    const Problem& p = error.problem();
    throw InputFileError(InputFileError::Kind::refused, name, name + ": " + message(p), 0, 0,
                         p.item, p);
  }
  result.name = first_line(file);
  return result;
}

void write_files(const Result& result, const std::filesystem::path& dir) {
  QuietLayer layer;
  try {
    write_summary_head(layer.io(), result, dir);
    write_table(layer.io(), result, dir);
    write_summary_tail(layer.io(), result.resonance);
  } catch (const textio::FatalIoError& error) {
    throw OutputError(error.report());
  }
}

}  // namespace tandem
