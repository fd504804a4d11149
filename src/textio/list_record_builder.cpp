#include "textio/list_record_builder.hpp"

#include <cstdlib>
#include <string>
#include <type_traits>

#include "textio/list_render.hpp"

namespace tandem::textio {

void ListRecordBuilder::add(const ListItem& item) {
  std::visit(
      [this](auto value) {
        using T = decltype(value);
        if constexpr (std::is_same_v<T, std::string_view>) {
          add_text(value);
        } else if constexpr (std::is_same_v<T, int>) {
          add_integer(value);
        } else {
          add_real(static_cast<double>(value));
        }
      },
      item);
}

void ListRecordBuilder::finish() {
  end_record();
}

void ListRecordBuilder::add_text(std::string_view text) {
  break_before(text.size());
  if (record_.empty()) {
    record_ += ' ';
  }
  record_ += text;
}

void ListRecordBuilder::add_integer(int value) {
  // Widened first: the magnitude of the most negative int does not fit in an int.
  const long long wide = value;
  const std::string digits = std::to_string(std::llabs(wide));
  break_before(digits.size());
  record_ += ' ';
  if (wide < 0) {
    record_ += '-';
  }
  record_ += digits;
}

void ListRecordBuilder::add_real(double value) {
  const std::string text = list_real(value);
  break_before(text.size());
  record_ += text;
}

void ListRecordBuilder::break_before(std::size_t length) {
  if (!record_.empty() && record_.size() + length >= kLineLimit) {
    end_record();
  }
}

void ListRecordBuilder::end_record() {
  sink_(record_);
  record_.clear();
}

}  // namespace tandem::textio
