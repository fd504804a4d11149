#pragma once
// Between the public types and the computation's own: the system under the names of the
// orbit set-up (mst, se, ex, yn, ln, lp, sm), and the result assembled from the stages.
// Plain copies: not a bit of any value changes on the way.

#include "orbit/elements.hpp"
#include "orbit/orbit_setup.hpp"
#include "resonance/analysis.hpp"
#include "resonance/rsigma.hpp"
#include "tandem/result.hpp"
#include "tandem/system.hpp"

namespace tandem::api {

PlanetarySystem elements_of(const System& system);
System system_of(const PlanetarySystem& elements);

OrbitQuantities orbit_quantities(const OrbitSetup& orbits);

Result result_of(const System& system, const Resonance& resonance, const OrbitSetup& orbits,
                 const RCurve& curve, const CurveAnalysis& analysis);

}  // namespace tandem::api
