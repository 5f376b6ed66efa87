// The stereonet projections: the four codes against PROJ's azimuthal equal-area and
// stereographic projections (fixture tests/data/focal/nets.txt), the special directions,
// the colatitude limit, calls in place, and the projection menu and its reports.
#include "focal/stereonet.hpp"

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "focal_fixture.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"

namespace korbast::focal::test {
namespace {

namespace ex = korbast::testing::expected;

class Stereonet : public korbast::testing::QuietDialogTest {
 protected:
  void SetUp() override {
    QuietDialogTest::SetUp();
    focal::reset();
  }
};

struct NetPoint {
  double az, pl, s_east, s_north, w_east, w_north;
};

std::vector<NetPoint> net_fixture() {
  std::ifstream in(std::string(KORBAST_TEST_DATA) + "/focal/nets.txt");
  std::vector<NetPoint> pts;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    NetPoint p{};
    s >> p.az >> p.pl >> p.s_east >> p.s_north >> p.w_east >> p.w_north;
    pts.push_back(p);
  }
  return pts;
}

// One direction with the given code.
Pt project(int code, float az, float pl) {
  use_projection(code);
  float x = 0, y = 0;
  spron(&x, &y, &az, &pl, 1);
  return {x, y};
}

TEST_F(Stereonet, AllCodesAgreeWithProj) {
  const auto pts = net_fixture();
  ASSERT_EQ(pts.size(), 70u);
  for (int code = 1; code <= 4; ++code) {
    use_projection(code);
    for (const auto& p : pts) {
      const float az = frame::rad(static_cast<float>(p.az));
      const float pl = frame::rad(static_cast<float>(p.pl));
      float x = 0, y = 0;
      spron(&x, &y, &az, &pl, 1);
      const bool wulff = code <= 2;
      const double east = wulff ? p.w_east : p.s_east;
      const double north = wulff ? p.w_north : p.s_north;
      // Odd codes: x North, y East; even codes: x East, y North.
      const double ex_x = code % 2 == 1 ? north : east;
      const double ex_y = code % 2 == 1 ? east : north;
      const double tol = 2e-6 * (1.0 + std::hypot(east, north));
      EXPECT_NEAR(x, ex_x, tol) << "code " << code << " az " << p.az << " pl " << p.pl;
      EXPECT_NEAR(y, ex_y, tol) << "code " << code << " az " << p.az << " pl " << p.pl;
    }
  }
}

TEST_F(Stereonet, HorizonAndCentre) {
  const float eps = 2e-7f;
  Pt p = project(4, 0.0f, 0.0f);
  EXPECT_NEAR(p.first, 0.0, eps);
  EXPECT_NEAR(p.second, 1.0, eps);
  p = project(3, 0.0f, 0.0f);
  EXPECT_NEAR(p.first, 1.0, eps);
  EXPECT_NEAR(p.second, 0.0, eps);
  p = project(4, halfpi(), 0.0f);
  EXPECT_NEAR(p.first, 1.0, eps);
  EXPECT_NEAR(p.second, 0.0, eps);
  for (int code = 1; code <= 4; ++code) {
    for (float az : {0.0f, 1.0f, 4.0f}) {
      p = project(code, az, halfpi());
      EXPECT_NEAR(p.first, 0.0, 1e-7) << code;
      EXPECT_NEAR(p.second, 0.0, 1e-7) << code;
    }
  }
}

TEST_F(Stereonet, RadiusAtPlunge45) {
  // sqrt2 sin(pi/8) on the Schmidt net, tan(pi/8) on the Wulff net.
  const float q = frame::anglerad.v[0];
  for (int code : {3, 4}) {
    const Pt p = project(code, 0.3f, q);
    EXPECT_NEAR(std::hypot(p.first, p.second), 0.5411961, 1e-6);
  }
  for (int code : {1, 2}) {
    const Pt p = project(code, 0.3f, q);
    EXPECT_NEAR(std::hypot(p.first, p.second), 0.4142136, 1e-6);
  }
}

TEST_F(Stereonet, UpwardVertical) {
  // The Schmidt net holds the whole sphere within radius sqrt 2; the Wulff net does not
  // bound the upper hemisphere (the radius changes sign at the antipode in single precision).
  const Pt s = project(4, 0.7f, -halfpi());
  EXPECT_NEAR(std::hypot(s.first, s.second), std::sqrt(2.0), 1e-6);
  const Pt w = project(2, 0.0f, -halfpi());
  EXPECT_GT(std::hypot(w.first, w.second), 1e6);
  const Pt w2 = project(2, 0.0f, -halfpi() + 0.01f);
  EXPECT_GT(std::hypot(w2.first, w2.second), 100.0);
}

TEST_F(Stereonet, NothingForNoPoints) {
  use_projection(4);
  float x[2] = {7.0f, 8.0f}, y[2] = {9.0f, 10.0f};
  const float az[2] = {0.0f, 1.0f}, pl[2] = {0.0f, 0.5f};
  spron(x, y, az, pl, 0);
  spron(x, y, az, pl, -3);
  EXPECT_EQ(x[0], 7.0f);
  EXPECT_EQ(x[1], 8.0f);
  EXPECT_EQ(y[0], 9.0f);
  EXPECT_EQ(y[1], 10.0f);
}

TEST_F(Stereonet, InPlaceEqualsSeparateArrays) {
  const float az[5] = {0.0f, 0.5f, 2.0f, 3.5f, 6.0f};
  const float pl[5] = {0.0f, 0.2f, 0.9f, -0.4f, 1.5f};
  for (int code = 1; code <= 4; ++code) {
    use_projection(code);
    float x[5], y[5];
    spron(x, y, az, pl, 5);
    float u[5], v[5];
    std::copy(az, az + 5, u);
    std::copy(pl, pl + 5, v);
    spron(u, v, u, v, 5);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(u[i], x[i]) << code << " " << i;
      EXPECT_EQ(v[i], y[i]) << code << " " << i;
    }
  }
  // The formulas themselves, with the outputs crossed over the inputs.
  use_projection(4);
  float x[5], y[5];
  schmidtn(x, y, az, pl, 5);
  float u[5], v[5];
  std::copy(az, az + 5, v);
  std::copy(pl, pl + 5, u);
  schmidtn(u, v, v, u, 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(u[i], x[i]);
    EXPECT_EQ(v[i], y[i]);
  }
}

