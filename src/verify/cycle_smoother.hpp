#pragma once
// The running mean of a sampled quantity over one resonant cycle.
//
// The samples are equally spaced, count of them to one cycle (count even). Once count + 1
// samples are in, the window spans exactly one cycle and mean() is its trapezoidal mean:
// the end samples weigh one half, so that every term periodic over the cycle (every
// short-period term at exact resonance) averages out, and the mean belongs to the time of
// the window's middle sample, middle() being that sample itself.
//
// Given: count, the samples per cycle (even); the samples, one push at a time.
// Returned: mean(), the trapezoidal mean over the last cycle; middle(), the sample at its
// centre.

#include <vector>

namespace tandem::nbody {

class CycleSmoother {
 public:
  explicit CycleSmoother(int count);
  void push(double x);
  bool full() const { return size_ == static_cast<int>(ring_.size()); }
  double mean() const;
  double middle() const;

 private:
  double at(int age) const;  // 0: the latest sample

  std::vector<double> ring_;
  int head_ = 0;  // where the next sample goes
  int size_ = 0;
  int since_sum_ = 0;
  double sum_ = 0;
};

}  // namespace tandem::nbody
