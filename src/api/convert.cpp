#include "api/convert.hpp"

namespace tandem::api {
namespace {

PlanetElements elements_of(const Planet& p) {
  return {p.a, p.e, p.i, p.node, p.peri, p.mass};
}

Planet planet_of(const PlanetElements& el) {
  return {el.se, el.ex, el.yn, el.ln, el.lp, el.sm};
}

void fill_curve(const RCurve& curve, const CurveAnalysis& an, Curve& out) {
  for (int i = 0; i < isimax; ++i) {
    out.sigma[i] = curve.sma[i];
    out.r[i] = curve.rp[i];
    // Formed as the table forms it when it prints the row.
    out.r_minus_rmin[i] = curve.rp[i] - an.vrmin;
    out.min_distance[i] = curve.md[i];
    out.close_encounter[i] = curve.ace[i];
    out.equilibrium[i] = an.aeq[i];
    out.period_years[i] = an.tlib[i];
  }
}

Analysis analysis_of(const RCurve& curve, const CurveAnalysis& an) {
  Analysis out;
  out.mean = an.vmedio;
  out.rmin = an.vrmin;
  out.rmax = an.vrmax;
  out.amplitude = an.delr;
  out.strength = an.vmedio - an.vrmin;
  out.detectable = an.detectable;
  out.width_a1 = an.ancha1;
  out.width_a2 = an.ancha2;
  for (int i = 0; i < isimax; ++i) {
    if (an.aeq[i] != EquilibriumKind::none) {
      out.equilibria.push_back({i, curve.sma[i], an.aeq[i], an.tlib[i], curve.ace[i]});
    }
  }
  return out;
}

}  // namespace

PlanetarySystem elements_of(const System& system) {
  return {system.star_mass, elements_of(system.planet1), elements_of(system.planet2)};
}

System system_of(const PlanetarySystem& elements) {
  return {elements.mst, planet_of(elements.planet1), planet_of(elements.planet2)};
}

OrbitQuantities orbit_quantities(const OrbitSetup& orbits) {
  return {orbits.planet1.a, orbits.planet2.a, orbits.planet1.n, orbits.planet2.n,
          orbits.hii,       orbits.rhs,       orbits.ipasos};
}

Result result_of(const System& system, const Resonance& resonance, const OrbitSetup& orbits,
                 const RCurve& curve, const CurveAnalysis& analysis) {
  Result r;
  r.system = system;
  r.resonance = resonance;
  r.orbit = orbit_quantities(orbits);
  fill_curve(curve, analysis, r.curve);
  r.analysis = analysis_of(curve, analysis);
  return r;
}

}  // namespace tandem::api