TEST_F(Stereonet, ColatitudeLimit) {
  use_projection(3);
  // With the largest colatitude at pi/2 an upward direction is drawn on the horizon.
  schmidtparams.maxcolat = halfpi();
  float az = 0.0f, pl = -0.4f, x = 0, y = 0;
  schmidtn(&x, &y, &az, &pl, 1);
  EXPECT_NEAR(x, 1.0, 1e-6);
  // A plunge that is not a number stays so: the limit never replaces it.
  pl = std::nanf("");
  schmidtn(&x, &y, &az, &pl, 1);
  EXPECT_TRUE(std::isnan(x));
  EXPECT_TRUE(std::isnan(y));
  wulfparams.maxcolat = halfpi();
  pl = -1.0f;
  wulfn(&x, &y, &az, &pl, 1);
  EXPECT_NEAR(x, 1.0, 1e-6);
}

TEST_F(Stereonet, StartUpInitialises) {
  Console con;
  int iproj = 1;
  sspro(iproj, 5);
  EXPECT_EQ(iproj, 4);
  EXPECT_EQ(sprojtype.iproj, 4);
  EXPECT_EQ(schmidtparams.maxcolat, frame::rad(180.0f));
  EXPECT_EQ(schmidtparams.factor, std::sqrt(2.0f));
  EXPECT_EQ(wulfparams.maxcolat, 0.0f);
  ex::Lines want = ex::join({ex::head("sspro"),
                             {" INITIALIZING STEREOGRAPHIC PROJECTION", " projection number =    4",
                              " projection = Schmidt, retrograde X,Y axis"},
                             ex::head("sschmidt"),
                             {" INITIALIZING SCHMIDT PROJECTION",
                              " Azimuthal Equal Area (Lambert,1772)"}});
  EXPECT_EQ(plot::test::split_lines(con.text()), want);
}

TEST_F(Stereonet, StoredCodeSetsUpItsNetAgain) {
  sprojtype.iproj = 1;
  Console con;
  int iproj = 3;
  sspro(iproj, 3);
  EXPECT_EQ(iproj, 1);
  EXPECT_EQ(wulfparams.maxcolat, frame::rad(180.0f));
  ex::Lines want = ex::join({ex::head("swulf"),
                             {" INITIALIZING WULFF PROJECTION",
                              " Inversion or stereographic conformal"}});
  EXPECT_EQ(plot::test::split_lines(con.text()), want);
}

