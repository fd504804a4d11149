#include "bodies/designation.hpp"

#include <cctype>

namespace tandem::bodies {
namespace {

// 0-9, A-Z = 10-35, a-z = 36-61; -1 for another character.
int base62(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'Z') {
    return c - 'A' + 10;
  }
  if (c >= 'a' && c <= 'z') {
    return c - 'a' + 36;
  }
  return -1;
}

bool all_digits(std::string_view s) {
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) {
      return false;
    }
  }
  return !s.empty();
}

std::optional<int> century(char c) {
  if (c < 'A' || c > 'L') {
    return std::nullopt;
  }
  return 10 + (c - 'A');
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') {
    s.remove_prefix(1);
  }
  while (!s.empty() && s.back() == ' ') {
    s.remove_suffix(1);
  }
  return s;
}

std::optional<std::string> numbered(std::string_view p) {
  if (p[0] == '~') {
    long n = 0;
    for (char c : p.substr(1)) {
      const int d = base62(c);
      if (d < 0) {
        return std::nullopt;
      }
      n = n * 62 + d;
    }
    return std::to_string(620000 + n);
  }
  const int lead = base62(p[0]);
  if (lead < 0 || !all_digits(p.substr(1))) {
    return std::nullopt;
  }
  const long n = lead * 10000L + std::stol(std::string(p.substr(1)));
  return std::to_string(n);
}

std::optional<std::string> provisional(std::string_view p) {
  if (p.substr(2, 1) == "S" && (p.substr(0, 2) == "PL" || p.substr(0, 2) == "T1" ||
                                p.substr(0, 2) == "T2" || p.substr(0, 2) == "T3")) {
    if (!all_digits(p.substr(3))) {
      return std::nullopt;
    }
    const std::string survey = p[0] == 'P' ? "P-L" : std::string("T-") + p[1];
    return std::string(p.substr(3)) + " " + survey;
  }
  const auto c = century(p[0]);
  const int cycle_high = base62(p[4]);
  const bool letters = std::isupper(static_cast<unsigned char>(p[3])) &&
                       std::isupper(static_cast<unsigned char>(p[6]));
  if (!c || !all_digits(p.substr(1, 2)) || cycle_high < 0 ||
      !std::isdigit(static_cast<unsigned char>(p[5])) || !letters) {
    return std::nullopt;
  }
  const int cycle = cycle_high * 10 + (p[5] - '0');
  std::string out = std::to_string(*c) + std::string(p.substr(1, 2)) + " " + p[3] + p[6];
  if (cycle > 0) {
    out += std::to_string(cycle);
  }
  return out;
}

}  // namespace

std::optional<std::string> unpack_designation(std::string_view packed) {
  const std::string_view p = trimmed(packed);
  if (p.size() == 5) {
    return numbered(p);
  }
  if (p.size() == 7) {
    return provisional(p);
  }
  return std::nullopt;
}

std::optional<double> unpack_epoch(std::string_view packed) {
  if (packed.size() != 5) {
    return std::nullopt;
  }
  const auto c = century(packed[0]);
  const int month = base62(packed[3]);
  const int day = base62(packed[4]);
  if (!c || !all_digits(packed.substr(1, 2)) || month < 1 || month > 12 || day < 1 || day > 31) {
    return std::nullopt;
  }
  const int year = *c * 100 + (packed[1] - '0') * 10 + (packed[2] - '0');
  return julian_date(year, month, day);
}

double julian_date(int year, int month, int day) {
  const long y = year;
  const long m = month;
  const long d = day;
  const long a = (m - 14) / 12;
  const long jdn = (1461 * (y + 4800 + a)) / 4 + (367 * (m - 2 - 12 * a)) / 12 -
                   (3 * ((y + 4900 + a) / 100)) / 4 + d - 32075;
  return static_cast<double>(jdn) - 0.5;
}

}  // namespace tandem::bodies
