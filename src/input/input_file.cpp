#include "input/input_file.hpp"

#include <string>

#include "textio/unit_numbers.hpp"

namespace tandem {

namespace {

// zcomment receives the first word of a comment line; it is never used.
constexpr std::size_t zcomment_length = 40;

// One read statement, with its details kept where a trace is asked for.
void read(textio::RecordLayer& io, std::initializer_list<textio::ReadTarget> targets,
          InputTrace* trace, int statement) {
  if (trace == nullptr) {
    io.read_list(textio::unit_file, targets);
    return;
  }
  trace->statement = statement;
  io.read_list(textio::unit_file, targets, trace->reads[statement]);
}

void read_comment(textio::RecordLayer& io, InputTrace* trace, int statement) {
  std::string zcomment;
  read(io, {textio::TextTarget{&zcomment, zcomment_length}}, trace, statement);
}

void read_planet(textio::RecordLayer& io, RawPlanet& p, InputTrace* trace, int statement) {
  read(io, {&p.se, &p.ex, &p.yn, &p.ln, &p.lp, &p.sm}, trace, statement);
}

}  // namespace

RawInput read_input_file(textio::RecordLayer& io, const std::string& name, InputTrace* trace) {
  RawInput raw;
  io.open(textio::unit_file, name, textio::Status::old);
  read_comment(io, trace, InputTrace::comment1);
  read(io, {&raw.mst}, trace, InputTrace::star_mass);
  read_comment(io, trace, InputTrace::comment2);
  read_planet(io, raw.planet1, trace, InputTrace::planet1);
  read_planet(io, raw.planet2, trace, InputTrace::planet2);
  io.close(textio::unit_file);
  return raw;
}

}  // namespace tandem
