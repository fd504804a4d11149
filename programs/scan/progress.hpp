#pragma once
// The progress line of a scan on a terminal: resonances done of total, time elapsed and
// an estimate of the time left, rewritten in place ("\r" and erase to the end of line).
//
// The estimate weighs each resonance by its cost, 1000*K2 samples per sigma value: the
// time per sample so far times the samples still to compute.

#include <chrono>
#include <string>

namespace tandem::scan {

struct ProgressState {
  std::size_t done = 0;
  std::size_t total = 0;
  double done_cost = 0;  // sum of K2 over the resonances done
  double total_cost = 0;
  std::chrono::duration<double> elapsed{0};
};

// "12/40 resonances, 0:12 elapsed, about 0:28 left" (the estimate once some are done).
std::string progress_text(const ProgressState& state);

// "1:05" or "2:03:07".
std::string clock_text(std::chrono::duration<double> t);

}  // namespace tandem::scan
