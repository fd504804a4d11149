// The evaluation arranges its work for speed (factors formed once per orbit, samples in
// blocks, planet 1's states reused and its solutions interleaved, the grid split across
// threads and taken out of order). None of that may change a bit: here the whole
// curve is set against a plain transcription of the formulas, one sample at a time, with
// both planets placed afresh at every sample and nothing formed ahead.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "orbit/constants.hpp"
#include "orbit/kepler.hpp"
#include "orbit/planet2_table.hpp"
#include "resonance/rsigma.hpp"
#include "support/exact.hpp"

namespace tandem {
namespace {

::testing::AssertionResult same_bits(double got, double want) {
  if (std::bit_cast<std::uint64_t>(got) == std::bit_cast<std::uint64_t>(want)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << testing::digits17(got) << " vs plain " << testing::digits17(want);
}

struct PlainState {
  double x, y, z, xp, yp, zp;
};

// Position and velocity on an orbit at mean anomaly am, written out term by term.
PlainState plain_state(const Orbit& o, double am) {
  const double aex = solkep(o.e, am).e;
  const double cose = std::cos(aex);
  const double sine = std::sin(aex);
  const double a = o.a, b = o.b, e = o.e, n = o.n;
  const double l1 = o.pvec.x, m1 = o.pvec.y, n1 = o.pvec.z;
  const double l2 = o.qvec.x, m2 = o.qvec.y, n2 = o.qvec.z;
  const double r = a * (1 - e * cose);
  return {a * l1 * cose + b * l2 * sine - a * e * l1,  a * m1 * cose + b * m2 * sine - a * e * m1,
          a * n1 * cose + b * n2 * sine - a * e * n1,  (b * l2 * cose - a * l1 * sine) * n * a / r,
          (b * m2 * cose - a * m1 * sine) * n * a / r, (b * n2 * cose - a * n1 * sine) * n * a / r};
}

struct PlainPoint {
  double rp;
  double md;
  bool close;
};

PlainPoint plain_point(const PlanetarySystem& sys, const Resonance& res, const OrbitSetup& o,
                       int isi) {
  const double k1 = res.k1, k2 = res.k2;
  const double sm1 = sys.planet1.sm, sm2 = sys.planet2.sm, mst = sys.mst;
  const double acrit = (static_cast<double>(isi) / isimax) * 360;
  double teta = (k1 - k2) * o.planet1.pg + acrit;
  teta = mod(teta, 360);
  const double tetar = teta * g2r;
  double rtot = 0;
  double mindis = 9999999.0;
  bool close = false;
  for (int i2 = 1; i2 <= o.ipasos; ++i2) {
    const double la2 = (static_cast<double>(i2) / o.ipasos) * twopi * std::fabs(k1);
    const PlainState s2 = plain_state(o.planet2, mod(la2 - o.planet2.p, twopi));
    const double la1 = (k2 * la2 + tetar) / k1;
    const PlainState s1 = plain_state(o.planet1, mod(la1 - o.planet1.p, twopi));
    const double delta = std::sqrt((s1.x - s2.x) * (s1.x - s2.x) + (s1.y - s2.y) * (s1.y - s2.y) +
                                   (s1.z - s2.z) * (s1.z - s2.z));
    close = close || delta < o.rhs * rhtol;
    const double delrh = delta / o.rhs;
    if (delrh < mindis) {
      mindis = delrh;
    }
    const double v1v2 = s1.xp * s2.xp + s1.yp * s2.yp + s1.zp * s2.zp;
    const double rind = -(sm1 * sm2 * v1v2 / mst);
    const double rdir = kg2 * sm1 * sm2 / delta;
    rtot = rtot + (rdir + rind);
  }
  return {rtot / o.ipasos, mindis, close};
}

struct System {
  const char* name;
  PlanetarySystem sys;
  Resonance res;
};

TEST(RSigmaArithmetic, WholeCurveMatchesThePlainFormulasBitForBit) {
  const System systems[] = {
      {"hilda 3:2",
       {1.0, {3.97, 0.10, 5.0, 100.0, 30.0, 1.0e-9}, {5.2, 0.048, 1.3, 100.5, 14.7, 9.5e-4}},
       {3.0, 2.0}},
      // Crossing orbits: close encounters and huge direct parts at some sigma values.
      {"eccentric inclined 4:3",
       {0.8, {1.0, 0.35, 12.0, 200.0, 400.0, 3.0e-4}, {1.0, 0.3, 2.0, 15.0, 95.0, 8.0e-4}},
       {4.0, 3.0}},
      // Non-whole numbers: the block of samples does not divide ipasos = 3000.
      {"non-whole 3.5:2.5",
       {1.0, {1, 0.2, 1.0, 30.0, 60.0, 1.0e-4}, {1.5, 0.1, 0.5, 100.0, 15.0, 3.0e-4}},
       {3.5, 2.5}},
      // Negative perihelion longitude and e = 0.85: negative anomalies, long iterations.
      {"very eccentric 2:1",
       {1.0, {0.6, 0.85, 20.0, 30.0, -60.0, 3.0e-6}, {1.0, 0.6, 0.5, 100.0, 15.0, 1.0e-3}},
       {2.0, 1.0}},
  };
  for (const System& s : systems) {
    const OrbitSetup o = setup_orbits(s.sys, s.res);
    const RCurve curve = evaluate_rsigma(s.sys, s.res, o, 2);
    int close_points = 0;
    for (int isi = 0; isi < isimax; ++isi) {
      const PlainPoint want = plain_point(s.sys, s.res, o, isi);
      ASSERT_TRUE(same_bits(curve.rp[isi], want.rp)) << s.name << ", sigma " << isi;
      ASSERT_TRUE(same_bits(curve.md[isi], want.md)) << s.name << ", sigma " << isi;
      ASSERT_EQ(curve.ace[isi], want.close) << s.name << ", sigma " << isi;
      close_points += want.close ? 1 : 0;
    }
    if (s.res.k2 == 4.0) {
      EXPECT_GT(close_points, 0) << "the crossing case must exercise the label";
    }
  }
}

}  // namespace
}  // namespace tandem
