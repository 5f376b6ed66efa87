// The projection table: each line is the one of its code, and its flags agree with its steps.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "projection/table.hpp"

namespace korbast::projection {
namespace {

TEST(ProjectionTable, EveryCodeHasItsLine) {
  for (int code = 1; code <= kProjections; ++code) {
    const ProjectionEntry* p = find_projection(code);
    ASSERT_NE(p, nullptr) << code;
    EXPECT_EQ(p->code, code);
    EXPECT_NE(p->forward, nullptr) << code;
    EXPECT_FALSE(p->information[0].empty()) << code;
    // The menu line is 41 characters wide and ends with the code.
    const std::string number = std::to_string(code);
    EXPECT_EQ(p->menu.size(), 41u) << code;
    EXPECT_TRUE(p->menu.ends_with(number)) << code;
    EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(p->menu[40 - number.size()]))) << code;
  }
  EXPECT_EQ(find_projection(0), nullptr);
  EXPECT_EQ(find_projection(kProjections + 1), nullptr);
  EXPECT_EQ(find_projection(-3), nullptr);
}

TEST(ProjectionTable, ObliqueFormsAskForTheirCentre) {
  // A projection in the oblique frame needs the frame's centre among its set-ups.
  for (const ProjectionEntry& p : projection_table()) {
    if (!p.oblique) continue;
    bool asks = false;
    for (Step s : p.steps) asks = asks || s == Step::oblique;
    EXPECT_TRUE(asks) << p.code;
  }
}

}  // namespace
}  // namespace korbast::projection
