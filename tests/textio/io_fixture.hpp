#pragma once
// Descriptors and scratch files for tests of the record layer.

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "textio/record_layer.hpp"

namespace tandem::textio::testing {

// A pipe already holding `text`, its writing end closed: reading meets the end after it.
inline int pipe_holding(const std::string& text) {
  int ends[2];
  if (::pipe(ends) != 0 ||
      ::write(ends[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    std::abort();
  }
  ::close(ends[1]);
  return ends[0];
}

// A layer with `input` on unit 5 and units 0 and 6 on the given descriptor (default: a
// sink), every descriptor closed after the layer.
class LayerOnPipe {
 public:
  explicit LayerOnPipe(const std::string& input, int out_fd = -1)
      : in_(pipe_holding(input)),
        out_(out_fd >= 0 ? out_fd : ::open("/dev/null", O_WRONLY)),
        layer_(std::make_unique<RecordLayer>(out_, in_, out_)) {}
  ~LayerOnPipe() {
    layer_.reset();
    ::close(in_);
    ::close(out_);
  }
  RecordLayer& operator*() { return *layer_; }
  RecordLayer* operator->() { return layer_.get(); }

 private:
  int in_;
  int out_;
  std::unique_ptr<RecordLayer> layer_;
};

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "textio-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::abort();
    }
    dir_ = pattern;
  }
  ~ScratchDir() { std::filesystem::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

 private:
  std::filesystem::path dir_;
};

inline void put(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

// The report of the fatal error that `action` raises, or "" when it raises none.
template <typename Action>
std::string report_of(Action action) {
  try {
    action();
  } catch (const FatalIoError& error) {
    return error.report();
  }
  return "";
}

// Its first line.
template <typename Action>
std::string failure_of(Action action) {
  const std::string report = report_of(action);
  return report.substr(0, report.find('\n'));
}

}  // namespace tandem::textio::testing
