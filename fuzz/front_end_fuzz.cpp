// The program's front end on arbitrary input: the bytes before the first NUL byte are
// tandem.inp, the bytes after it are what is typed at the console. It runs exactly as the
// program does (banner, reading and checking tandem.inp, the dialogue, the critical-angle
// line), then hands what was accepted to the library's entry point for the orbit quantities
// (tandem::resonant_orbits: the same validation and set-up as solve). R(sigma) itself is not
// evaluated: its cost is that of a whole run, and it would leave no time for other inputs.

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "api/input_check.hpp"
#include "memory_file.hpp"
#include "run.hpp"
#include "tandem/solve.hpp"
#include "textio/record_layer.hpp"

namespace {

void run_front_end_on(int keyboard) {
  static const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  tandem::textio::RecordLayer layer(sink, keyboard, sink);
  try {
    const tandem::FrontEnd front = tandem::run_front_end(layer);
    // The front end refused whatever the library refuses: an InvalidInput here is a fault.
    const tandem::OrbitQuantities orbits = tandem::resonant_orbits(front.system, front.resonance);
    if (orbits.ipasos < 1000 || orbits.ipasos > 50000) {
      std::abort();
    }
  } catch (const tandem::textio::FatalIoError&) {
  } catch (const tandem::InputError&) {
  }
}

// tandem.inp is read from the working directory: work in a private one, removed at exit.
char work_dir[] = "/tmp/tandem-front-end-fuzz-XXXXXX";

void remove_work_dir() {
  ::unlink("tandem.inp");
  ::rmdir(work_dir);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (::mkdtemp(work_dir) == nullptr || ::chdir(work_dir) != 0) {
    std::abort();
  }
  std::atexit(remove_work_dir);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto* end = data + size;
  const auto* split = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
  const auto* answers = split == nullptr ? end : split + 1;
  {
    std::ofstream input("tandem.inp", std::ios::binary | std::ios::trunc);
    input.write(reinterpret_cast<const char*>(data),
                static_cast<std::streamsize>((split == nullptr ? end : split) - data));
  }
  const int keyboard = tandem::fuzz::memory_file(answers, static_cast<std::size_t>(end - answers));
  run_front_end_on(keyboard);
  ::close(keyboard);
  return 0;
}