// The menu as the command 300 of the beach-ball pages shows it.
ex::Lines menu(int current) {
  std::string cur = "    ";
  cur[3] = static_cast<char>('0' + current);
  return ex::join({ex::head("sspro"),
                   {" STEREOGRAPHIC PROJECTION SET UP", " (azimuth,plunge) ---> (x,y) in plane",
                    ex::rule('-'), "           &&&&&&&&&&&&&             ",
                    "            &&&&&&&&&&&              ",
                    "              &&&&&#&                ",
                    "                &&& .                ",
                    "                     .               ",
                    "      /***************.*************/",
                    "     /                 .           / ",
                    "    /                  |          /  ",
                    "   /                   V         /   ",
                    "  /                    #        /    ",
                    " /*****************************/     ", ex::rule('-'),
                    " current projection number =" + std::string(" ") + cur, ex::rule('-'),
                    " Projection                   command", " Wulff = conformal = Inversion",
                    "    direct     X,Y axis ............1", "    retrograde X,Y axis ............2",
                    " Schmidt = Lambert Azimuthal equal area",
                    "    direct     X,Y axis ............3", "    retrograde X,Y axis ............4",
                    ex::rule('@')}});
}

TEST_F(Stereonet, MenuChoosesTheWulffNet) {
  use_projection(4);
  Console con("2\n");
  int iproj = 1;
  sspro(iproj, 2);
  EXPECT_EQ(iproj, 2);
  EXPECT_EQ(sprojtype.iproj, 2);
  EXPECT_EQ(wulfparams.maxcolat, frame::rad(180.0f));
  const auto lines = plot::test::split_lines(con.text());
  EXPECT_EQ(plot::test::find_sequence(lines, menu(4)), 0);
  EXPECT_NE(plot::test::find_sequence(lines, {" Enter projection number"}), -1);
  EXPECT_NE(plot::test::find_sequence(lines, ex::head("swulf")), -1);
}

TEST_F(Stereonet, MenuRefusesCodesOutsideTheTable) {
  use_projection(4);
  Console con("5\n0\n3\n");
  int iproj = 1;
  sspro(iproj, 2);
  EXPECT_EQ(iproj, 3);
  EXPECT_EQ(sprojtype.iproj, 3);
}

TEST_F(Stereonet, CallersBadCodeThenAValidAnswer) {
  Console con("4\n");
  int iproj = -2;
  sspro(iproj, 1);
  EXPECT_EQ(iproj, 4);
  EXPECT_EQ(sprojtype.iproj, 4);
  const auto lines = plot::test::split_lines(con.text());
  ex::Lines report = ex::error_head("sspro");
  report.push_back(" iproj =    -2");
  report.push_back(" NO SUCH PROJECTION AVALAIBLE");
  EXPECT_EQ(plot::test::find_sequence(lines, report), 0);
  EXPECT_NE(plot::test::find_sequence(lines, ex::head("sschmidt")), -1);
}

TEST_F(Stereonet, BadStoredCodeIsMendedBeforeProjecting) {
  // Before the start-up the stored code is 0: the report, the menu (default 4), then the
  // point is projected with the code chosen.
  Console con("\n");
  float az = 0.0f, pl = 0.0f, x = 0, y = 0;
  spron(&x, &y, &az, &pl, 1);
  EXPECT_EQ(sprojtype.iproj, 4);
  EXPECT_NEAR(x, 0.0, 1e-7);
  EXPECT_NEAR(y, 1.0, 2e-7);
  const auto lines = plot::test::split_lines(con.text());
  ex::Lines report = ex::error_head("spron");
  report.push_back(" iproj =      0");
  report.push_back(" NO SUCH PROJECTION AVALAIBLE");
  EXPECT_EQ(plot::test::find_sequence(lines, report), 0);
  EXPECT_NE(plot::test::find_sequence(lines, menu(4)), -1);
}

TEST_F(Stereonet, NetSetUpsShowTheirNames) {
  Console con;
  float colat = 90.0f;
  sschmidt(colat, 2);
  EXPECT_EQ(colat, 90.0f);  // no loading from the block, nothing asked
  EXPECT_EQ(schmidtparams.maxcolat, frame::rad(90.0f));
  float wcolat = 45.0f;
  swulf(wcolat, 6);
  EXPECT_EQ(wcolat, 180.0f);
  EXPECT_EQ(wulfparams.maxcolat, frame::rad(180.0f));
  ex::Lines want = ex::join({ex::head("sschmidt"),
                             {" SCHMIDT PROJECTION", " Azimuthal Equal Area (Lambert,1772)",
                              ex::rule('@')},
                             ex::head("swulf"),
                             {" INITIALIZING WULFF PROJECTION",
                              " Inversion or stereographic conformal"},
                             ex::head("swulf"),
                             {" WULFF PROJECTION", " Inversion or stereographic conformal",
                              ex::rule('@')}});
  EXPECT_EQ(plot::test::split_lines(con.text()), want);
}

}  // namespace
}  // namespace korbast::focal::test
