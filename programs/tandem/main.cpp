// tandem: the resonant disturbing function R(sigma) of two planets near a K2:K1
// mean-motion resonance, from tandem.inp and the resonance typed at the console.

#include "run.hpp"
#include "signals.hpp"
#include "textio/record_layer.hpp"

int main() {
  tandem::textio::hold_closed_standard_descriptors();
  tandem::install_signal_handlers();
  tandem::textio::RecordLayer io;
  return tandem::run(io, tandem::RunOptions{});
}
