#include "scan/progress.hpp"

#include <cmath>
#include <cstdio>

namespace tandem::scan {

std::string clock_text(std::chrono::duration<double> t) {
  const long long seconds = std::llround(std::max(0.0, t.count()));
  char buf[48];
  if (seconds >= 3600) {
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
  } else {
    std::snprintf(buf, sizeof buf, "%lld:%02lld", seconds / 60, seconds % 60);
  }
  return buf;
}

std::string progress_text(const ProgressState& s) {
  std::string text = std::to_string(s.done) + "/" + std::to_string(s.total) + " resonances, " +
                     clock_text(s.elapsed) + " elapsed";
  if (s.done > 0 && s.done < s.total && s.done_cost > 0) {
    const double left = s.elapsed.count() * (s.total_cost - s.done_cost) / s.done_cost;
    text += ", about " + clock_text(std::chrono::duration<double>(left)) + " left";
  }
  return text;
}

}  // namespace tandem::scan
