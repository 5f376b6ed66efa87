// Subplot selection and its box, the caption lines in centimetres at half the text size, and
// the three run-information lines.
#include "plot/subplots.hpp"

#include "frame/runinfo.hpp"
#include "plot/chain.hpp"
#include "plot_fixture.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;
using Lines = std::vector<std::string>;

const Lines kHead = {" @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@",
                     " @ subroutine ssubplot   ",
                     " @=========================================="};
const std::string kTail = " @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@";

Lines box(const std::string& last, const std::string& number) {
  Lines b = kHead;
  for (const std::string& l : {std::string(" |             SUBPLOTS              |"),
                               std::string(" |-----------------------------------|"),
                               std::string(" |max nb .......... 35"),
                               " |last used ....... " + last,
                               std::string(" |-----------------------------------|"),
                               std::string(" |      SWITCHING TO SUBPLOT:         "),
                               std::string(" |-----------------------------------|"),
                               " |number .......... " + number,
                               " |name ............ " + std::string(20, ' '), kTail})
    b.push_back(l);
  return b;
}

class Subplots : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    plt1blk.isub = 3;
  }
};

TEST_F(Subplots, QuietSelection) {
  Console con;
  int k = 7;
  ssubplot(k, 1);
  EXPECT_EQ(plt1blk.isub, 7);
  EXPECT_EQ(k, 7);
  k = 12;
  ssubplot(k, 3);  // hands back the current one
  EXPECT_EQ(k, 7);
  EXPECT_EQ(plt1blk.isub, 7);
  EXPECT_EQ(con.text(), "");
}

TEST_F(Subplots, BoxInTheEvenModes) {
  {
    Console con;
    int k = 35;
    ssubplot(k, 0);
    EXPECT_EQ(split_lines(con.text()), box(" 3", "35"));
    EXPECT_EQ(plt1blk.isub, 35);
  }
  {
    Console con;
    int k = 0;
    ssubplot(k, 2);  // the same number as last used and as new
    EXPECT_EQ(split_lines(con.text()), box("35", "35"));
    EXPECT_EQ(k, 35);
  }
}

TEST_F(Subplots, InitialisingModes) {
  {
    Console con;
    int k = 9;
    ssubplot(k, 5);
    Lines want = kHead;
    want.push_back(" INITIALISING SUBPLOT =  1");
    EXPECT_EQ(split_lines(con.text()), want);
    EXPECT_EQ(k, 1);
    EXPECT_EQ(plt1blk.isub, 1);
  }
  {
    plt1blk.isub = 4;
    Console con;
    int k = 9;
    ssubplot(k, 6);
    Lines want = kHead;
    want.push_back(" INITIALISING SUBPLOT =  1");
    for (const auto& l : box(" 4", " 1")) want.push_back(l);
    EXPECT_EQ(split_lines(con.text()), want);
    EXPECT_EQ(plt1blk.isub, 1);
  }
}

TEST_F(Subplots, NumberOutsideTheRangeFallsBackToSubplotOne) {
  Console con("n\n\n");  // do not stop; the pause
  int k = 36;
  ssubplot(k, 1);
  EXPECT_EQ(k, 1);
  EXPECT_EQ(plt1blk.isub, 1);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" subplot nb =           36"}), 0) << con.text();
  EXPECT_GE(find_sequence(out, {" subroutine: ssubplot"}), 0);
  Lines tail = kHead;
  tail.push_back(" INITIALISING SUBPLOT =  1");
  for (const auto& l : box(" 3", " 1")) tail.push_back(l);
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(Lines(out.end() - static_cast<long>(tail.size()), out.end()), tail) << con.text();
}

// ---- Captions ----

class Captions : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    colour_table();
    plt2blk.textcolor = 1;
    plt2blk.textalign = 1;
    plt2blk.textangle = 0;
    plt2blk.textheight = 0.4f;
    open_log_window({0, 0, 1052, 744});
    windevsize.isetup = 3;
    scm2de();
    frame::iocom.plot_open = true;
    frame::iocom.pause = false;
    log_->clear();
  }

  struct Shown {
    double x, y, size;
    std::string text;
  };

  std::vector<Shown> texts() const {
    std::vector<Shown> out;
    for (const auto& l : log_lines()) {
      double x = 0, y = 0, a = 0, s = 0;
      if (std::sscanf(l.c_str(), "text %lf %lf a=%lf s=%lf", &x, &y, &a, &s) == 4) {
        const auto q = l.find('"');
        out.push_back({x, y, s, l.substr(q + 1, l.size() - q - 2)});
      }
    }
    return out;
  }
};

constexpr double kScale = 35.43307;

