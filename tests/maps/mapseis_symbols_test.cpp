// The plot window steps of the map driver and the symbol size and type it gives back: saved
// on entry with the window open, saved again when it opens the window, changed by a run,
// given back on leaving only while the window is open.
#include <gtest/gtest.h>

#include <string>

#include "mapseis_fixture.hpp"
#include "plot/attributes.hpp"
#include "plot/symboltype.hpp"

namespace korbast::maps::mapseis_test {
namespace {

using MapWindow = MapDriver;

void set_symbol(float size, int type) {
  plot::ssymbolsize(size, 1);
  plot::ssymboltype(type, 1);
}
float symbol_size() {
  float v = 0;
  plot::ssymbolsize(v, 3);
  return v;
}
int symbol_type() {
  int v = 0;
  plot::ssymboltype(v, 3);
  return v;
}

TEST_F(MapWindow, SymbolOfTheEntryComesBackAfterARun) {
  open_window();
  set_symbol(0.7f, 3);
  drive(run_open() + "99\n");
  EXPECT_FLOAT_EQ(symbol_size(), 0.7f);
  EXPECT_EQ(symbol_type(), 3);
}

// The run sets the major size and the epicentre type; closing the window (20) gives back
// nothing, and neither does leaving with the window closed.
TEST_F(MapWindow, ClosingTheWindowKeepsTheRunsSymbol) {
  open_window();
  set_symbol(0.7f, 3);
  const std::string out = drive(run_open() + "20\n\n99\n");
  EXPECT_NE(out.find(" Ready to close the Quartz plot window\n"), std::string::npos);
  EXPECT_FALSE(frame::iocom.plot_open);
  EXPECT_FLOAT_EQ(symbol_size(), 0.4f);
  EXPECT_EQ(symbol_type(), -4);
}

// Opened by the driver: what the opening left (the defaults) is given back, not what was
// current before.
TEST_F(MapWindow, RunWithTheWindowClosedOpensItAndSavesAfresh) {
  set_symbol(0.9f, 7);
  const std::string out = drive("1000\n\n\n99\n99\n99\n");
  EXPECT_TRUE(frame::iocom.plot_open);
  EXPECT_NE(out.find(" Enter plot window name\n"), std::string::npos);
  // The opening resets the fill style, then the driver sets it to filled again.
  EXPECT_EQ(count(out, " INITIALISING FILL STYLE TO: filled\n"), 2);
  EXPECT_EQ(count(out, "IT IS SUGGESTED TO CLEAR THE PLOT"), 0);
  EXPECT_FLOAT_EQ(symbol_size(), 0.4f);
  EXPECT_EQ(symbol_type(), 1);
}

TEST_F(MapWindow, RunWithTheWindowOpenOffersTheNextPageMenu) {
  open_window();
  const std::string out = drive(run_open() + "99\n");
  const std::size_t menu = out.find(" IT IS SUGGESTED TO CLEAR THE PLOT\n");
  ASSERT_NE(menu, std::string::npos);
  EXPECT_LT(menu, out.find(" PLOTTING INFORMATION\n"));
}

TEST_F(MapWindow, LeavingAtOnceWithTheWindowClosedChangesNothing) {
  set_symbol(0.9f, 7);
  drive("99\n");
  EXPECT_FLOAT_EQ(symbol_size(), 0.9f);
  EXPECT_EQ(symbol_type(), 7);
  EXPECT_FALSE(frame::iocom.plot_open);
}

// 10 with the window open only warns and appends: nothing is saved again.
TEST_F(MapWindow, OpeningAnOpenWindowOnlyWarns) {
  open_window();
  set_symbol(0.7f, 3);
  const std::string out = drive("10\n" + run_open() + "99\n");
  EXPECT_NE(out.find(" Plot file or window is already opened\n"), std::string::npos);
  EXPECT_FLOAT_EQ(symbol_size(), 0.7f);
  EXPECT_EQ(symbol_type(), 3);
}

// 10 with the window closed opens it; the symbol then current is what 99 gives back.
TEST_F(MapWindow, OpeningCommandSavesTheSymbolOfTheNewWindow) {
  const std::string out = drive("10\n\n\n99\n");
  EXPECT_TRUE(frame::iocom.plot_open);
  EXPECT_FLOAT_EQ(symbol_size(), 0.4f);
  EXPECT_EQ(symbol_type(), 1);
}

// Closed and reopened within one call: the reopening saves again.
TEST_F(MapWindow, ReopenedWindowGivesBackItsOwnSymbol) {
  open_window();
  set_symbol(0.7f, 3);
  drive("20\n\n10\n\n\n" + run_open() + "99\n");
  EXPECT_TRUE(frame::iocom.plot_open);
  EXPECT_FLOAT_EQ(symbol_size(), 0.4f);
  EXPECT_EQ(symbol_type(), 1);
}

// The epicentre type chosen in the menu is what the run draws with.
TEST_F(MapWindow, RunDrawsWithTheChosenEpicentreType) {
  open_window();
  drive("310\n-7\n" + run_open() + "20\n\n99\n");
  EXPECT_EQ(symbol_type(), -7);
}

}  // namespace
}  // namespace korbast::maps::mapseis_test
