#include "textio/input_buffer.hpp"

#include <unistd.h>

#include <cerrno>

#include "textio/fatal_report.hpp"

namespace tandem::textio {
namespace {
constexpr std::size_t kChunk = 4096;
}

int InputBuffer::peek(std::size_t ahead) {
  while (pos_ + ahead >= data_.size()) {
    if (!fill()) {
      return kEnd;
    }
  }
  return static_cast<unsigned char>(data_[pos_ + ahead]);
}

void InputBuffer::advance() {
  if (pos_ < data_.size()) {
    const char c = data_[pos_];
    if (c == '\n') {
      ++line_;
    }
    if (sink_ != nullptr && sink_->size() < sink_limit_) {
      *sink_ += c;
    }
    ++pos_;
  }
}

void InputBuffer::discard() {
  data_.clear();
  pos_ = 0;
  end_met_ = false;
}

bool InputBuffer::fill() {
  if (end_met_) {
    return false;
  }
  data_.erase(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(pos_));
  pos_ = 0;
  const std::size_t old_size = data_.size();
  data_.resize(old_size + kChunk);
  ssize_t got;
  do {
    got = ::read(fd_, data_.data() + old_size, kChunk);
  } while (got < 0 && errno == EINTR);
  const int read_error = errno;
  data_.resize(old_size + static_cast<std::size_t>(got < 0 ? 0 : got));
  if (got < 0) {
    throw system_failure("list in", read_error);
  }
  end_met_ = got == 0;
  taken_ += static_cast<std::size_t>(got);
  if (bounded_ && taken_ > kStatementLimit) {
    throw IoFailure("list in", kEndlessInput);
  }
  return got > 0;
}

}  // namespace tandem::textio
