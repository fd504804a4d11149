#pragma once
// Reading of tandem.inp: a comment line, the star mass, a comment line, then for planet 1
// and planet 2 a, e, i, node, perihelion longitude and mass (au, -, deg, deg, deg, M_sun),
// each group one list-directed read. Items left unset by a null value or a slash stay empty.

#include <array>
#include <optional>
#include <string>

#include "tandem/system.hpp"
#include "textio/record_layer.hpp"

namespace tandem {

struct RawPlanet {
  std::optional<double> se, ex, yn, ln, lp, sm;
};

struct RawInput {
  std::optional<double> mst;
  RawPlanet planet1;
  RawPlanet planet2;
};

inline constexpr const char* input_file_name = "tandem.inp";

// Where the reading of the file got to, statement by statement: the two comment lines,
// the star mass, planet 1, planet 2 (for messages that name the line and the item).
struct InputTrace {
  static constexpr int comment1 = 0, star_mass = 1, comment2 = 2, planet1 = 3, planet2 = 4;
  int statement = 0;  // the statement reached (the one that failed, after a failure)
  std::array<textio::ReadDetails, 5> reads;
};

// Opens the input file (tandem.inp unless another name is given; it must exist), reads
// the five records and closes it. Input/output failures end the run through
// textio::FatalIoError; `trace`, when given, then tells where.
RawInput read_input_file(textio::RecordLayer& io, const std::string& name = input_file_name,
                         InputTrace* trace = nullptr);

}  // namespace tandem
