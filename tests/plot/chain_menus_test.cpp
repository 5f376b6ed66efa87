// The two dialogs of the user-to-cm settings, with the console bound to strings: the picture
// and values at output level 2, only the question without it, the answers taken in order, and
// the dialogs reached through the settings in their even modes.
#include "plot/chain_menus.hpp"

#include "plot/chain.hpp"
#include "plot_fixture.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;
using Lines = std::vector<std::string>;

const std::string kEq = " ==========================================";
const std::string kHy = " ------------------------------------------";

Lines head(const std::string& name) {
  return {" @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@",
          " @ subroutine " + name + std::string(11 - name.size(), ' '),
          " @==========================================",
          };
}

Lines concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class ChainMenus : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    frame::iocom.pause = false;
    plt1blk.isub = 1;
  }
  static void level2(bool on) { frame::iocom.lwito(2) = on; }
};

const Lines kPicture1 = {
    kEq,
    "           CONVERSION SET UP               ",
    kEq,
    " |  cm  |                   |user units|",
    " |  on  | <---------------- |   used   |",
    " | plot |                   | in calls |",
    " ",
    "  |xcm|                         |xu|",
    "  |   | <---------------------- |  |",
    "  |ycm|                         |yu|",
    " ",
    "  |xcm|     |xx   xy|   |xu|   |xcm0|",
    "  |   |  =  |       | * |  | + |    |",
    "  |ycm|     |yx   yy|   |yu|   |ycm0|",
    kEq,
    "             Current set up:",
    kEq,
};

TEST_F(ChainMenus, MatrixFormShowsThePictureAndValuesAtLevelTwo) {
  level2(true);
  Console con("\n");
  float v[6] = {10, 10, 1, 0, 0, 1};
  mus2cm1(v[0], v[1], v[2], v[3], v[4], v[5]);
  const auto out = split_lines(con.text());
  const Lines expected = concat(concat(head("mus2cm1"), kPicture1),
                                {" |xcm|   |  1.000   0.000|   |xu|   | 10.000|",
                                 " |   | = |               | * |  | + |       |",
                                 " |ycm|   |  0.000   1.000|   |yu|   | 10.000|",
                                 kEq,
                                 " ..........................................",
                                 " Do you want to alter this ?"});
  ASSERT_GE(out.size(), expected.size()) << con.text();
  EXPECT_EQ(Lines(out.begin(), out.begin() + static_cast<long>(expected.size())), expected)
      << con.text();
  EXPECT_EQ(std::vector<float>(v, v + 6), (std::vector<float>{10, 10, 1, 0, 0, 1}));
}

TEST_F(ChainMenus, MatrixValuesInTheirColumns) {
  level2(true);
  Console con("n\n");
  float v[6] = {-3.25f, 123.5f, -0.0004f, 12.3456f, -99.999f, 1000};
  mus2cm1(v[0], v[1], v[2], v[3], v[4], v[5]);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" |xcm|   | -0.000  12.346|   |xu|   | -3.250|",
                                " |   | = |               | * |  | + |       |",
                                " |ycm|   |-99.999 *******|   |yu|   |123.500|"}),
            0)
      << con.text();
}

TEST_F(ChainMenus, WithoutLevelTwoOnlyTheQuestion) {
  level2(false);
  Console con("\n");
  float v[6] = {10, 10, 1, 0, 0, 1};
  mus2cm1(v[0], v[1], v[2], v[3], v[4], v[5]);
  const auto out = split_lines(con.text());
  ASSERT_GE(out.size(), 4u) << con.text();
  EXPECT_EQ(Lines(out.begin(), out.begin() + 4),
            concat(head("mus2cm1"), {" Do you want to alter this ?"}));
  EXPECT_EQ(con.text().find("CONVERSION"), std::string::npos);
  EXPECT_EQ(con.text().find("Enter"), std::string::npos);

  Console con3("\n");
  float w[8] = {2, 2, 15, 15, -10, 10, -10, 10};
  int ixy = 1;
  mus2cm3(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], ixy);
  const auto out3 = split_lines(con3.text());
  ASSERT_GE(out3.size(), 4u);
  EXPECT_EQ(Lines(out3.begin(), out3.begin() + 4),
            concat(head("mus2cm3"), {" Do you want to alter this ?"}));
  EXPECT_EQ(con3.text().find("USER UNITS"), std::string::npos);
}

