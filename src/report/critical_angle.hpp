#pragma once
// The critical-angle line "sigma = K1*lambda1 -K2*lambda2 + (K2-K1)*varpi1" with the
// coefficients truncated toward zero; written on the console after the dialogue and again
// at the end of each block of resonance.dat.

#include "orbit/elements.hpp"
#include "textio/record_layer.hpp"

namespace tandem {

void write_critical_angle(textio::RecordLayer& io, int unit, const Resonance& resonance);

}  // namespace tandem
