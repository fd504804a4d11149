#pragma once
// A record layer whose console output goes to a scratch file, run inside a scratch
// working directory, so that report writers can be checked without the whole program.

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "support/program_run.hpp"
#include "textio/record_layer.hpp"

namespace tandem::testing {

class LayerCapture {
 public:
  LayerCapture() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_.path());
    screen_fd_ = ::open("screen.txt", O_RDWR | O_CREAT | O_TRUNC, 0644);
    error_fd_ = ::open("error.txt", O_RDWR | O_CREAT | O_TRUNC, 0644);
    keyboard_fd_ = ::open("/dev/null", O_RDONLY);
    io_ = std::make_unique<textio::RecordLayer>(error_fd_, keyboard_fd_, screen_fd_);
  }
  ~LayerCapture() {
    io_.reset();
    ::close(screen_fd_);
    ::close(error_fd_);
    ::close(keyboard_fd_);
    std::filesystem::current_path(previous_);
  }
  textio::RecordLayer& io() { return *io_; }
  std::string screen() const { return read_file(dir_.path() / "screen.txt"); }
  std::string file(const std::string& name) const { return read_file(dir_.path() / name); }
  const ScratchDir& dir() const { return dir_; }

 private:
  std::filesystem::path previous_;
  ScratchDir dir_;
  int screen_fd_ = -1;
  int error_fd_ = -1;
  int keyboard_fd_ = -1;
  std::unique_ptr<textio::RecordLayer> io_;
};

}  // namespace tandem::testing
