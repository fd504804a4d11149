#pragma once
// Angles in degrees reduced exactly, however large: the sigma and the offset a caller gives
// (1e17, 1e308) stand for the same angle as their residue modulo 360, and the check must
// see that angle, not what the rounding of x - 360*trunc(x/360) or of sin(x*pi/180) makes
// of such values.
//
// Given: x, degrees, finite. Returned: x - 360*k for the whole k that puts it in the range,
// computed exactly: 360*2^j is subtracted (or added) for j from the largest that fits down
// to 0, and each such difference of two numbers within a factor two of each other is exact
// (Sterbenz's lemma). Only the final shift of a negative residue into [0, 360) rounds, once
// (a residue within half an ulp of 360 becomes 360 and is then taken as 0).
//
// Reference: P. H. Sterbenz, Floating-Point Computation (1974), theorem 4.3.1.

namespace tandem::nbody {

// Into [0, 360).
double reduce_degrees(double x);

// Into (-180, 180], exactly.
double reduce_degrees_signed(double x);

}  // namespace tandem::nbody
