// The settings mode: what each number means to the routines that decode it.
#include "frame/mode.hpp"

#include <gtest/gtest.h>

namespace korbast::frame {
namespace {

TEST(Mode, StartingPointMenuAndStoringOfEachNumber) {
  struct Row {
    int code;
    bool caller, stored, def, menu, stores, initialising, all, attributes_kept, from_value;
  };
  const Row rows[] = {
      {0, true, false, false, true, true, false, false, false, true},
      {1, true, false, false, false, true, false, false, false, true},
      {2, false, true, false, true, true, false, false, false, true},
      {3, false, true, false, false, true, false, false, false, true},
      {4, false, false, true, true, true, true, false, false, false},
      {5, false, false, true, false, true, true, false, false, false},
      {6, false, false, false, true, false, true, true, false, false},
      {7, false, false, false, false, false, true, true, false, false},
      {8, false, false, false, true, false, false, false, true, false},  // all but the attributes
      {9, false, false, false, false, false, false, false, true, false},
      {-2, false, false, false, true, false, false, false, false, true},  // even below 0: a menu, no store
      {-1, false, false, false, false, false, false, false, false, true},
      {102, false, false, false, true, false, false, false, false, false},
  };
  for (const Row& r : rows) {
    const Mode m = r.code;
    EXPECT_EQ(m.code(), r.code);
    EXPECT_EQ(m.from_caller(), r.caller) << r.code;
    EXPECT_EQ(m.from_stored(), r.stored) << r.code;
    EXPECT_EQ(m.from_default(), r.def) << r.code;
    EXPECT_EQ(m.stored_or_default(), r.stored || r.def) << r.code;
    EXPECT_EQ(m.menu(), r.menu) << r.code;
    EXPECT_EQ(m.silent(), !r.menu) << r.code;
    EXPECT_EQ(m.stores(), r.stores) << r.code;
    EXPECT_EQ(m.stores_with_menu(), r.stores && r.menu) << r.code;
    EXPECT_EQ(m.initialising(), r.initialising) << r.code;
    EXPECT_EQ(m.all_subplots(), r.all) << r.code;
    EXPECT_EQ(m.announces(), r.code == 5) << r.code;
    EXPECT_EQ(m.all_but_attributes(), r.attributes_kept) << r.code;
    EXPECT_EQ(m.from_value(), r.from_value) << r.code;
  }
  EXPECT_EQ(Mode::kCallerMenu, 0);
  EXPECT_EQ(Mode::kAll, 7);
  EXPECT_EQ(Mode::kTableOnly.code(), 102);
  EXPECT_EQ(Mode::kAskOnly.code(), 200);
}

}  // namespace
}  // namespace korbast::frame
