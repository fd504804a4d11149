#pragma once
// The units of the run. 0, 5 and 6 stay connected to the console for the whole run;
// 1 serves first for tandem.inp and later for rsigma.dat, 2 for resonance.dat.

namespace tandem::textio {

inline constexpr int unit_error = 0;
inline constexpr int unit_file = 1;
inline constexpr int unit_summary = 2;
inline constexpr int unit_keyboard = 5;
inline constexpr int unit_screen = 6;

}  // namespace tandem::textio
