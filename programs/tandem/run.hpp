#pragma once
// One run of the program from the banner to the closing line: read tandem.inp, ask for
// K2:K1, derive both orbits, evaluate and analyse R(sigma), write both reports.
//
// Returns the exit status: 0 after a normal run, 2 after a fatal input/output error or a
// refused input file (whose report or message has then been written on unit 0's stream).

#include "tandem/system.hpp"
#include "textio/record_layer.hpp"

namespace tandem {

struct RunOptions {
  unsigned threads = 0;  // threads that share the sigma grid (0: every processor we may use);
                         // the results do not depend on it
  int error_fd = 2;      // where fatal reports go: the stream of unit 0
};

// What the run learns before it computes.
struct FrontEnd {
  System system;
  Resonance resonance;
};

// The part of the run that talks to the user: the banner, tandem.inp, the dialogue, the
// critical-angle line and the line of three blanks after which the computation starts.
// Throws textio::FatalIoError or InputError, which run() turns into the exit status 2.
FrontEnd run_front_end(textio::RecordLayer& io);

int run(textio::RecordLayer& io, const RunOptions& options);

}  // namespace tandem
