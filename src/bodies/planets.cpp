// The planets a body moves with: JPL's approximate elements with their rates, or a planets
// file brought to the body's epoch by two-body motion.

#include <algorithm>
#include <cmath>

#include "bodies/angles.hpp"
#include "orbit/constants.hpp"
#include "tandem/bodies.hpp"

namespace tandem {
namespace {

using bodies::degrees_0_360;

// One planet of Table 1 of E. M. Standish, "Keplerian Elements for Approximate Positions
// of the Major Planets" (JPL Solar System Dynamics): elements at J2000 and their rates per
// Julian century, mean ecliptic and equinox J2000, valid 1800-2050. e is in radians in
// the table's heading, i.e. a plain number.
struct TableRow {
  const char* name;
  double a, e, i, l, peri, node;        // au, -, deg, deg, deg, deg
  double da, de, di, dl, dperi, dnode;  // the same per century
  double inverse_mass;                  // M_sun / m
};

// Masses: the IAU (1976) system's ratios as adopted for DE405 (the Earth with the Moon).
constexpr TableRow table[] = {
    {"Mercury", 0.38709927, 0.20563593, 7.00497902, 252.25032350, 77.45779628, 48.33076593,
     0.00000037, 0.00001906, -0.00594749, 149472.67411175, 0.16047689, -0.12534081, 6023600.0},
    {"Venus", 0.72333566, 0.00677672, 3.39467605, 181.97909950, 131.60246718, 76.67984255,
     0.00000390, -0.00004107, -0.00078890, 58517.81538729, 0.00268329, -0.27769418, 408523.71},
    {"Earth", 1.00000261, 0.01671123, -0.00001531, 100.46457166, 102.93768193, 0.0, 0.00000562,
     -0.00004392, -0.01294668, 35999.37244981, 0.32327364, 0.0, 328900.56},
    {"Mars", 1.52371034, 0.09339410, 1.84969142, -4.55343205, -23.94362959, 49.55953891, 0.00001847,
     0.00007882, -0.00813131, 19140.30268499, 0.44441088, -0.29257343, 3098708.0},
    {"Jupiter", 5.20288700, 0.04838624, 1.30439695, 34.39644051, 14.72847983, 100.47390909,
     -0.00011607, -0.00013253, -0.00183714, 3034.74612775, 0.21252668, 0.20469106, 1047.3486},
    {"Saturn", 9.53667594, 0.05386179, 2.48599187, 49.95424423, 92.59887831, 113.66242448,
     -0.00125060, -0.00050991, 0.00193609, 1222.49362201, -0.41897216, -0.28867794, 3497.898},
    {"Uranus", 19.18916464, 0.04725744, 0.77263783, 313.23810451, 170.95427630, 74.01692503,
     -0.00196176, -0.00004397, -0.00242939, 428.48202785, 0.40805281, 0.04240589, 22902.98},
    {"Neptune", 30.06992276, 0.00859048, 1.77004347, -55.12002969, 44.96476227, 131.78422574,
     0.00026291, 0.00005105, 0.00035372, 218.45945325, -0.32241464, -0.00508664, 19412.24},
};

constexpr double j2000 = 2451545.0;
constexpr double days_per_century = 36525.0;

Body table_planet(const TableRow& p, double epoch_jd) {
  const double t = (epoch_jd - j2000) / days_per_century;
  const double l = p.l + p.dl * t;
  const double peri = p.peri + p.dperi * t;
  const double node = p.node + p.dnode * t;
  Body b;
  b.name = p.name;
  b.epoch_jd = epoch_jd;
  b.a = p.a + p.da * t;
  b.e = p.e + p.de * t;
  // Earth's inclination at J2000 is -0.00001531 degrees: a plane with its node turned
  // by 180 degrees. Kept as a tiny positive inclination with the node where it is, which
  // moves the Earth by less than 3e-7 au.
  b.i = std::fabs(p.i + p.di * t);
  b.node = degrees_0_360(node);
  b.argperi = degrees_0_360(peri - node);
  b.mean_anomaly = degrees_0_360(l - peri);
  b.mass = 1.0 / p.inverse_mass;
  return b;
}

}  // namespace

Planets standard_planets() {
  Planets out;
  out.star_mass = 1.0;
  out.standard_table = true;
  for (const TableRow& p : table) {
    out.planets.push_back(table_planet(p, j2000));
  }
  return out;
}

std::vector<Body> planets_at(const Planets& planets, double epoch_jd) {
  std::vector<Body> out;
  out.reserve(planets.planets.size());
  if (planets.standard_table) {
    for (const TableRow& p : table) {
      out.push_back(table_planet(p, epoch_jd));
    }
    return out;
  }
  for (const Body& p : planets.planets) {
    out.push_back(propagate(p, planets.star_mass + p.mass.value_or(0.0), epoch_jd));
  }
  return out;
}

Body propagate(const Body& body, double central_mass, double epoch_jd) {
  if (epoch_jd == body.epoch_jd) {
    return body;
  }
  const double n = kgaus * std::sqrt(central_mass) / (body.a * std::sqrt(body.a));  // rad/day
  Body out = body;
  out.mean_anomaly = degrees_0_360(body.mean_anomaly + n * (epoch_jd - body.epoch_jd) / g2r);
  out.epoch_jd = epoch_jd;
  return out;
}

Planets read_planets(std::istream& in, double star_mass) {
  Planets out;
  out.star_mass = star_mass;
  BodyReader reader(in, BodiesFormat::csv);
  for (BodyRow row = reader.next(); !row.end(); row = reader.next()) {
    if (row.skipped) {
      throw BodiesError("line " + std::to_string(row.skipped->line) + ", field " +
                        row.skipped->field + ": " + row.skipped->reason);
    }
    if (!row.body->mass) {
      throw BodiesError("planet " + row.body->name + " has no mass_msun");
    }
    out.planets.push_back(std::move(*row.body));
  }
  if (out.planets.empty()) {
    throw BodiesError("no planet in the file");
  }
  std::stable_sort(out.planets.begin(), out.planets.end(),
                   [](const Body& x, const Body& y) { return x.a < y.a; });
  return out;
}

}  // namespace tandem
