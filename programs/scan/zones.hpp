#pragma once
// The zones column of a catalogue row: for each stable equilibrium of the stable column,
// in the same order, the libration zone about it in the averaged model
// (tandem/phase_space.hpp): its sigma extent at the barrier that bounds it and its full
// widths in a1 and a2 at the equilibrium.
//
// CSV: sigma:lo-hi:width_a1:width_a2 per equilibrium, "*" after it where the zone reaches
// a close-encounter band, joined by ";" (60:23.428-179.963:0.5191:5.4677e-08). Degrees
// are reduced to 0..360, lo > hi where the zone passes through 0, lo = hi when it goes
// once round from its barrier; widths in au. JSON Lines: {"sigma", "centre_deg",
// "sigma_min_deg", "sigma_max_deg", "barrier_deg", "width_a1_au", "width_a2_au",
// "close_encounter", "horseshoe_with"}, the extent unwrapped (sigma_min_deg <= centre_deg
// <= sigma_max_deg, possibly beyond 0 or 360) and horseshoe_with the centres of the
// zones it merges with above its barrier. An equilibrium without a well of its own (none
// so far) gives its sigma alone in CSV and nulls in JSON.

#include "common/catalogue.hpp"
#include "tandem/result.hpp"

namespace tandem::scan {

common::Cell zones_cell(const Result& result);

}  // namespace tandem::scan
