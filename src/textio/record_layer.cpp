#include "textio/record_layer.hpp"

#include <fcntl.h>

#include <array>
#include <cerrno>
#include <new>
#include <stdexcept>

#include "textio/fatal_report.hpp"
#include "textio/list_reader.hpp"
#include "textio/list_record_builder.hpp"
#include "textio/list_render.hpp"
#include "textio/signal_cut.hpp"
#include "textio/unit_file.hpp"

namespace tandem::textio {
namespace {

constexpr int kUnitCount = 100;
constexpr int kStandardUnits[] = {0, 5, 6};
const char* const kListIo = "list io";

}  // namespace

struct RecordLayer::Impl {
  std::array<std::optional<Unit>, kUnitCount> units;
  IoState state;

  // Runs one operation; a failure becomes the complete report of the state it left.
  template <typename Operation>
  void run(Operation operation) {
    try {
      operation();
    } catch (const IoFailure& failure) {
      throw FatalIoError(compose_report(failure, state), failure.error_number());
    } catch (const std::bad_alloc&) {
      throw FatalIoError(compose_report(IoFailure("no space", "out of free space"), state));
    }
  }

  static bool valid(int unit) { return unit >= 0 && unit < kUnitCount; }

  void make_current(int unit) {
    state.unit = unit;
    state.name = valid(unit) && units[unit] ? units[unit]->name : std::nullopt;
  }

  Unit& statement_unit(int unit, const char* start_word) {
    make_current(unit);
    if (!valid(unit)) {
      throw IoFailure(start_word, "illegal unit number");
    }
    if (!units[unit]) {
      throw IoFailure(start_word, "unit not connected");
    }
    return *units[unit];
  }

  void open(int unit, const std::string& name, Status status, Access access) {
    state.unit = unit;
    state.name = name;
    if (!valid(unit)) {
      throw IoFailure("open", "illegal unit number");
    }
    if (units[unit]) {
      close(unit);
      state.name = name;
    }
    units[unit] = open_file(name, status, access);
  }

  void close(int unit) {
    make_current(unit);
    if (!valid(unit) || !units[unit]) {
      return;
    }
    Unit& u = *units[unit];
    if (u.owned && u.last_wrote) {
      truncate_here(u);  // on failure the unit stays connected for close_all
    }
    Unit closing = std::move(u);
    units[unit].reset();
    if (closing.owned) {
      forget_written_file(closing.fd);
      close_descriptor(closing);
    }
  }

  void close_all() noexcept {
    for (std::optional<Unit>& unit : units) {
      if (!unit || !unit->owned) {
        continue;
      }
      try {
        if (unit->last_wrote) {
          truncate_here(*unit);
        }
      } catch (const IoFailure&) {
        // The run is ending: a file that cannot be cut keeps its old tail.
      }
      forget_written_file(unit->fd);
      try {
        close_descriptor(*unit);
      } catch (const IoFailure&) {
      }
      unit.reset();
    }
  }

  Unit& start_write(int unit, const char* start_word, std::optional<std::string> format) {
    state.reading = false;
    state.format = std::move(format);
    Unit& u = statement_unit(unit, start_word);
    make_writable(u, start_word);
    u.last_wrote = true;
    return u;
  }

  void write_list(int unit, std::initializer_list<ListItem> items) {
    Unit& u = start_write(unit, "list output start", kListIo);
    ListRecordBuilder builder(
        [&u](std::string_view record) { write_record(u, record, "list out"); });
    for (const ListItem& item : items) {
      builder.add(item);
    }
    builder.finish();
  }

  void write_format(int unit, std::string_view format, std::initializer_list<FormatItem> items) {
    Unit& u = start_write(unit, "write start", std::string(format));
    std::string record;
    try {
      record = format_record(format, items);
    } catch (const std::invalid_argument& e) {
      throw IoFailure("formatted out", e.what());
    }
    write_record(u, record, "formatted out");
    state.format.reset();
  }

  void read_list(int unit, std::initializer_list<ReadTarget> targets, ReadDetails* details) {
    state.reading = true;
    state.format = kListIo;
    Unit& u = statement_unit(unit, "read start");
    if (u.at_end) {
      throw IoFailure("read start", "end of file");
    }
    u.last_wrote = false;
    if (u.owned) {
      forget_written_file(u.fd);
    }
    u.input.start_statement();
    if (details != nullptr) {
      *details = ReadDetails{};
      u.input.capture(&details->text, ReadDetails::kKept);
    }
    ListReader reader(u.input);
    int target_index = 0;
    try {
      for (const ReadTarget& target : targets) {
        if (!reader.read_into(target)) {
          break;
        }
        if (details != nullptr) {
          details->value_lines.push_back(u.input.line());
        }
        ++target_index;
      }
      if (details != nullptr) {
        details->line = u.input.line();
      }
      u.at_end = reader.finish(details != nullptr ? &details->rest : nullptr, ReadDetails::kKept);
      u.input.capture(nullptr, 0);
    } catch (const IoFailure& failure) {
      u.at_end = failure.operation() == "list in" && failure.message() == "end of file";
      if (details != nullptr) {
        u.input.capture(nullptr, 0);
        details->failed_target = target_index;
        details->line = u.input.line();
      }
      throw;
    }
  }
};

void hold_closed_standard_descriptors() noexcept {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
      continue;
    }
    // The lowest free number is taken, and that is fd: the ones below it are open by now.
    const int held = ::open("/dev/null", (fd == 0 ? O_WRONLY : O_RDONLY) | O_CLOEXEC);
    if (held >= 0 && held != fd) {
      ::dup2(held, fd);
      ::close(held);
    }
  }
}

RecordLayer::RecordLayer() : RecordLayer(2, 0, 1) {}

RecordLayer::RecordLayer(int err_fd, int in_fd, int out_fd) : impl_(std::make_unique<Impl>()) {
  const int descriptors[] = {err_fd, in_fd, out_fd};
  for (int i = 0; i < 3; ++i) {
    impl_->units[kStandardUnits[i]] = standard_unit(descriptors[i]);
  }
}

RecordLayer::~RecordLayer() {
  impl_->close_all();
}

void RecordLayer::open(int unit, const std::string& name, Status status, Access access) {
  impl_->run([&] { impl_->open(unit, name, status, access); });
}

void RecordLayer::close(int unit) {
  impl_->run([&] { impl_->close(unit); });
}

void RecordLayer::close_all() noexcept {
  impl_->close_all();
}

void RecordLayer::write_list(int unit, std::initializer_list<ListItem> items) {
  impl_->run([&] { impl_->write_list(unit, items); });
}

void RecordLayer::write_format(int unit, std::string_view format,
                               std::initializer_list<FormatItem> items) {
  impl_->run([&] { impl_->write_format(unit, format, items); });
}

void RecordLayer::read_list(int unit, std::initializer_list<ReadTarget> targets) {
  impl_->run([&] { impl_->read_list(unit, targets, nullptr); });
}

void RecordLayer::read_list(int unit, std::initializer_list<ReadTarget> targets,
                            ReadDetails& details) {
  impl_->run([&] { impl_->read_list(unit, targets, &details); });
}

}  // namespace tandem::textio
