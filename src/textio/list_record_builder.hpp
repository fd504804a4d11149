#pragma once
// Lays out the items of one list-directed write statement into records, handing each
// finished record (without its line end) to a sink as soon as it is complete, so that a
// statement spanning several records writes the earlier ones before it fails on a later.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "textio/record_layer.hpp"

namespace tandem::textio {

class ListRecordBuilder {
 public:
  using Sink = std::function<void(std::string_view record)>;
  // No item may reach this column unless it starts its record.
  static constexpr std::size_t kLineLimit = 80;

  explicit ListRecordBuilder(Sink sink) : sink_(std::move(sink)) {}
  void add(const ListItem& item);
  // Ends the statement: the record in hand is handed over, even when empty.
  void finish();

 private:
  void add_text(std::string_view text);
  void add_integer(int value);
  void add_real(double value);
  // Starts a new record when `length` more columns would reach the limit.
  void break_before(std::size_t length);
  void end_record();

  Sink sink_;
  std::string record_;
};

}  // namespace tandem::textio
