#include "bench_systems.hpp"

#include <sstream>

#include "resonance/resonant_longitude.hpp"
#include "resonance/rsigma.hpp"

namespace tandem::bench {

BenchCase hilda_3_2() {
  PlanetarySystem s;
  s.mst = 1.0;
  s.planet1 = {3.97, 0.10, 5.0, 100.0, 30.0, 1.0e-9};
  s.planet2 = {5.2, 0.048, 1.3, 100.5, 14.7, 9.5e-4};
  return {"3:2", s, {3.0, 2.0}};
}

BenchCase kirkwood_7_2() {
  PlanetarySystem s;
  s.mst = 1.0;
  s.planet1 = {2.26, 0.15, 5.0, 80.0, 120.0, 1.0e-9};
  s.planet2 = {5.2, 0.048, 1.3, 100.5, 14.7, 9.5e-4};
  return {"7:2", s, {7.0, 2.0}};
}

namespace {

BenchCase pair_50_49(const char* name, double e1) {
  PlanetarySystem s;
  s.mst = 1.0;
  s.planet1 = {0.98, e1, 1.0, 30.0, 60.0, 3.0e-6};
  s.planet2 = {1.0, 0.02, 0.5, 100.0, 15.0, 1.0e-3};
  return {name, s, {50.0, 49.0}};
}

}  // namespace

BenchCase pair_50_49_e010() {
  return pair_50_49("50:49 e=0.1", 0.1);
}

BenchCase pair_50_49_e060() {
  return pair_50_49("50:49 e=0.6", 0.6);
}

std::vector<BenchCase> all_cases() {
  return {hilda_3_2(), kirkwood_7_2(), pair_50_49_e010(), pair_50_49_e060()};
}

Prepared prepare(const BenchCase& c) {
  Prepared p;
  p.orbits = setup_orbits(c.system, c.resonance);
  p.table = tabulate_planet2(p.orbits.planet2, c.resonance.k1, p.orbits.ipasos);
  return p;
}

std::vector<double> planet1_mean_anomalies(const BenchCase& c, const Prepared& p, int step) {
  const Orbit& o1 = p.orbits.planet1;
  const double k1 = c.resonance.k1;
  const double k2 = c.resonance.k2;
  std::vector<double> am1;
  am1.reserve(static_cast<std::size_t>((isimax + step - 1) / step) * p.table.size());
  for (int i = 0; i < isimax; i += step) {
    const double acrit = (static_cast<double>(i) / isimax) * 360;
    const double tetar = resonant_offset(k1, k2, o1.pg, acrit);
    for (const Planet2Sample& s2 : p.table) {
      am1.push_back(planet1_mean_anomaly(k1, k2, tetar, o1.p, s2.la));
    }
  }
  return am1;
}

std::string input_file_text(const BenchCase& c) {
  std::ostringstream out;
  out.precision(17);
  const auto planet = [&out](const PlanetElements& p) {
    out << p.se << ' ' << p.ex << ' ' << p.yn << ' ' << p.ln << ' ' << p.lp << ' ' << p.sm << '\n';
  };
  out << "benchmark system\n" << c.system.mst << "\na e i node peri mass\n";
  planet(c.system.planet1);
  planet(c.system.planet2);
  return out.str();
}

std::string console_answer(const BenchCase& c) {
  std::ostringstream out;
  out << c.resonance.k2 << ' ' << c.resonance.k1 << '\n';
  return out.str();
}

}  // namespace tandem::bench
