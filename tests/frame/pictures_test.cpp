// The end-of-run pictures: line counts, widths in characters (the section sign is one
// character, two bytes in UTF-8), the framing lines, and a few pictures in full.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frame/iocom.hpp"
#include "frame/pictures.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"

namespace korbast::frame {
namespace {

using testing::Console;
using testing::lines;

std::vector<std::string> split(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

// Characters of a UTF-8 text (continuation bytes not counted).
int chars(const std::string& s) {
  int n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override { testing::reset_iocom(); }
};

TEST_F(Pictures, LineCountsAndWidths) {
  struct Case {
    const char* name;
    void (*draw)();
    int lines, width, indent;
  } cases[] = {
      {"happyface", happyface, 18, 40, 4},       {"sator", sator, 5, 30, 1},
      {"carmag33", carmag33, 7, 30, 1},          {"endfun1", endfun1, 8, 44, 1},
      {"tetrakis", tetrakis, 6, 30, 1},          {"tetratemple1", tetratemple1, 14, 35, 1},
      {"tetratemple2", tetratemple2, 18, 36, 1}, {"offsetnf", offsetnf, 10, 43, 1},
      {"offsetrf", offsetrf, 10, 43, 1},         {"sorryface", sorryface, 18, 40, 4},
  };
  for (const auto& k : cases) {
    Console c;
    k.draw();
    auto ls = split(c.text());
    ASSERT_EQ(static_cast<int>(ls.size()), k.lines + 2) << k.name;
    const std::string frame_line(static_cast<std::size_t>(k.indent + 2), ' ');
    EXPECT_EQ(ls.front(), frame_line) << k.name;
    EXPECT_EQ(ls.back(), frame_line) << k.name;
    for (int i = 1; i <= k.lines; ++i) {
      EXPECT_EQ(chars(ls[i]), k.indent + k.width) << k.name << " line " << i;
      EXPECT_EQ(ls[i].substr(0, static_cast<std::size_t>(k.indent)),
                std::string(static_cast<std::size_t>(k.indent), ' '))
          << k.name << " line " << i;
    }
  }
}

TEST_F(Pictures, SatorAndMagicSquare) {
  Console c;
  sator();
  carmag33();
  EXPECT_EQ(c.text(), lines({"   ",
                             "                  S A T O R    ",
                             "                  A R E P O    ",
                             "                  T E N E T    ",
                             "                  O P E R A    ",
                             "                  R O T A S    ",
                             "   ",
                             "   ",
                             "               -------------   ",
                             "               | 8 | 1 | 6 |   ",
                             "               |---|---|---|   ",
                             "               | 3 | 5 | 7 |   ",
                             "               |---|---|---|   ",
                             "               | 4 | 9 | 2 |   ",
                             "               -------------   ",
                             "   "}));
}

TEST_F(Pictures, EndFunHasItsBoxAndFaces) {
  Console c;
  endfun1();
  auto ls = split(c.text());
  ASSERT_EQ(ls.size(), 10u);
  EXPECT_EQ(ls[1], "                 \\|/ ____ \\|/    -     -     ");
  EXPECT_EQ(ls[6], " |            THAT'S ALL FOLKS !            |");
  EXPECT_EQ(ls[5], ls[7]);
  EXPECT_EQ(ls[8], " |------------------------------------------|");
}

TEST_F(Pictures, FaultPicturesWriteTheSectionSignInUtf8) {
  Console c;
  offsetnf();
  offsetrf();
  auto ls = split(c.text());
  ASSERT_EQ(ls.size(), 24u);
  EXPECT_EQ(ls[1], " -+                                         ");
  EXPECT_EQ(ls[7], " \u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\\#############\\=============\\0000000");
  EXPECT_EQ(ls[19], " \u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7/#############/=============/0000000");
  EXPECT_EQ(ls[10],
            " \u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\\"
            "\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\\"
            "\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\u00a7\\"
            "\u00a7\u00a7\u00a7\u00a7");
  EXPECT_NE(ls[7].find("\xC2\xA7"), std::string::npos);
  EXPECT_EQ(ls[7].find('\xA4'), std::string::npos);
}

TEST_F(Pictures, SadFaceDiffersFromTheHappyOneOnlyInTheMouth) {
  Console happy;
  happyface();
  auto h = split(happy.text());
  happy.clear();
  sorryface();
  auto s = split(happy.text());
  EXPECT_EQ(happy.text(), testing::sorry_text());
  ASSERT_EQ(h.size(), s.size());
  for (std::size_t i = 0; i < h.size(); ++i) {
    if (i == 12 || i == 14) {
      EXPECT_NE(h[i], s[i]) << i;
    } else {
      EXPECT_EQ(h[i], s[i]) << i;
    }
  }
}

TEST_F(Pictures, TetrakisFramedByBlankLines) {
  Console c;
  tetrakis();
  auto ls = split(c.text());
  ASSERT_EQ(ls.size(), 8u);
  EXPECT_EQ(ls[1], std::string(31, ' '));
  EXPECT_EQ(ls[2], "                      O        ");
  EXPECT_EQ(ls[5], "                O   O   O   O  ");
  EXPECT_EQ(ls[6], std::string(31, ' '));
}

}  // namespace
}  // namespace korbast::frame
