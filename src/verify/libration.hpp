#pragma once
// What a smoothed sigma(t) shows: libration or circulation, and for a libration its centre,
// amplitude and period, with the centre allowed to drift slowly.
//
// Given: t, equally spaced and increasing (any unit); s, sigma in degrees, unwrapped;
// expected, the period the averaged model predicts (unit of t).
//
// sigma librates when the range it sweeps stays below 360 degrees. Its centre line is the
// running mean of sigma over one period: centred, so that a slow drift of the centre,
// even one that turns back, stays in the line and leaves the libration about it. The
// period is found between upward crossings of the line: the mean starts over the
// expected period and is formed again over each new measured period until the two agree
// to 1 per cent (six rounds at most). Where the series holds fewer than two crossings
// that way (a run shorter than two librations, or a period far longer than expected), a
// straight line fitted by least squares over the whole series, then again over the whole
// librations it shows, stands for the centre line.
//
// A crossing counts only after sigma has been more than a quarter of its half-range
// about the line below it and then comes as far above it, so that wiggles left by the
// smoothing cannot add any. The period is the time between the first and the last
// crossing over the number of librations between them; the centre is the mean of sigma
// over those librations, the amplitude half the range of sigma about the line there, and
// the drift how far the line moves over them (largest minus smallest). With no two
// crossings at all the centre is the middle of the range and the amplitude its half; the
// period and the drift are NaN.

#include <vector>

namespace tandem::nbody {

struct LibrationFit {
  bool librates = false;
  double centre = 0;     // degrees, in the frame of s; NaN when circulating
  double amplitude = 0;  // degrees; NaN when circulating
  double period = 0;     // unit of t
  double drift = 0;      // degrees
  int librations = 0;
};

LibrationFit fit_libration(const std::vector<double>& t, const std::vector<double>& s,
                           double expected);

}  // namespace tandem::nbody
