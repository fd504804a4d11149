#pragma once
// Real bodies and the planets they move with: the orbit catalogues tandem-survey reads, and
// the planets at a body's epoch.
//
// Elements are heliocentric, ecliptic and equinox J2000, osculating at epoch_jd (Julian
// date, TT or TDB; the difference is below a second and does not matter here): a in au,
// angles in degrees, masses in solar masses.
//
// Catalogues, read as a stream one row at a time (memory does not grow with the file):
//   mpc   the Minor Planet Center's fixed-width orbit format (MPCORB.DAT and its extracts):
//         packed designation (columns 1-7), packed epoch (21-25), M (27-35), argument of
//         perihelion (38-46), node (49-57), i (60-68), e (71-79), a (93-103), readable
//         designation (167-194). Header lines, up to a line of dashes, are skipped.
//   sbdb  JPL's Small-Body Database CSV export: pdes (or full_name), epoch (JD TDB), a, e,
//         i, om, w, ma; GM (km^3/s^2) where given becomes the mass.
//   csv   name,epoch_jd,a_au,e,i_deg,node_deg,argperi_deg,mean_anomaly_deg[,mass_msun]
//         with that header row (columns in any order).
// The format is recognised from the first line that is not blank (a header naming pdes or
// full_name: sbdb; naming epoch_jd: csv; else mpc).

#include <cstddef>
#include <istream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tandem {

struct Body {
  std::string name;            // readable designation, e.g. "(134340) Pluto" or "2014 FH72"
  double epoch_jd = 0;         // epoch of the elements, Julian date
  double a = 0;                // semi-major axis, au
  double e = 0;                // eccentricity, 0 <= e < 1
  double i = 0;                // inclination, degrees
  double node = 0;             // longitude of the ascending node, degrees
  double argperi = 0;          // argument of perihelion, degrees
  double mean_anomaly = 0;     // degrees
  std::optional<double> mass;  // solar masses, where the catalogue gives one
};

enum class BodiesFormat { detect, mpc, sbdb, csv };

// A row left out: its line (1-based), the field that could not be read, and why.
struct SkippedRow {
  std::size_t line = 0;
  std::string field;
  std::string reason;
};

// What BodyReader::next gives: a body, a row left out, or neither at the end.
struct BodyRow {
  std::optional<Body> body;
  std::optional<SkippedRow> skipped;
  bool end() const { return !body && !skipped; }
};

// The file cannot be read as a catalogue at all (an unknown format, a CSV header without
// a required column); what() says why.
class BodiesError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class BodyReader {
 public:
  // Reads the first lines to recognise the format when it is detect; throws BodiesError.
  explicit BodyReader(std::istream& in, BodiesFormat format = BodiesFormat::detect);
  ~BodyReader();
  BodyReader(const BodyReader&) = delete;
  BodyReader& operator=(const BodyReader&) = delete;

  BodyRow next();
  BodiesFormat format() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// "mpc", "sbdb", "csv", "detect"; parse_bodies_format gives nullopt for another word.
const char* bodies_format_name(BodiesFormat format);
std::optional<BodiesFormat> parse_bodies_format(const std::string& word);

// The planets a body moves with and their star.
//
// standard_planets(): the eight planets of JPL's table of approximate Keplerian elements
// (E. M. Standish, "Keplerian Elements for Approximate Positions of the Major Planets",
// Table 1, mean ecliptic and equinox J2000, valid 1800-2050; Earth is the Earth-Moon
// barycentre), brought to any epoch with the table's rates per century, and the standard
// planetary masses (IAU 1976 / DE405 ratios, the Earth with the Moon). A planets file: the
// plain CSV above, mass_msun required, each planet brought to another epoch by two-body
// motion about the star.
struct Planets {
  double star_mass = 1;       // M_sun
  std::vector<Body> planets;  // in increasing a, each with a mass
  bool standard_table = false;
};

Planets standard_planets();
// Reads a planets file (plain CSV with mass_msun); throws BodiesError naming the line and
// field of the first row it cannot read.
Planets read_planets(std::istream& in, double star_mass);

// The planets at epoch_jd, in the order of planets.planets.
std::vector<Body> planets_at(const Planets& planets, double epoch_jd);

// Elements brought to another epoch by two-body motion about a central mass (M_sun, the
// star plus the body): only the mean anomaly moves, by n*(epoch - body.epoch_jd).
Body propagate(const Body& body, double central_mass, double epoch_jd);

}  // namespace tandem
