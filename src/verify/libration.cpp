#include "verify/libration.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace tandem::nbody {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr int max_rounds = 6;
constexpr double agreement = 0.01;

// The centre line over samples first..last (inclusive); elsewhere it is not defined.
struct CentreLine {
  std::vector<double> value;  // same indices as the series
  std::size_t first = 0;
  std::size_t last = 0;
};

// Running mean over a window of the given length (trapezoid: its end samples weigh half).
std::optional<CentreLine> running_mean(const std::vector<double>& t, const std::vector<double>& s,
                                       double length) {
  const double dt = (t.back() - t.front()) / static_cast<double>(t.size() - 1);
  const auto half = static_cast<std::size_t>(std::lround(length / dt / 2));
  if (half < 1 || 2 * half + 3 > s.size()) {
    return std::nullopt;
  }
  std::vector<double> prefix(s.size() + 1, 0.0);
  for (std::size_t j = 0; j < s.size(); ++j) {
    prefix[j + 1] = prefix[j] + s[j];
  }
  CentreLine line{std::vector<double>(s.size(), nan), half, s.size() - 1 - half};
  for (std::size_t j = line.first; j <= line.last; ++j) {
    const double sum = prefix[j + half + 1] - prefix[j - half];
    line.value[j] = (sum - 0.5 * (s[j - half] + s[j + half])) / static_cast<double>(2 * half);
  }
  return line;
}

// Least squares over samples first..last, evaluated over the whole series.
CentreLine straight_line(const std::vector<double>& t, const std::vector<double>& s,
                         std::size_t first, std::size_t last) {
  const double n = static_cast<double>(last - first + 1);
  double mt = 0;
  double ms = 0;
  for (std::size_t j = first; j <= last; ++j) {
    mt += t[j];
    ms += s[j];
  }
  mt /= n;
  ms /= n;
  double stt = 0;
  double sts = 0;
  for (std::size_t j = first; j <= last; ++j) {
    stt += (t[j] - mt) * (t[j] - mt);
    sts += (t[j] - mt) * (s[j] - ms);
  }
  const double slope = stt > 0 ? sts / stt : 0.0;
  CentreLine line{std::vector<double>(s.size()), 0, s.size() - 1};
  for (std::size_t j = 0; j < s.size(); ++j) {
    line.value[j] = ms + slope * (t[j] - mt);
  }
  return line;
}

struct Crossings {
  std::vector<double> times;
  std::size_t first = 0;  // samples from the first crossing to the last
  std::size_t last = 0;
};

// Upward crossings of the line, with the hysteresis described in the header.
Crossings upward_crossings(const std::vector<double>& t, const std::vector<double>& s,
                           const CentreLine& line) {
  Crossings out;
  double lo = std::numeric_limits<double>::infinity();
  double hi = -lo;
  for (std::size_t j = line.first; j <= line.last; ++j) {
    lo = std::min(lo, s[j] - line.value[j]);
    hi = std::max(hi, s[j] - line.value[j]);
  }
  const double band = (hi - lo) / 8;
  if (!(band > 0)) {
    return out;
  }
  bool below = false;
  double last_up = nan;
  std::size_t last_up_index = 0;
  for (std::size_t j = line.first; j <= line.last; ++j) {
    const double d = s[j] - line.value[j];
    if (j > line.first) {
      const double before = s[j - 1] - line.value[j - 1];
      if (before < 0 && d >= 0) {
        last_up = t[j - 1] + (t[j] - t[j - 1]) * (-before / (d - before));
        last_up_index = j;
      }
    }
    if (d < -band) {
      below = true;
    } else if (d > band && below) {
      if (out.times.empty()) {
        out.first = last_up_index;
      }
      out.times.push_back(last_up);
      out.last = last_up_index - 1;
      below = false;
    }
  }
  return out;
}

void measure(const std::vector<double>& s, const CentreLine& line, const Crossings& up,
             LibrationFit& fit) {
  fit.librations = static_cast<int>(up.times.size()) - 1;
  fit.period = (up.times.back() - up.times.front()) / fit.librations;
  double sum = 0;
  double dlo = std::numeric_limits<double>::infinity();
  double dhi = -dlo;
  double clo = dlo;
  double chi = -dlo;
  for (std::size_t j = up.first; j <= up.last; ++j) {
    sum += s[j];
    dlo = std::min(dlo, s[j] - line.value[j]);
    dhi = std::max(dhi, s[j] - line.value[j]);
    clo = std::min(clo, line.value[j]);
    chi = std::max(chi, line.value[j]);
  }
  fit.centre = sum / static_cast<double>(up.last - up.first + 1);
  fit.amplitude = (dhi - dlo) / 2;
  fit.drift = chi - clo;
}

bool enough(const Crossings& up) {
  return up.times.size() >= 2 && up.last > up.first;
}

}  // namespace

LibrationFit fit_libration(const std::vector<double>& t, const std::vector<double>& s,
                           double expected) {
  LibrationFit fit{false, nan, nan, nan, nan, 0};
  if (s.size() < 3) {
    return fit;
  }
  const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
  fit.librates = *hi - *lo < 360;
  if (!fit.librates) {
    return fit;
  }
  fit.centre = (*hi + *lo) / 2;
  fit.amplitude = (*hi - *lo) / 2;

  double window = expected;
  for (int round = 0; round < max_rounds && std::isfinite(window); ++round) {
    const std::optional<CentreLine> line = running_mean(t, s, window);
    if (!line) {
      break;
    }
    const Crossings up = upward_crossings(t, s, *line);
    if (!enough(up)) {
      break;
    }
    measure(s, *line, up, fit);
    if (std::fabs(fit.period - window) <= agreement * window) {
      return fit;
    }
    window = fit.period;
  }
  if (fit.librations > 0) {
    return fit;
  }

  // Too short a series for a running mean over a period: a straight centre line.
  CentreLine line = straight_line(t, s, 0, s.size() - 1);
  Crossings up = upward_crossings(t, s, line);
  if (!enough(up)) {
    return fit;
  }
  // Over whole librations the oscillation no longer tilts the line.
  line = straight_line(t, s, up.first, up.last);
  up = upward_crossings(t, s, line);
  if (enough(up)) {
    measure(s, line, up, fit);
  }
  return fit;
}

}  // namespace tandem::nbody