TEST_F(ChainMenus, MatrixAnswersInOrder) {
  level2(false);
  Console con("y\n1.5\n2.5\n\n-1\n0.5\n3\n");
  float v[6] = {10, 10, 1, 0, 0, 1};
  mus2cm1(v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_EQ(std::vector<float>(v, v + 6), (std::vector<float>{1.5f, 2.5f, 1, -1, 0.5f, 3}));
  const auto out = split_lines(con.text());
  int at = 0;
  for (const char* p : {"xcm0", "ycm0", "xx", "xy", "yx", "yy"}) {
    at = find_sequence(out, {std::string(" Enter ") + p}, static_cast<std::size_t>(at));
    ASSERT_GE(at, 0) << p << "\n" << con.text();
  }
}

TEST_F(ChainMenus, BoxFormPictureWithTheDefaults) {
  level2(true);
  Console con("\n");
  float w[8] = {2, 2, 15, 15, -10, 10, -10, 10};
  int ixy = 1;
  mus2cm3(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], ixy);
  const auto out = split_lines(con.text());
  const Lines expected = concat(head("mus2cm3"), {
      kEq,
      "           CONVERSION SET UP               ",
      kEq,
      " |  cm  |                     |user units|",
      " |  on  | <------------------ |   used   |",
      " | plot |                     | in calls |",
      " ",
      "  |xcm|                           |xu|",
      "  |   | <------------------------ |  |",
      "  |ycm|                           |yu|",
      kEq,
      "             Current set up:",
      kEq,
      kHy,
      "      1 - USER UNITS IN USER SPACE         ",
      kHy,
      "    _|_________________|_  yumax =    10.000",
      "     |                 |",
      "     |                 |",
      "    _|_________________|_  yumin =   -10.000",
      "     |                 |",
      "   xumin             xumax",
      "     -10.000            10.000",
      " ",
      "  user limits:          xu,yu in user units",
      "  xumin =   -10.000 yumin =   -10.000",
      "  xumax =    10.000 yumax =    10.000",
      kHy,
      "      2 - CM UNITS ON PLOT                 ",
      kHy,
      "    _|_________________|_  ",
      "     |                 |  |",
      "     |                 |  | ylcm =    15.000",
      "    _|_________________|_ | _ ycm0 =     2.000",
      "     |                 |",
      "     <---- xlcm -------> ",
      "     |      15.000",
      "   xcm0 =     2.000",
      " ",
      "  paper limits:               xcm,ycm in cm",
      "  xlcm  =    15.000 ylcm  =    15.000",
      "  xcm0  =     2.000 ycm0  =     2.000",
      kHy,
      " X & Y scale imposed equal",
      kHy,
      " ..........................................",
      " Do you want to alter this ?",
  });
  ASSERT_GE(out.size(), expected.size()) << con.text();
  EXPECT_EQ(Lines(out.begin(), out.begin() + static_cast<long>(expected.size())), expected)
      << con.text();
  EXPECT_EQ(ixy, 1);
  EXPECT_EQ(w[4], -10.0f);
}

TEST_F(ChainMenus, EqualScaleLineForEachFlag) {
  level2(true);
  float w[8] = {2, 2, 15, 15, -10, 10, -10, 10};
  {
    Console con("\n");
    int ixy = 0;
    mus2cm3(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], ixy);
    EXPECT_GE(find_sequence(split_lines(con.text()),
                            {kHy, " X & Y scale will adjust xlcm & ylcm", kHy}),
              0);
  }
  {
    Console con("\n");
    int ixy = 2;
    mus2cm3(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], ixy);
    EXPECT_GE(find_sequence(split_lines(con.text()),
                            {kHy, " WARNING: ixy =         2  neither 0 nor 1",
                             "       will have same effect as ixy = 0", kHy}),
              0)
        << con.text();
    EXPECT_EQ(ixy, 2);  // "no" keeps it
  }
}

