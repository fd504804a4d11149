#include "scan/curves.hpp"

#include <unistd.h>

#include <string>

#include "tandem/files.hpp"

namespace tandem::scan {

namespace fs = std::filesystem;

fs::path curve_file(const fs::path& dir, const ResonancePair& r) {
  return dir / (std::to_string(r.k2) + "-" + std::to_string(r.k1) + ".dat");
}

void write_curve(const fs::path& dir, const ResonancePair& r, const Result& result) {
  std::string name(1, '.');
  name += curve_file({}, r).stem().string();
  name += '.';
  name += std::to_string(::getpid());
  name += ".tmp";
  const fs::path scratch = dir / name;
  fs::remove_all(scratch);
  fs::create_directory(scratch);
  try {
    write_files(result, scratch);
    fs::rename(scratch / "rsigma.dat", curve_file(dir, r));
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    throw;
  }
  fs::remove_all(scratch);
}

}  // namespace tandem::scan
