// The console program's files for library callers: tandem.inp through the program's reader
// and checks, rsigma.dat and resonance.dat through its reports. The console of the record
// layer goes nowhere: only the files are wanted.

#include "tandem/files.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "api/checks.hpp"
#include "api/input_check.hpp"
#include "input/input_file.hpp"
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

// The first line of a text, without its line end.
std::string first_line_of(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return line;
}

// The item a destination of a read statement stands for; none for a comment line.
std::optional<Item> item_of(int statement, int target) {
  const int element = std::clamp(target, 0, 5);
  switch (statement) {
    case InputTrace::star_mass:
      return Item::star_mass;
    case InputTrace::planet1:
      return static_cast<Item>(static_cast<int>(Item::planet1_a) + element);
    case InputTrace::planet2:
      return static_cast<Item>(static_cast<int>(Item::planet2_a) + element);
    default:
      return std::nullopt;
  }
}

// The read statement and destination of an item.
std::pair<int, int> place_of(Item item) {
  if (item == Item::star_mass) {
    return {InputTrace::star_mass, 0};
  }
  const int k = static_cast<int>(item);
  const int first2 = static_cast<int>(Item::planet2_a);
  return k >= first2 ? std::pair{InputTrace::planet2, k - first2}
                     : std::pair{InputTrace::planet1, k - static_cast<int>(Item::planet1_a)};
}

// The line where an item's value stood, or where its statement ended when it got none.
int line_of(const InputTrace& trace, Item item) {
  const auto [statement, target] = place_of(item);
  const textio::ReadDetails& read = trace.reads[statement];
  return target < static_cast<int>(read.value_lines.size()) ? read.value_lines[target] : read.line;
}

std::string what_was_read(int statement, int target) {
  if (const auto item = item_of(statement, target)) {
    return "the " + api::item_name(*item);
  }
  return "the comment line";
}

// Values after the sixth of a planet line: a number where only a remark may follow, most
// often the second half of a number split by a decimal comma (6,6e-9 reads as 6).
std::optional<std::string> leftover_warning(const std::string& file, const InputTrace& trace,
                                            int statement) {
  const textio::ReadDetails& read = trace.reads[statement];
  const std::string rest =
      read.rest.substr(std::min(read.rest.find_first_not_of(" \t"), read.rest.size()));
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  const bool number =
      !rest.empty() && (digit(rest[0]) || ((rest[0] == '-' || rest[0] == '+' || rest[0] == '.') &&
                                           rest.size() > 1 && (digit(rest[1]) || rest[1] == '.')));
  if (!number) {
    return std::nullopt;
  }
  const char* planet = statement == InputTrace::planet1 ? "1" : "2";
  return file + ": line " + std::to_string(read.line) +
         ": values left over after the six of planet " + planet + ", from \"" + rest.substr(0, 40) +
         "\" on, are ignored (a decimal comma splits a number: 6,6e-9 reads as 6)";
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
  InputTrace trace;
  {
    QuietLayer layer;
    try {
      raw = read_input_file(layer.io(), name, &trace);
    } catch (const textio::FatalIoError& error) {
      const std::string what = first_line_of(error.report());
      if (what.rfind("open:", 0) == 0) {
        throw InputFileError(InputFileError::Kind::unreadable, name, name + ": " + what,
                             error.error_number(), 0, std::nullopt, std::nullopt);
      }
      const textio::ReadDetails& read = trace.reads[trace.statement];
      const std::string where = "line " + std::to_string(read.line) + ", " +
                                what_was_read(trace.statement, read.failed_target);
      throw InputFileError(InputFileError::Kind::malformed, name, name + ": " + where + ": " + what,
                           error.error_number(), read.line,
                           item_of(trace.statement, read.failed_target), std::nullopt);
    }
  }
  try {
    result.system = checked_system(raw);
  } catch (const InputError& error) {
    const Problem& p = error.problem();
    const int line = line_of(trace, p.item);
    throw InputFileError(InputFileError::Kind::refused, name,
                         name + ": line " + std::to_string(line) + ": " + message(p), 0, line,
                         p.item, p);
  }
  result.name = first_line_of(trace.reads[InputTrace::comment1].text);
  for (const int planet : {InputTrace::planet1, InputTrace::planet2}) {
    if (auto warning = leftover_warning(name, trace, planet)) {
      result.warnings.push_back(std::move(*warning));
    }
  }
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