TEST_F(ChainMenus, BoxAnswersInOrderAndTheFlagOnlyZeroOrOne) {
  level2(false);
  // Eight reals, then the flag: the default 2 and the answer 3 are refused, 0 is taken.
  Console con("y\n-1\n1\n-2\n2\n3\n4\n5\n6\n\n3\n0\n");
  float w[8] = {2, 2, 15, 15, -10, 10, -10, 10};
  int ixy = 2;
  mus2cm3(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], ixy);
  // xcm0, ycm0, xlcm, ylcm, xumin, xumax, yumin, yumax
  EXPECT_EQ(std::vector<float>(w, w + 8), (std::vector<float>{3, 4, 5, 6, -1, 1, -2, 2}));
  EXPECT_EQ(ixy, 0);
  const auto out = split_lines(con.text());
  int at = 0;
  for (const char* p : {"xumin", "xumax", "yumin", "yumax", "xcm0", "ycm0", "xlcm", "ylcm",
                        "Whether X scale = Y scale (0/1) ?"}) {
    at = find_sequence(out, {std::string(" Enter ") + p}, static_cast<std::size_t>(at));
    ASSERT_GE(at, 0) << p << "\n" << con.text();
  }
}

// ---- Reached through the settings ----

TEST_F(ChainMenus, EvenModesShowTheDialogOnTheStartingValues) {
  level2(false);
  // Mode 4: the defaults are offered and the answers stored.
  Console con("y\n\n\n2\n\n\n3\n");
  float v[6] = {0, 0, 0, 0, 0, 0};
  sus2cm1(v[0], v[1], v[2], v[3], v[4], v[5], 4);
  EXPECT_EQ(std::vector<float>(v, v + 6), (std::vector<float>{10, 10, 2, 0, 0, 3}));
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][0][0], 2.0f);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][1][1], 3.0f);

  // Mode 2: the stored values are offered; "no" stores them again unchanged.
  Console con2("\n");
  float u[6] = {9, 9, 9, 9, 9, 9};
  sus2cm1(u[0], u[1], u[2], u[3], u[4], u[5], 2);
  EXPECT_EQ(std::vector<float>(u, u + 6), (std::vector<float>{10, 10, 2, 0, 0, 3}));

  // Mode 1 and 3 ask nothing; mode 0 offers the caller's values.
  Console con3("y\n1\n\n\n\n\n\n");
  float t[6] = {5, 6, 1, 0, 0, 1};
  sus2cm1(t[0], t[1], t[2], t[3], t[4], t[5], 0);
  EXPECT_FLOAT_EQ(plt1blk.us0tocm[0][0], 1.0f);
  EXPECT_FLOAT_EQ(plt1blk.us0tocm[0][1], 6.0f);

  Console con4("\n");
  float w[8] = {};
  int ixy = 0;
  sus2cm3(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], ixy, 4);
  EXPECT_NE(con4.text().find("subroutine mus2cm3"), std::string::npos);
  EXPECT_FLOAT_EQ(plt1blk.ustocm[0][0][0], 0.75f);
}

TEST_F(ChainMenus, ModeSixAsksOncePerSubplot) {
  level2(false);
  std::string answers;
  for (int k = 0; k < kSubplots; ++k) answers += "\n";
  Console con(answers);
  float v[6] = {};
  sus2cm1(v[0], v[1], v[2], v[3], v[4], v[5], 6);
  int heads = 0;
  for (const auto& l : split_lines(con.text())) heads += l == " @ subroutine mus2cm1    ";
  EXPECT_EQ(heads, kSubplots);
  EXPECT_FLOAT_EQ(plt1blk.us0tocm[34][0], 10.0f);
}

}  // namespace
}  // namespace korbast::plot::test
