#include "verify/cycle_smoother.hpp"

#include <numeric>

namespace tandem::nbody {

CycleSmoother::CycleSmoother(int count) : ring_(static_cast<std::size_t>(count) + 1, 0.0) {}

void CycleSmoother::push(double x) {
  const int n = static_cast<int>(ring_.size());
  if (full()) {
    sum_ -= ring_[head_];
  } else {
    ++size_;
  }
  ring_[head_] = x;
  sum_ += x;
  head_ = (head_ + 1) % n;
  // An unwrapped angle grows without bound while it circulates: the running sum is
  // formed anew once per cycle, so that its rounding does not pile up.
  if (++since_sum_ >= n) {
    sum_ = std::accumulate(ring_.begin(), ring_.end(), 0.0);
    since_sum_ = 0;
  }
}

double CycleSmoother::at(int age) const {
  const int n = static_cast<int>(ring_.size());
  return ring_[(head_ - 1 - age + 2 * n) % n];
}

double CycleSmoother::mean() const {
  const int n = static_cast<int>(ring_.size());
  return (sum_ - 0.5 * (at(0) + at(n - 1))) / (n - 1);
}

double CycleSmoother::middle() const {
  return at(static_cast<int>(ring_.size()) / 2);
}

}  // namespace tandem::nbody
