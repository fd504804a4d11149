// The catalogue readers on real rows of each format and on malformed ones.
//
// Real rows: Distant.txt of the Minor Planet Center (credit: the MPC; orbits at 2019-04-27)
// and a JPL Small-Body Database export (credit: JPL SSD), as kept in the public repository
// of I. C. Matheson's TNO classification (MIT licence).

#include <gtest/gtest.h>

#include <sstream>

#include "bodies/designation.hpp"
#include "tandem/bodies.hpp"

namespace tandem {
namespace {

const std::string pluto_mpc =
    "D4340   -0.76  0.12 K194R  41.54710  115.01131  110.29733   17.10337  0.2537532  "
    "0.00391855  39.8461085  0 MPO459634  9482  94 1914-2018 0.30 M-v 38h MPCLINUX   000E "
    "(134340) Pluto              20180927";
const std::string pk312_mpc =
    "K15PV2K  9.8   0.15 K159F   1.06741  226.19897  159.94712   23.41708  0.6493327  "
    "0.00116801  89.2973521    MPO369261    12   1   62 days 0.13         MPCW       2011    "
    "      2015 PK312         2";

std::vector<BodyRow> read_all(const std::string& text, BodiesFormat f = BodiesFormat::detect) {
  std::istringstream in(text);
  BodyReader reader(in, f);
  std::vector<BodyRow> rows;
  for (BodyRow r = reader.next(); !r.end(); r = reader.next()) {
    rows.push_back(r);
  }
  return rows;
}

TEST(PackedForms, DesignationsAndEpochsOfTheMpc) {
  EXPECT_EQ(bodies::unpack_designation("D4340"), "134340");
  EXPECT_EQ(bodies::unpack_designation("02060  "), "2060");
  EXPECT_EQ(bodies::unpack_designation("K14F72H"), "2014 FH72");
  EXPECT_EQ(bodies::unpack_designation("K15PV2K"), "2015 PK312");
  EXPECT_EQ(bodies::unpack_designation("J95X00A"), "1995 XA");
  EXPECT_EQ(bodies::unpack_designation("PLS2040"), "2040 P-L");
  EXPECT_EQ(bodies::unpack_designation("T3S4101"), "4101 T-3");
  EXPECT_EQ(bodies::unpack_designation("~0000"), "620000");
  EXPECT_EQ(bodies::unpack_designation("K1?F72H"), std::nullopt);
  // 2019-04-27.0 TT is JD 2458600.5 (the MPC's epoch of Distant.txt); 2000-01-01.0 is
  // 2451544.5; 2015-09-15.0 is 2457280.5.
  EXPECT_EQ(bodies::unpack_epoch("K194R"), 2458600.5);
  EXPECT_EQ(bodies::unpack_epoch("K0011"), 2451544.5);
  EXPECT_EQ(bodies::unpack_epoch("K159F"), 2457280.5);
  EXPECT_EQ(bodies::unpack_epoch("K19D1"), std::nullopt);  // month 13
}

TEST(MpcReader, RealRowsWithHeaderAndAMalformedRow) {
  const std::string header =
      "MINOR PLANET CENTER ORBIT DATABASE (MPCORB)\n\nDes'n     H     G   Epoch     M\n"
      "-------------------------------------------------------------------------------\n";
  std::string bad = pluto_mpc;
  bad.replace(70, 9, "0.2x37532");  // the eccentricity, columns 71-79
  const auto rows = read_all(header + pluto_mpc + "\n\n" + pk312_mpc + "\r\n" + bad + "\n");
  ASSERT_EQ(rows.size(), 3u);
  ASSERT_TRUE(rows[0].body);
  const Body& p = *rows[0].body;
  EXPECT_EQ(p.name, "(134340) Pluto");
  EXPECT_EQ(p.epoch_jd, 2458600.5);
  EXPECT_EQ(p.a, 39.8461085);
  EXPECT_EQ(p.e, 0.2537532);
  EXPECT_EQ(p.i, 17.10337);
  EXPECT_EQ(p.node, 110.29733);
  EXPECT_EQ(p.argperi, 115.01131);
  EXPECT_EQ(p.mean_anomaly, 41.54710);
  EXPECT_FALSE(p.mass);
  ASSERT_TRUE(rows[1].body);
  EXPECT_EQ(rows[1].body->name, "2015 PK312");
  EXPECT_EQ(rows[1].body->epoch_jd, 2457280.5);
  ASSERT_TRUE(rows[2].skipped);
  EXPECT_EQ(rows[2].skipped->line, 8u);
  EXPECT_EQ(rows[2].skipped->field, "e");
}

TEST(SbdbReader, RealRowAndMassFromGm) {
  const std::string text =
      "\"spkid\",\"full_name\",\"pdes\",\"name\",\"GM\",\"epoch\",\"e\",\"a\",\"q\",\"i\","
      "\"om\",\"w\",\"ma\"\n"
      "3078920,\"       (2001 KE77)\",\"2001 KE77\",,,2460200.5,.1818098841881703,"
      "45.40065656995055,37.14636845690094,21.02262123433934,240.3967527536226,"
      "325.8450490629069,57.06664077126022\n"
      "1,\"  (1) Ceres\",\"1\",Ceres,62.6284,2460200.5,.0789,2.7670,2.55,10.59,80.25,73.3,"
      "291.4\n"
      "2,\"x\",\"2\",,,2460200.5,1.2,,2.1,10,80,73,0\n";
  const auto rows = read_all(text);
  ASSERT_EQ(rows.size(), 3u);
  ASSERT_TRUE(rows[0].body);
  EXPECT_EQ(rows[0].body->name, "2001 KE77");
  EXPECT_EQ(rows[0].body->a, 45.40065656995055);
  EXPECT_EQ(rows[0].body->e, 0.1818098841881703);
  EXPECT_EQ(rows[0].body->argperi, 325.8450490629069);
  ASSERT_TRUE(rows[1].body && rows[1].body->mass);
  // Ceres: GM 62.6284 km^3/s^2 over the Sun's 1.32712440018e11 is 4.72e-10 M_sun.
  EXPECT_NEAR(*rows[1].body->mass, 4.7191e-10, 1e-13);
  ASSERT_TRUE(rows[2].skipped);  // hyperbolic: no a
  EXPECT_EQ(rows[2].skipped->field, "a");
  EXPECT_EQ(rows[2].skipped->line, 4u);
}

TEST(PlainCsvReader, ColumnsInAnyOrderMassOptionalAndRefusals) {
  const std::string text =
      "e,name,epoch_jd,a_au,i_deg,node_deg,argperi_deg,mean_anomaly_deg,mass_msun\n"
      "0.1,\"Hilda, test\",2451545,3.97,5,100,20,30,1e-12\n"
      "0.1,B,2451545,3.97,5,100,20,30,\n"
      "1.1,C,2451545,3.97,5,100,20,30,\n"
      "0.1,D,2451545,3.97,5,100,20,\n";
  const auto rows = read_all(text);
  ASSERT_EQ(rows.size(), 4u);
  ASSERT_TRUE(rows[0].body);
  EXPECT_EQ(rows[0].body->name, "Hilda, test");
  EXPECT_EQ(rows[0].body->mass, 1e-12);
  ASSERT_TRUE(rows[1].body);
  EXPECT_FALSE(rows[1].body->mass);
  EXPECT_EQ(rows[2].skipped->field, "e");
  EXPECT_EQ(rows[3].skipped->field, "mean_anomaly_deg");
  std::istringstream unknown("x,y,z\n1,2,3\n");
  EXPECT_THROW(BodyReader r(unknown), BodiesError);
  std::istringstream missing("name,epoch_jd,a_au,e\n");
  EXPECT_THROW(BodyReader r(missing), BodiesError);
}

}  // namespace
}  // namespace tandem
