#include "common/program_main.hpp"

#include <csignal>
#include <cstdio>
#include <exception>
#include <new>

#include "common/cli.hpp"

namespace tandem::common {
namespace {

// std::fputs rather than a stream: after std::bad_alloc it needs no memory of its own.
int say(const std::string& program, const char* what) {
  std::fputs(program.c_str(), stderr);
  std::fputs(": ", stderr);
  std::fputs(what, stderr);
  std::fputs("\n", stderr);
  std::fflush(stderr);
  return exit_usage;
}

}  // namespace

int program_main(const std::string& program, const std::function<int()>& body) {
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return say(program, "out of memory");
  } catch (const std::exception& e) {
    std::string what = e.what();
    for (char& c : what) {
      c = c == '\n' || c == '\r' ? ' ' : c;  // one line, whatever the library wrote
    }
    return say(program, what.c_str());
  } catch (...) {
    return say(program, "stopped by an unexpected error");
  }
}

}  // namespace tandem::common
