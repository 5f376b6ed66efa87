// The set-ups the projection menu runs: the reference ellipsoids, the single angles with their
// intervals, the map origin and the oblique centre, and the picture.
#include "projection/ellipsoids.hpp"
#include "projection/setups.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "projection/ellipsoidal.hpp"
#include "projection/projection.hpp"
#include "projection/projection_dialog.hpp"
#include "projection/projection_support.hpp"
#include "support/expected_lines.hpp"

namespace korbast::projection {
namespace {

using namespace testing::projection_dialog_names;

class Setups : public testing::ProjectionDialog {};

// ---- Reference ellipsoids ----

TEST_F(Setups, Grs80ConstantsAreThoseOfTheTable) {
  int iell = 0;
  run("", [&] { sellipsoid(iell, 5); });
  EXPECT_EQ(iell, 1);
  const EllipsoidBlock& e = ellipsoid;
  EXPECT_EQ(e.ra, 6378137.0f);
  EXPECT_EQ(e.rb, 6356752.5f);
  // The figures are single-precision results, good to one unit of their last digit.
  EXPECT_NEAR(e.ecc2, 0.0066943, 1e-7);
  EXPECT_NEAR(e.ecc, 0.0818184, 1e-7);
  EXPECT_NEAR(e.eccp2, 0.0067394, 1e-7);
  EXPECT_NEAR(e.cmer0, 0.9983243, 1e-7);
  EXPECT_NEAR(e.cmer2, -0.0025146, 1e-7);
  EXPECT_NEAR(e.cmer4, 2.639e-6, 1e-9);
  EXPECT_NEAR(e.cmer6, -3.418e-9, 1e-12);
  // The meridian distance: 0 at the equator, cmer0 * pi/2 at the pole.
  const float lat[2] = {0.0f, frame::anglerad.v[2]};
  float m[2];
  lat2disel(m, lat, 2);
  EXPECT_EQ(m[0], 0.0f);
  EXPECT_NEAR(m[1], e.cmer0 * frame::anglerad.v[2], 1e-6);
}

TEST_F(Setups, EllipsoidInitialisationAndSummary) {
  int iell = 0;
  const std::string text = run("", [&] { sellipsoid(iell, 5); });
  const std::string at = ex::rule('@');
  const std::string head = lines({at, " @ subroutine sellipsoid ", ex::head_rule()});
  EXPECT_EQ(text, head +
                      lines({" INITIALIZING ELLIPSOID", " Default ellipsoid = GRS80",
                             " ellipsoid number  =   1"}) +
                      head +
                      lines({" GRS80 1980 ELLIPSOID", ex::rule('-'),
                             "  Ellipsoid number  =   1", "  Equatorial radius =  6378137.0 m",
                             "  Polar      radius =  6356752.5 m", at}));
}

// The ellipsoid menu as the user sees it, between its rules, and its refusal of a number
// outside it: a new ellipsoid adds its line here and widens the range.
const ex::Lines kEllipsoidMenu = {
    " GRS80    1980 .......................1", " IUGG     1967 .......................2",
    " Hayford  1909 .......................3", " Clarke   1880 .......................4",
    " Clarke   1866 .......................5", " Bessel   1841 .......................6",
    " Everest  1830 .......................7", " Plessis  1810 .......................8",
    " Delambre 1810 .......................9",
};
const std::string kEllipsoidRange = " NEITHER IN [1,9] NOR = 99";

TEST_F(Setups, EllipsoidMenuChoosesAnotherFigure) {
  int iell = 0;
  run("", [&] { sellipsoid(iell, 5); });
  // The first number past the table is refused, 3 is taken, 99 applies it.
  const int refused = testing::unknown_ellipsoid();
  const std::string text =
      run(std::to_string(refused) + "\n3\n99\n", [&] { sellipsoid(iell, 2); });
  EXPECT_EQ(iell, 3);
  EXPECT_EQ(ellipsoid.ra, 6378388.0f);
  EXPECT_EQ(ellipsoid.rb, 6356912.0f);
  EXPECT_NE(text.find(ex::text(ex::join({{"            ELLIPSOIDS SET UP", ex::rule('-'),
                                          "  current ellipsoid number:   1",
                                          "  setting ellipsoid number:   3", ex::rule('-')},
                                         kEllipsoidMenu,
                                         {ex::rule('-'),
                                          " SET AND EXIT .......................99"}}))),
            std::string::npos);
  EXPECT_NE(text.find(lines({" ANSWER = " + testing::int_field(refused, 6), kEllipsoidRange,
                             " ==> BACK TO MENU WITHOUT ACTION"})),
            std::string::npos);
  EXPECT_TRUE(has_line(text, " Enter Ellipsoid number or"));
  // The title held in 20 characters prints cut.
  EXPECT_TRUE(has_line(text, " HAYFORD 1909 ELLIPSO"));
  EXPECT_TRUE(has_line(text, "  Ellipsoid number  =   3"));
  EXPECT_TRUE(has_line(text, "  Polar      radius =  6356912.0 m"));
  // The next call starts from the number kept.
  run("", [&] { sellipsoid(iell, 3); });
  EXPECT_EQ(iell, 3);
}

// Every figure of the menu against the published one (tests/data/ellipsoids.txt, made from
// PROJ's list by tests/tools/gen_ellipsoid_fixture.sh): the table keeps the radii to 0.5 m.
TEST_F(Setups, EllipsoidFiguresAreThePublishedOnes) {
  std::ifstream in(std::string(KORBAST_TEST_DATA) + "/ellipsoids.txt");
  ASSERT_TRUE(in) << "tests/data/ellipsoids.txt";
  int iell = 0, rows = 0;
  run("", [&] { sellipsoid(iell, 5); });
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream row(line);
    int number = 0;
    std::string name;
    double a = 0, b = 0;
    ASSERT_TRUE(row >> number >> name >> a >> b) << line;
    ++rows;
    EXPECT_EQ(number, rows) << line;  // every number, in menu order
    run(std::to_string(number) + "\n99\n", [&] { sellipsoid(iell, 2); });
    EXPECT_EQ(iell, number) << name;
    EXPECT_NEAR(ellipsoid.ra, a, 0.5) << name;
    EXPECT_NEAR(ellipsoid.rb, b, 0.5) << name;
  }
  EXPECT_EQ(rows, testing::ellipsoid_count());
}

TEST_F(Setups, EllipsoidNeverSetIsChosenFromTheMenu) {
  int iell = 0;
  // Mode 3 before any initialisation: the error, then the menu even in an odd mode, where
  // the first number answered is applied.
  const std::string text = run("5\n", [&] { sellipsoid(iell, 3); });
  EXPECT_NE(text.find(lines({" ellipsoid number =   0", " NO SUCH ELLIPSOID AVALAIBLE"})),
            std::string::npos);
  EXPECT_EQ(iell, 5);
  EXPECT_EQ(ellipsoid.ra, 6378206.5f);
  // A caller's number outside the table is reset to 1.
  const int unknown = testing::unknown_ellipsoid();
  iell = unknown;
  const std::string reset = run("", [&] { sellipsoid(iell, 1); });
  EXPECT_NE(reset.find(lines({"  ellipsoid nb = " + testing::int_field(unknown, 3),
                              " ==> NO SUCH ELLIPSOID NB",
                              " ==> RESETTING TO:", "  ellipsoid nb =   1"})),
            std::string::npos);
  EXPECT_EQ(iell, 1);
  EXPECT_EQ(ellipsoid.ra, 6378137.0f);
}

// ---- Single angles ----

TEST_F(Setups, AngleMenuReadsAndStoresRadians) {
  float v = 0.0f;
  run("", [&] { slong1(v, 5); });
  const std::string text = run(set_value(1, "-12.5"), [&] { slong1(v, 2); });
  EXPECT_EQ(v, -12.5f);
  EXPECT_EQ(llpparam.longp1, rad(-12.5f));
  EXPECT_NE(text.find(lines({ex::rule('-'), " CENTRAL LONGITUDE SET UP", ex::rule('-'),
                             " central longitude .....1    0.000", ex::rule('-'),
                             " UPDATE & EXIT ........99", ex::rule('@')})),
            std::string::npos);
  EXPECT_TRUE(has_line(text, " central longitude .....1  -12.500"));
  // Longitudes are not checked: unwrapped values are meant.
  run(set_value(1, "400"), [&] { slong1(v, 2); });
  EXPECT_EQ(llpparam.longp1, rad(400));
  // The second latitude's menu line is one character longer than its siblings.
  const std::string lat = run(kLeave, [&] { slat2(v, 2); });
  EXPECT_TRUE(has_line(lat, " second latitude ........1    0.000"));
}

TEST_F(Setups, OddModeIsSilentAndRoundTrips) {
  float v = 0.0f;
  run("", [&] { slat1(v, 5); });
  EXPECT_EQ(run("", [&] { slat1(v, 3); }), "");
  EXPECT_FLOAT_EQ(v, 30.0f);
  EXPECT_FLOAT_EQ(llpparam.latp1, rad(30));
  // Any other odd mode stores the caller's value.
  v = 12.0f;
  EXPECT_EQ(run("", [&] { sangle1(v, 1); }), "");
  EXPECT_EQ(llpparam.anglep1, rad(12));
}

TEST_F(Setups, LatitudesOutsideTheGlobeAreAskedAgain) {
  float v = 0.0f;
  run("", [&] { slat1(v, 5); });
  const std::string text = run("1\n95\n-45\n99\n", [&] { slat1(v, 2); });
  EXPECT_NE(text.find(" outside ["), std::string::npos);
  EXPECT_TRUE(has_line(text, " Enter first latitude in degrees"));
  EXPECT_EQ(v, -45.0f);
  EXPECT_EQ(llpparam.latp1, rad(-45));
  // A caller's latitude outside the globe is refused with a warning; the stored one is kept.
  v = -95.0f;
  const std::string warned = run("", [&] { slat2(v, 1); });
  EXPECT_NE(warned.find(ex::text(ex::warning_head("slat2"))), std::string::npos);
  EXPECT_NE(warned.find(lines({" second latitude =  -95.000", " outside [ -90.000,  90.000]",
                               " ==> VALUE KEPT =    0.000"})),
            std::string::npos);
  EXPECT_EQ(v, 0.0f);
  EXPECT_EQ(llpparam.latp2, 0.0f);
}

TEST_F(Setups, CentralAngleStaysWithinHalfATurn) {
  float v = 0.0f;
  run("", [&] { sangle1(v, 5); });
  run("1\n200\n-1\n90\n99\n", [&] { sangle1(v, 2); });
  EXPECT_EQ(v, 90.0f);
  EXPECT_EQ(llpparam.anglep1, rad(90));
}

// ---- Map origin ----

TEST_F(Setups, OriginOffsetsFollowTheProjection) {
  projtype.iproj = 15;
  float lon = 0.0f, lat = 0.0f;
  const std::string text = run("", [&] { sllorig(lon, lat, 5); });
  EXPECT_EQ(text, lines({ex::rule('@'), " @ subroutine sllorig    ", ex::head_rule(),
                         " MAP PROJECTION ORIGIN SET UP", " INITIALIZING ORIGIN TO",
                         " longitude =    0.000", " latitude  =   45.000"}));
  EXPECT_EQ(llorig.xorig, 0.0f);
  EXPECT_NEAR(llorig.yorig, std::log(std::tan(67.5 * 3.14159265358979 / 180)), 1e-6);
  // The menu shows the new offsets before 99.
  const std::string menu = run("1\n30\n99\n", [&] { sllorig(lon, lat, 2); });
  EXPECT_TRUE(has_line(menu, " X offset ...............    0.524"));
  EXPECT_EQ(llorig.xorig, rad(30));
  // Mode 3 keeps the stored radians as they are and recomputes the offsets only.
  const float rlat = llorig.rlatorig;
  projtype.iproj = 22;
  EXPECT_EQ(run("", [&] { sllorig(lon, lat, 3); }), "");
  EXPECT_EQ(llorig.rlatorig, rlat);
  EXPECT_FLOAT_EQ(llorig.yorig, rad(45));
}

TEST_F(Setups, OriginMenuWithoutMoreOutput) {
  projtype.iproj = 15;
  float lon = 0.0f, lat = 45.0f;
  frame::iocom.lwito(2) = false;
  const std::string text = run(kLeave, [&] { sllorig(lon, lat, 0); });
  EXPECT_EQ(text, lines({ex::rule('@'), " @ subroutine sllorig    ",
                         ex::head_rule(), " Enter your choice",
                         " New value =            99"}));
}

TEST_F(Setups, OriginWithoutImageIsReportedInAnOddMode) {
  projtype.iproj = 17;  // polar gnomonic: the equator has no image
  float lon = 0.0f, lat = 0.0f;
  const std::string text = run("", [&] { sllorig(lon, lat, 1); });
  EXPECT_NE(text.find(lines({" THE ORIGIN HAS NO FINITE IMAGE", " IN THE CURRENT PROJECTION",
                             " longitude =    0.000", " latitude  =    0.000",
                             " ==> MAP COORDINATES WILL NOT BE FINITE"})),
            std::string::npos);
  // A caller's latitude beyond the pole is refused.
  lat = 120.0f;
  projtype.iproj = 15;
  run("", [&] { sllorig(lon, lat, 1); });
  EXPECT_EQ(lat, 0.0f);
  EXPECT_EQ(llorig.rlatorig, 0.0f);
}

// ---- Oblique centre ----

TEST_F(Setups, ObliqueFrameOfTheCentre) {
  float lon = 0.0f, lat = 0.0f;
  const std::string text = run("", [&] { soblique(lon, lat, 5); });
  EXPECT_EQ(text, lines({ex::rule('@'), " @ subroutine soblique   ", ex::head_rule(),
                         " INITIALIZING CENTRAL LOCATION", " FOR OBLIQUE PROJECTIONS",
                         " central longitude =    0.000", " central latitude  =   45.000"}));
  // The north pole as centre: the identity, to rounding.
  const std::string menu = run("2\n-91\n90\n99\n", [&] { soblique(lon, lat, 2); });
  EXPECT_NE(menu.find(" OBLIQUE PROJECTIONS CENTRAL LOCATION SET UP"), std::string::npos);
  EXPECT_TRUE(has_line(menu, " central latitude ......2   45.000"));
  EXPECT_NE(menu.find(" outside ["), std::string::npos);
  for (int k = 0; k < 9; ++k) EXPECT_NEAR(a2b.ab[k], (k % 4 == 0) ? 1.0f : 0.0f, 1e-6) << k;
  // The centre is kept: mode 3 starts from it.
  lon = lat = 0.0f;
  run("", [&] { soblique(lon, lat, 3); });
  EXPECT_FLOAT_EQ(lat, 90.0f);
  // A general centre: rows south along the meridian, east, and the centre.
  lon = 30.0f;
  lat = -20.0f;
  run("", [&] { soblique(lon, lat, 1); });
  const double l = 30 * 3.14159265358979 / 180, p = -20 * 3.14159265358979 / 180;
  const double rows[3][3] = {{std::sin(p) * std::cos(l), std::sin(p) * std::sin(l), -std::cos(p)},
                             {-std::sin(l), std::cos(l), 0},
                             {std::cos(p) * std::cos(l), std::cos(p) * std::sin(l), std::sin(p)}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(a2b.ab[3 * j + i], rows[i][j], 1e-6) << i << j;
}

TEST_F(Setups, ResetForgetsTheKeptState) {
  float lon = 10.0f, lat = 20.0f;
  int iell = 4;
  run("", [&] {
    soblique(lon, lat, 1);
    sellipsoid(iell, 1);
  });
  reset_projection_blocks();
  run("", [&] { soblique(lon, lat, 3); });
  EXPECT_EQ(lon, 0.0f);
  EXPECT_EQ(lat, 0.0f);
  const std::string text = run("2\n", [&] { sellipsoid(iell, 3); });
  EXPECT_TRUE(has_line(text, " NO SUCH ELLIPSOID AVALAIBLE"));
}

// ---- The picture ----

TEST_F(Setups, PictureOfTheProjection) {
  const std::string text = run("", [] { screenproj(); });
  const char* const rows[14] = {
      "                     &&&",
      "                   &&&&&&&",
      "                 &&&&&&&&&&&",
      "                &&&&&&&&&&&&&",
      "                 &&&&&&&&&&&",
      "                   &#&&&&&",
      "                    |&&&",
      "                    |",
      "     /**************|********************/",
      "    /               |                   /",
      "   /                V                  /",
      "  /                 #                 /",
      " /                                   /",
      "/***********************************/",
  };
  std::string expected;
  for (const char* r : rows) {
    std::string line(r);
    expected += " " + line + rep(' ', 43 - static_cast<int>(line.size())) + "\n";
  }
  EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace korbast::projection
