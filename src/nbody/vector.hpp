#pragma once
// Small vector arithmetic for the N-body modules (au, au/day or any consistent unit).

#include <cmath>

#include "orbit/orbit_setup.hpp"

namespace tandem::nbody {

inline Vec3 operator+(const Vec3& u, const Vec3& v) {
  return {u.x + v.x, u.y + v.y, u.z + v.z};
}
inline Vec3 operator-(const Vec3& u, const Vec3& v) {
  return {u.x - v.x, u.y - v.y, u.z - v.z};
}
inline Vec3 operator*(const Vec3& v, double f) {
  return {v.x * f, v.y * f, v.z * f};
}
inline double dot(const Vec3& u, const Vec3& v) {
  return u.x * v.x + u.y * v.y + u.z * v.z;
}
inline double norm(const Vec3& v) {
  return std::sqrt(dot(v, v));
}

}  // namespace tandem::nbody
