// The console listing of the stored events (command 1100 of the main menu and the writer).
#include <gtest/gtest.h>

#include <string>

#include "catalogue/gcmtblk.hpp"
#include "catalogue/listing.hpp"
#include "catalogue_support.hpp"
#include "frame/dialog.hpp"
#include "support/expected_lines.hpp"

namespace {

using namespace korbast::catalogue;
using cattest::CatalogueTest;

Gcmtblk& g = gcmtblk;

const std::string rule = " |" + std::string(43, '-') + "|\n";
const std::string box_head = rule + " |               EXTRACTED DATA              |\n" + rule;
const std::string columns = " |   date   |  lat |  long |     region      |\n";

std::string list(bool main_menu) {
  korbast::testing::Console console("\n");
  if (main_menu) {
    list_events(korbast::frame::mainmenuhead, {"korbast", " 8.0", "06-05-2010"}, 1100);
  } else {
    list_events(korbast::frame::submenuhead, {"gcmtwrite  ", " 2.2", "22-09-2009"}, 1100);
  }
  return console.text();
}

class Listing : public CatalogueTest {};

TEST_F(Listing, RefusesWithoutData) {
  const std::string out = list(true);
  const std::string expected =
      ex::text(ex::main_head("korbast")) + box_head + ex::text(ex::warning_head("korbast")) +
      " DATA TYPE ID =      0\n COMMAND      =   1100\n NO LISTING PROCEDURE FOR THIS\n" +
      " ==> NO ACTION\n ===> HIT RETURN TO CONTINUE\n" + ex::rule('/') + "\n" + rule;
  EXPECT_EQ(out, expected);
}

TEST_F(Listing, RowsOfTheStoredEvents) {
  g.idatatype = 2;
  g.nstored = 3;
  g.date1[0] = "2005/01/01";
  g.rlat[0] = 35.7f;
  g.rlong[0] = -120.2f;
  g.region[0] = "CENTRAL CALIFORNIA";
  g.date1[1] = " 1/ 1/77";
  g.rlat[1] = -0.4f;     // rounds to a negative zero, which keeps its sign
  g.rlong[1] = 179.5f;   // a tie: to even
  g.region[1] = "FIJI";
  g.date1[2] = "2006/04/09";
  g.rlat[2] = 36.5f;
  g.rlong[2] = 10000.0f;  // does not fit five columns
  g.region[2] = "NEAR COAST OF NORTHERN C";
  g.date1[3] = "not shown";
  const std::string out = list(false);
  const std::string expected = ex::text(ex::head("gcmtwrite")) + box_head + columns + rule +
                               " | 2005/01/ |  36. | -120. | CENTRAL CALIFOR |\n" +
                               " |  1/ 1/77 |  -0. |  180. | FIJI            |\n" +
                               " | 2006/04/ |  36. | ***** | NEAR COAST OF N |\n" + rule;
  EXPECT_EQ(out, expected);
}

TEST_F(Listing, EmptyStoreOfAKnownType) {
  g.idatatype = 1;
  g.nstored = 0;
  const std::string out = list(true);
  EXPECT_EQ(out.substr(out.find(box_head)), box_head + columns + rule + rule);
}

}  // namespace
