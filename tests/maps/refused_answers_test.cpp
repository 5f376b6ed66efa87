// The questions that refuse an answer and ask again: after the refusal each offers the value
// held before, so a refused answer followed by an empty one leaves that value in place (the
// grid increments, the level increment and count of the curves, the parallels and the angle
// of view a projection cannot use, an origin without image). A file name a command file gives
// is the other way round: the refused name is offered again (tests/frame/filetable_test.cpp).
#include <gtest/gtest.h>

#include <string>

#include "frame/angles.hpp"
#include "frame/units.hpp"
#include "maps/grid.hpp"
#include "maps/reset.hpp"
#include "plot/curve_params.hpp"
#include "projection/menu.hpp"
#include "projection/projection.hpp"
#include "projection/projection_dialog.hpp"
#include "projection/state.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"

namespace korbast::maps::test {
namespace {

using korbast::testing::Console;
using korbast::testing::kLeave;
using korbast::testing::set_value;
using frame::rad;

// Thrown by the stop path at the end of the answers: a question that kept refusing ate them.
struct AnswersRanOut {};

class RefusedAnswers : public korbast::testing::QuietDialogTest {
 protected:
  void SetUp() override {
    QuietDialogTest::SetUp();
    maps::reset();
    projection::reset_projection_blocks();
    projection::set_contours_hook(nullptr);
    frame::units::set_stop_interceptor([](int) { throw AnswersRanOut{}; });
  }
  void TearDown() override {
    frame::units::set_stop_interceptor(nullptr);
    QuietDialogTest::TearDown();
  }
  // Runs f on the answers; what it printed, or "" when the answers ran out.
  template <class F>
  std::string answer(const std::string& answers, F f) {
    Console con(answers);
    try {
      f();
    } catch (const AnswersRanOut&) {
      ADD_FAILURE() << "the answers ran out:\n" << con.text();
      return "";
    }
    return con.text();
  }
  std::string projection_menu(const std::string& answers) {
    return answer(answers, [] {
      int iproj = 0;
      projection::sprojll2(iproj, 2);
    });
  }
};

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST_F(RefusedAnswers, AnEmptyAnswerAfterARefusalKeepsTheValueHeldBefore) {
  // Grid menu 13 and 23: an increment of 0, then Return; the increments stay at 10 degrees.
  float lat0 = 0, lat1 = 0, long0 = 0, long1 = 0, latinc = 0, longinc = 0, tic = 0;
  int npt = 0, ntick = 0, type = 0;
  auto grid = [&](int mode) {
    sllgrid2(lat0, lat1, long0, long1, latinc, longinc, npt, tic, ntick, type, mode);
  };
  answer("", [&] { grid(5); });
  std::string text = answer("13\n0\n\n23\n0\n\n99\n99\n99\n", [&] { grid(2); });
  EXPECT_EQ(count(text, "==> AN INCREMENT OF 0 IS REFUSED"), 2) << text;
  EXPECT_FLOAT_EQ(llgrid.latinc, rad(10.0f));
  EXPECT_FLOAT_EQ(llgrid.longinc, rad(10.0f));

  // Level menu 12 and 14: an increment of 0 and a count of 0, each followed by Return; the
  // levels 0, 0.25 .. 1 stand.
  float lini = 0.0f, lfin = 1.0f, linc = 0.25f;
  int nlev = 5, ical = 2;
  frame::Text<5> name{"level"};
  text = answer("12\n0\n\n14\n0\n\n99\n99\n99\n",
                [&] { plot::sclevel2(lini, lfin, linc, nlev, ical, name, 0); });
  EXPECT_EQ(count(text, "==> BACK TO QUERY"), 2) << text;
  EXPECT_EQ(linc, 0.25f);
  EXPECT_EQ(nlev, 5);

  // Lambert conic (3): the parallels 30 and -30, then -60 and 60, are refused; the set-ups
  // show 30 and 60 again.
  answer("", [] {
    int iproj = 0;
    projection::sprojll2(iproj, 5);
  });
  for (const std::string& refused : {kLeave + set_value(1, "-30"), set_value(1, "-60") + kLeave}) {
    text = projection_menu("3\n99\n" + kLeave + refused + kLeave + kLeave + kLeave +
                           set_value(1, "45") + kLeave);
    EXPECT_EQ(count(text, "==> SET IT AGAIN"), 1) << text;
    EXPECT_FLOAT_EQ(projection::llpparam.latp1, rad(30.0f));
    EXPECT_FLOAT_EQ(projection::llpparam.latp2, rad(60.0f));
  }

  // Perspective (11): the angle of view 0 is refused by its question after 60 was set, and
  // Return keeps 60.
  projection_menu("11\n99\n" + set_value(1, "60") + kLeave);
  text = projection_menu("11\n99\n" + set_value(1, "0\n") + kLeave);
  EXPECT_EQ(count(text, " outside ]"), 1) << text;
  EXPECT_FLOAT_EQ(projection::llpparam.anglep1, rad(60.0f));

  // Polar gnomonic (17): the origin on the equator has no image after 80 N was set; 80 N stands.
  projection_menu("17\n99\n" + set_value(2, "80"));
  text = projection_menu("17\n99\n" + set_value(2, "0") + kLeave + set_value(2, "70"));
  EXPECT_EQ(count(text, "==> CHOOSE ANOTHER ORIGIN"), 1) << text;
  EXPECT_EQ(projection::llorig.rlatorig, rad(80.0f));
}

}  // namespace
}  // namespace korbast::maps::test
