// consumer INPUT K2 K1 DIR: reads INPUT, solves K2:K1 and writes rsigma.dat and
// resonance.dat into DIR as the console program would; prints the strength and the stable
// equilibria. Compiled with the consumer's own flags (the test uses -ffp-contract=fast -O3):
// the results must not depend on them.
#include <cstdlib>
#include <iostream>
#include <tandem/tandem.hpp>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: consumer INPUT K2 K1 DIR\n";
    return 2;
  }
  try {
    const tandem::InputFile input = tandem::read_input(argv[1]);
    const tandem::Resonance resonance{std::atof(argv[2]), std::atof(argv[3])};
    const tandem::Result result = tandem::solve(input.system, resonance);
    tandem::write_files(result, argv[4]);
    std::cout << "tandem " << tandem::version << " strength " << result.analysis.strength << "\n";
    for (const tandem::Equilibrium& eq : result.analysis.equilibria) {
      if (eq.kind == tandem::EquilibriumKind::stable) {
        std::cout << "stable at " << eq.sigma << " period " << eq.period_years << " years\n";
      }
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
