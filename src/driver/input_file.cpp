#include "driver/input_file.hpp"

#include <string>

#include "textio/unit_numbers.hpp"

namespace tandem {

namespace {

// zcomment receives the first word of a comment line; it is never used.
constexpr std::size_t zcomment_length = 40;

void read_comment(textio::RecordLayer& io) {
  std::string zcomment;
  io.read_list(textio::unit_file, {textio::TextTarget{&zcomment, zcomment_length}});
}

void read_planet(textio::RecordLayer& io, RawPlanet& p) {
  io.read_list(textio::unit_file, {&p.se, &p.ex, &p.yn, &p.ln, &p.lp, &p.sm});
}

}  // namespace

RawInput read_input_file(textio::RecordLayer& io, const std::string& name) {
  RawInput raw;
  io.open(textio::unit_file, name, textio::Status::old);
  read_comment(io);
  io.read_list(textio::unit_file, {&raw.mst});
  read_comment(io);
  read_planet(io, raw.planet1);
  read_planet(io, raw.planet2);
  io.close(textio::unit_file);
  return raw;
}

}  // namespace tandem