TEST_F(Captions, PageTextInCentimetres) {
  plt1blk.isub = 5;  // no subplot is involved
  cmtext2(2.0f, 28.0f, "N = 12");
  const auto t = texts();
  ASSERT_EQ(t.size(), 1u);
  EXPECT_NEAR(t[0].x, 2 * kScale, 1e-3);
  EXPECT_NEAR(t[0].y, 28 * kScale, 1e-3);
  EXPECT_EQ(t[0].text, "N = 12");
}

TEST_F(Captions, CaptionLinesAtHalfSizeGoingDown) {
  Console con;
  cmplotcharinfo0("page 1", 1, 2.0f, 28.0f, 0);
  cmplotcharinfo0("events 1 to 50", 3, 2.0f, 28.0f, 0);
  const auto t = texts();
  ASSERT_EQ(t.size(), 2u);
  EXPECT_NEAR(t[0].y, 28 * kScale, 1e-3);
  EXPECT_NEAR(t[1].x, 2 * kScale, 1e-3);
  EXPECT_NEAR(t[1].y, 27.4 * kScale, 1e-3);  // 1.5 x 0.2 cm x 2 lines below
  EXPECT_NEAR(t[1].size, 0.2 * 28.346457, 1e-3);
  EXPECT_EQ(t[1].text, "events 1 to 50");
  EXPECT_FLOAT_EQ(plt2blk.textheight, 0.4f);
  EXPECT_NEAR(log_->font_size(), 0.4 * 28.346457, 1e-3);
  EXPECT_EQ(con.text(), "");
}

TEST_F(Captions, RunInformationLines) {
  auto& r = frame::runinfocom;
  r.mainname = "korbast";
  r.mainversion = " 8.0";
  r.maindate = "06-05-2010";
  r.subname = "mapseis";
  r.subversion = " 6.1";
  r.subdate = "14-05-2010";
  r.system = "Linux61-x86_64-3GHz";
  r.rundate = "06-05-2010";
  r.runtime = "12:34:57";
  Console con;
  cmplotruninfo0(10.5f, 28.0f, 0);
  const auto t = texts();
  ASSERT_EQ(t.size(), 3u);
  auto pad = [](std::string s) {
    s.resize(60, ' ');
    return s;
  };
  EXPECT_EQ(t[0].text, pad("Main program korbast v 8.0 on 06-05-2010"));
  EXPECT_EQ(t[1].text, pad("Subroutine mapseis v 6.1 on 14-05-2010"));
  EXPECT_EQ(t[2].text, pad("Run on Linux61-x86_64-3GHz       on 06-05-2010 at 12:34:57"));
  for (const auto& s : t) EXPECT_NEAR(s.x, 10.5 * kScale, 1e-3);
  EXPECT_NEAR(t[0].y, 28.0 * kScale, 1e-3);
  EXPECT_NEAR(t[1].y, 27.7 * kScale, 1e-3);
  EXPECT_NEAR(t[2].y, 27.4 * kScale, 1e-3);
  EXPECT_NEAR(t[0].size, 0.2 * 28.346457, 1e-3);
  EXPECT_FLOAT_EQ(plt2blk.textheight, 0.4f);
  EXPECT_EQ(con.text(), "");

  // A trimming alignment draws the lines without their trailing blanks.
  plt2blk.textalign = -1;
  log_->clear();
  cmplotruninfo0(10.5f, 28.0f, 0);
  EXPECT_EQ(texts()[0].text, "Main program korbast v 8.0 on 06-05-2010");
}

TEST_F(Captions, RunInformationBeforeAnyPlottingRoutineAndFullFields) {
  auto& r = frame::runinfocom;
  r = frame::RunInfo{};
  r.mainname = "k";
  r.mainversion = " 8.0";
  r.maindate = "06-05-2010";
  r.system = "Linux61-x86_64-3GHz";
  r.rundate = "06-05-2010";
  r.runtime = "12:34:57";
  cmplotruninfo0(10.5f, 28.0f, 0);
  auto t = texts();
  ASSERT_EQ(t.size(), 3u);
  auto pad = [](std::string s) {
    s.resize(60, ' ');
    return s;
  };
  EXPECT_EQ(t[0].text, pad("Main program k v 8.0 on 06-05-2010"));
  EXPECT_EQ(t[1].text, pad("Subroutine  v on "));

  // Fields filled to their width: the system description is not trimmed.
  r.system = "Linuxxxxx-xxxxxxxx-xxxxxx";
  r.mainname = "abcdefghijk";
  log_->clear();
  cmplotruninfo0(10.5f, 28.0f, 0);
  t = texts();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].text, pad("Main program abcdefghijk v 8.0 on 06-05-2010"));
  EXPECT_EQ(t[2].text, pad("Run on Linuxxxxx-xxxxxxxx-xxxxxx on 06-05-2010 at 12:34:57"));
}

}  // namespace
}  // namespace korbast::plot::test
