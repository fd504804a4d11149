#include "tandem/solve.hpp"

#include "api/convert.hpp"
#include "orbit/orbit_setup.hpp"
#include "resonance/analysis.hpp"
#include "resonance/rsigma.hpp"

namespace tandem {

namespace {

void refuse_invalid(const System& system, const Resonance& resonance) {
  if (const auto problem = validate(system, resonance)) {
    throw InvalidInput(*problem);
  }
}

}  // namespace

OrbitQuantities resonant_orbits(const System& system, const Resonance& resonance) {
  refuse_invalid(system, resonance);
  return api::orbit_quantities(setup_orbits(api::elements_of(system), resonance));
}

Result solve(const System& system, const Resonance& resonance, const SolveOptions& options) {
  refuse_invalid(system, resonance);
  const unsigned threads = options.threads == 0 ? available_processors() : options.threads;
  const PlanetarySystem elements = api::elements_of(system);
  const OrbitSetup orbits = setup_orbits(elements, resonance);
  const RCurve curve = evaluate_rsigma(elements, resonance, orbits, threads);
  const CurveAnalysis analysis = analyse_rsigma(curve, elements, resonance, orbits);
  return api::result_of(system, resonance, orbits, curve, analysis);
}

}  // namespace tandem
