// The colour table: the default table, the number of colours with its reduction check and its
// cancel, single entries with their index and component checks, the table's menu, and the
// colour-table files (read free-format; the files and what gfortran reads from them are in
// tests/data/plot/; oracle tests/tools/colortable_oracle.f90).
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "plot/attributes.hpp"
#include "plot/colortable.hpp"
#include "plot_fixture.hpp"
#include "support/expected_lines.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;
using namespace korbast::testing::expected;

struct Entry {
  std::string name;
  float r, g, b;
};
Entry entry(int i) {
  return {pltcharblk.colornam[i].str(), plt2blk.red[i], plt2blk.green[i], plt2blk.blue[i]};
}
void expect_entry(int i, const std::string& name, float r, float g, float b) {
  const Entry e = entry(i);
  std::string padded = name;
  padded.resize(8, ' ');
  EXPECT_EQ(e.name, padded) << "entry " << i;
  EXPECT_FLOAT_EQ(e.r, r) << "entry " << i;
  EXPECT_FLOAT_EQ(e.g, g) << "entry " << i;
  EXPECT_FLOAT_EQ(e.b, b) << "entry " << i;
}

class ColourTable : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    dialog_without_pauses();
    plt2blk.linecolor = 1;
    plt2blk.fillcolor = 8;
    plt2blk.textcolor = 1;
  }
  // A colour-table file of the test data, copied into the working folder.
  static std::string fixture(const std::string& name) {
    fs::copy_file(fs::path(KORBAST_TEST_DATA) / "plot" / name, fs::current_path() / name,
                  fs::copy_options::overwrite_existing);
    return name;
  }
  // The colour-table menu: read the file, then leave.
  static std::string read_file(const std::string& name) {
    Console con("300\n" + name + "\n99\n");
    scolortable(2);
    return con.text();
  }
};

// ---- The default table ----

TEST_F(ColourTable, DefaultTableAtStartUp) {
  plt2blk = Plt2blk{};
  pltcharblk = Pltcharblk{};
  Console con;
  scolortable(5);
  EXPECT_EQ(split_lines(con.text()),
            join({head("scolortable"),
                  {" INITIALIZING COLOR TABLE:", " 0   -> BKG = WHITE", " 1   -> FRG = BLACK",
                   " 2-4 -> RGB COLORS", " 5-7 -> CMY COLORS", " 8   -> GREY 50%"}}));
  EXPECT_EQ(plt2blk.ncolors, 12);
  EXPECT_EQ(plt2blk.colormode, 1);
  const Entry want[13] = {{"White-bk", 100, 100, 100}, {"Black", 0, 0, 0},
                          {"Red", 50, 0, 0},           {"Green", 0, 50, 0},
                          {"Blue", 0, 0, 50},          {"Cyan", 0, 50, 50},
                          {"Magenta", 50, 0, 50},      {"Yellow", 50, 50, 0},
                          {"Grey20", 80, 80, 80},      {"Grey30", 70, 70, 70},
                          {"Grey40", 60, 60, 60},      {"Grey50", 50, 50, 50},
                          {"Grey70", 30, 30, 30}};
  for (int i = 0; i < 13; ++i) expect_entry(i, want[i].name, want[i].r, want[i].g, want[i].b);
}

TEST_F(ColourTable, MenuShowsTheColoursInForce) {
  Console con("100\n10\n3\n99\n99\n");
  scolortable(0);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, join({head("scolortable"),
                                     {" SETTING COLOR TABLE", rule('-'),
                                      " Current nb of colors:   12", rule('-'),
                                      " |index|      name|   red% | green% |  blue% |",
                                      " |   0 |  White-bk|  100.0 |  100.0 |  100.0 |",
                                      " |   1 |  Black   |    0.0 |    0.0 |    0.0 |",
                                      " |   2 |  Red     |   50.0 |    0.0 |    0.0 |"}})),
            0)
      << con.text();
  EXPECT_GE(find_sequence(out, {" |  12 |  Grey70  |   30.0 |   30.0 |   30.0 |", rule('-'),
                                " modify nb of colors ..........100",
                                " modify rgb color content .....200",
                                " read color table from file ...300", rule('-'),
                                " EXIT ..........................99", rule('@')}),
            0);
  // After choice 100 the table shows three colours.
  EXPECT_GE(find_sequence(out, {" Current nb of colors:    3", rule('-'),
                                " |index|      name|   red% | green% |  blue% |",
                                " |   0 |  White-bk|  100.0 |  100.0 |  100.0 |",
                                " |   1 |  Black   |    0.0 |    0.0 |    0.0 |",
                                " |   2 |  Red     |   50.0 |    0.0 |    0.0 |",
                                " |   3 |  Green   |    0.0 |   50.0 |    0.0 |", rule('-')}),
            0);
  EXPECT_EQ(plt2blk.ncolors, 3);
}

// ---- The number of colours ----

TEST_F(ColourTable, NumberOfColoursIsKeptInOneToTwelve) {
  Console con;
  int n = 20;
  scolornb(n, 1);
  EXPECT_EQ(n, 12);
  EXPECT_EQ(split_lines(con.text()),
            join({warning_head("scolornb"),
                  {" trying to set nb of color  =     20", " max nb of color  =     12",
                   " ===> RESET nb of color =     12", rule('/')}}));
  con.clear();
  n = 0;
  scolornb(n, 1);
  EXPECT_EQ(plt2blk.ncolors, 1);
  EXPECT_EQ(plt2blk.colormode, 0);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, join({warning_head("scolornb"),
                                     {" trying to set nb of color  =      0",
                                      " min nb of color  = 1", " ===> RESET nb of color =      1",
                                      rule('/')}})),
            0)
      << con.text();
}

TEST_F(ColourTable, ReducingToOneColourMakesABlackAndWhitePlot) {
  Console con("\n");
  int n = 1;
  scolornb(n, 0);
  EXPECT_EQ(plt2blk.ncolors, 1);
  EXPECT_EQ(plt2blk.colormode, 0);
  EXPECT_EQ(plt2blk.fillcolor, 1);  // 8 modulo 2 is 0, replaced by 1
  EXPECT_EQ(plt2blk.linecolor, 1);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, join({{" NB of colors =      1 ==> Black & White plot",
                                      " The nb of colors has been reduced",
                                      " ==> checking current set up versus new max"},
                                     warning_head("sfillcolor"),
                                     {" trying to set color nb =      8",
                                      " when max color nb      =      1",
                                      " ===> RESET color nb    =      1", rule('/'),
                                      " ==> checking done"}})),
            0)
      << con.text();
}

TEST_F(ColourTable, NumberMenuAppliesOnNinetyNine) {
  Console con("10\n6\n\n");
  int n = 0;
  scolornb(n, 2);
  EXPECT_EQ(n, 6);
  EXPECT_EQ(plt2blk.ncolors, 6);
  EXPECT_EQ(plt2blk.fillcolor, 1);  // 8 modulo 7
  const auto out = split_lines(con.text());
  const Lines menu12 = join({head("scolornb"),
                             {" SETTING THE NUMBER OF COLORS:", rule('-'),
                              " max nb of colors ................  12",
                              " current nb of colors ............  12",
                              " new nb of colors to apply .....10  12", rule('-'),
                              " CANCEL AND EXIT ...............98",
                              " UPDATE AND EXIT ...............99", rule('@')}});
  EXPECT_EQ(find_sequence(out, menu12), 0) << con.text();
  Lines menu6 = menu12;
  menu6[7] = " new nb of colors to apply .....10   6";
  EXPECT_GT(find_sequence(out, menu6), 0);
  EXPECT_GE(find_sequence(out, {" NB of colors =      6 ==> Color plot",
                                " The nb of colors has been reduced"}),
            0);
}

TEST_F(ColourTable, CancelRestoresWhatWasInForce) {
  // Mode 4 starts from 4 colours; cancelling leaves the 12 colours of before.
  Console con("98\n");
  int n = 0;
  scolornb(n, 4);
  EXPECT_EQ(plt2blk.ncolors, 12);
  EXPECT_EQ(plt2blk.colormode, 1);
  EXPECT_EQ(plt2blk.fillcolor, 8);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, join({head("scolornb"),
                                     {" INITIALIZING NUMBER OF COLORS TO:   4"}})),
            0)
      << con.text();
  EXPECT_EQ(con.text().find("NB of colors ="), std::string::npos);

  plt2blk.ncolors = 1;
  plt2blk.colormode = 0;
  Console again("98\n");
  scolornb(n, 2);
  EXPECT_EQ(plt2blk.ncolors, 1);
  EXPECT_EQ(plt2blk.colormode, 0);
}

TEST_F(ColourTable, ModeFourAppliedChecksAgainstTheNumberAtEntry) {
  plt2blk.linecolor = 7;
  plt2blk.textcolor = 4;
  Console con("\n");
  int n = 0;
  scolornb(n, 4);
  EXPECT_EQ(plt2blk.ncolors, 4);
  EXPECT_EQ(plt2blk.linecolor, 2);  // 7 modulo 5
  EXPECT_EQ(plt2blk.fillcolor, 3);  // 8 modulo 5
  EXPECT_EQ(plt2blk.textcolor, 4);
  EXPECT_NE(con.text().find(" The nb of colors has been reduced\n"), std::string::npos);
}

// ---- Single entries ----

TEST_F(ColourTable, EntryNameIsCutToEightCharacters) {
  Console con;
  int i = 0;
  std::string name = "White-bkg";
  float r = 100, g = 100, b = 100;
  scolorrgb(i, name, r, g, b, 1);
  EXPECT_EQ(pltcharblk.colornam[0].view(), "White-bk");
  EXPECT_EQ(con.text(), "");
}

TEST_F(ColourTable, EntryIndexChecks) {
  int n = 3;
  {
    Console quiet;
    scolornb(n, 1);
  }
  Console con;
  int i = 7;
  std::string name = "Seven";
  float r = 1, g = 2, b = 3;
  scolorrgb(i, name, r, g, b, 1);
  EXPECT_EQ(i, 3);
  expect_entry(3, "Seven", 1, 2, 3);
  EXPECT_EQ(split_lines(con.text()),
            join({warning_head("scolorgb"),
                  {" trying to set color nb =      7", " when nb of color  =      3",
                   " ===> RESET nb of color =      3", rule('/')}}));
  // Unlike the attribute setters, an index that comes out 0 stays 0.
  i = 4;
  name = "Four";
  scolorrgb(i, name, r, g, b, 1);
  EXPECT_EQ(i, 0);
  expect_entry(0, "Four", 1, 2, 3);
  con.clear();
  i = -2;
  name = "Neg";
  scolorrgb(i, name, r, g, b, 1);
  EXPECT_EQ(i, 1);
  expect_entry(1, "Neg", 1, 2, 3);
  EXPECT_GE(find_sequence(split_lines(con.text()),
                          {" trying to set nb of color  =     -2", " min nb of color  = 0",
                           " ===> RESET nb of color =      1"}),
            0)
      << con.text();
}

TEST_F(ColourTable, EntryComponentsAreClampedToPercent) {
  Console con;
  int i = 5;
  std::string name = "Hot";
  float r = 120, g = -5, b = 40;
  scolorrgb(i, name, r, g, b, 1);
  expect_entry(5, "Hot", 100, 0, 40);
  const auto out = split_lines(con.text());
  int warnings = 0;
  for (const auto& l : out) warnings += l.find("WARNING") != std::string::npos;
  EXPECT_EQ(warnings, 2);
  EXPECT_NE(con.text().find("red (%) ="), std::string::npos);
  EXPECT_NE(con.text().find("green (%) ="), std::string::npos);
  EXPECT_NE(con.text().find("scolorgb"), std::string::npos);
}

TEST_F(ColourTable, ModeThreeHandsBackTheEntry) {
  Console con;
  int i = 6;
  std::string name(12, '#');
  float r = 0, g = 0, b = 0;
  scolorrgb(i, name, r, g, b, 3);
  EXPECT_EQ(name, "Magenta     ");
  EXPECT_FLOAT_EQ(r, 50);
  EXPECT_FLOAT_EQ(g, 0);
  EXPECT_FLOAT_EQ(b, 50);
  EXPECT_EQ(con.text(), "");
  expect_entry(6, "Magenta", 50, 0, 50);
}

TEST_F(ColourTable, ModeFiveResetsTheFirstEntriesAtFullStrength) {
  Console con;
  int i = 2;
  std::string name(8, ' ');
  float r = 0, g = 0, b = 0;
  scolorrgb(i, name, r, g, b, 5);
  EXPECT_EQ(split_lines(con.text()),
            join({head("scolorgb"), {" INITIALIZING RGB: 4 COLORS + BKG"}}));
  expect_entry(0, "White-bk", 100, 100, 100);
  expect_entry(1, "Black", 0, 0, 0);
  expect_entry(2, "Red", 100, 0, 0);
  expect_entry(3, "Green", 0, 100, 0);
  expect_entry(4, "Blue", 0, 0, 100);
  expect_entry(5, "Cyan", 0, 50, 50);
  EXPECT_FLOAT_EQ(r, 100);

  // With three colours only the background and black are reset.
  plt2blk.ncolors = 3;
  plt2blk.red[2] = 50;
  Console again;
  scolorrgb(i, name, r, g, b, 5);
  EXPECT_FLOAT_EQ(plt2blk.red[2], 50);
}

TEST_F(ColourTable, EntryMenuCancelLeavesTheTable) {
  const Plt2blk before = plt2blk;
  Console con("30\n10\n20\n30\n98\n");
  int i = 2;
  std::string name(35, ' ');
  float r = 0, g = 0, b = 0;
  scolorrgb(i, name, r, g, b, 2);
  expect_entry(2, "Red", 50, 0, 0);
  EXPECT_FLOAT_EQ(r, 10);
  EXPECT_EQ(std::memcmp(&before, &plt2blk, sizeof before), 0);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, join({head("scolorgb"),
                                     {" SETTING RGB COLORS:", rule('-'),
                                      " max nb of colors ................  12",
                                      " current nb of colors ............  12",
                                      " color index ...................10   2",
                                      " current color name .............. Red     ",
                                      " new    color  name ............20 Red" +
                                          std::string(32, ' '),
                                      rule('-'), "        |   red% | green% |  blue% |",
                                      " current|   50.0 |    0.0 |    0.0 |",
                                      " new    |   50.0 |    0.0 |    0.0 |", rule('-'),
                                      " modify rgb setting ............30",
                                      " CANCEL AND EXIT ...............98",
                                      " UPDATE AND EXIT ...............99", rule('@')}})),
            0)
      << con.text();
  EXPECT_GE(find_sequence(out, {" new    |   10.0 |   20.0 |   30.0 |"}), 0);
}

TEST_F(ColourTable, EntryMenuRenamesAndStores) {
  Console con("20\nVermilion red\n10\n5\n99\n");
  int i = 2;
  std::string name(35, ' ');
  float r = 0, g = 0, b = 0;
  scolorrgb(i, name, r, g, b, 2);
  // The values stay those loaded from entry 2; they go to the entry chosen last.
  EXPECT_EQ(i, 5);
  expect_entry(5, "Vermilio", 50, 0, 0);
  expect_entry(2, "Red", 50, 0, 0);
}

// ---- Colour-table files ----

TEST_F(ColourTable, FileOfTheExample) {
  const std::string out = read_file(fixture("colortable_example.txt"));
  EXPECT_GE(find_sequence(split_lines(out),
                          join({head("scolortable"),
                                {" Input file colortable_example.txt is closed",
                                 " Could read up to:   12 DATA", " Actually read   :    2 DATA",
                                 rule('@')}})),
            0)
      << out;
  EXPECT_EQ(plt2blk.ncolors, 2);
  expect_entry(0, "White-bk", 100, 100, 100);
  expect_entry(1, "Black", 0, 0, 0);
  expect_entry(2, "Red", 100, 0, 0);
  expect_entry(3, "Green", 0, 50, 0);  // not in the file: as it was
  EXPECT_FALSE(frame::units::is_open(kColorTableUnit));
  // The fill colour 8 was checked against the 2 colours: 8 modulo 3.
  EXPECT_EQ(plt2blk.fillcolor, 2);
}

TEST_F(ColourTable, FileRecordsGoOnOverLinesAndTheRestOfALineIsIgnored) {
  const std::string out = read_file(fixture("colortable_continued.txt"));
  EXPECT_NE(out.find(" Actually read   :    2 DATA\n"), std::string::npos) << out;
  EXPECT_EQ(plt2blk.ncolors, 2);
  expect_entry(0, "White-bk", 100, 100, 100);
  expect_entry(1, "Black", 0, 0, 0);
  expect_entry(2, "Red", 100, 0, 0);
  expect_entry(3, "Green", 0, 50, 0);  // the record after the last is not read
}

TEST_F(ColourTable, FileNamesMayBeQuoted) {
  read_file(fixture("colortable_quoted.txt"));
  EXPECT_EQ(plt2blk.ncolors, 1);
  EXPECT_EQ(plt2blk.colormode, 0);
  expect_entry(0, "White bk", 100, 100, 100);
  expect_entry(1, "dark, gr", 10, 20, 30);
}

TEST_F(ColourTable, FileWithTooFewColours) {
  const std::string out = read_file(fixture("colortable_short.txt"));
  EXPECT_GE(find_sequence(split_lines(out),
                          join({error_head("scolortable"),
                                {" END OF FILE REACHED UNEXPECTEDLY",
                                 " WHILE READING LINE NUMBER     4",
                                 " Input file colortable_short.txt is closed", rule('*'),
                                 rule('@')}})),
            0)
      << out;
  // The number of colours was applied before the records were read; what was read stays.
  EXPECT_EQ(plt2blk.ncolors, 3);
  expect_entry(0, "White", 100, 100, 100);
  expect_entry(1, "Black", 0, 0, 0);
  expect_entry(2, "Red", 50, 0, 0);
  EXPECT_FALSE(frame::units::is_open(kColorTableUnit));
  EXPECT_EQ(out.find("Actually read"), std::string::npos);
}

TEST_F(ColourTable, FileWithAnUnreadableItem) {
  const std::string out = read_file(fixture("colortable_bad.txt"));
  EXPECT_GE(find_sequence(split_lines(out),
                          join({error_head("scolortable"),
                                {" WHILE READING LINE NUMBER     3",
                                 " Input file colortable_bad.txt is closed", rule('*')}})),
            0)
      << out;
  EXPECT_EQ(out.find("END OF FILE"), std::string::npos);
  EXPECT_EQ(plt2blk.ncolors, 2);
  expect_entry(0, "Paper", 90, 90, 90);
  expect_entry(1, "Black", 0, 0, 0);
  expect_entry(2, "Red", 50, 0, 0);
  EXPECT_FALSE(frame::units::is_open(kColorTableUnit));
}

TEST_F(ColourTable, EmptyFileChangesNothing) {
  const Plt2blk before = plt2blk;
  const std::string out = read_file(fixture("colortable_empty.txt"));
  EXPECT_GE(find_sequence(split_lines(out), {" END OF FILE REACHED UNEXPECTEDLY",
                                             " WHILE READING LINE NUMBER     1"}),
            0)
      << out;
  EXPECT_EQ(std::memcmp(&before, &plt2blk, sizeof before), 0);
}

TEST_F(ColourTable, FileAskingForTooManyColours) {
  const std::string out = read_file(fixture("colortable_twenty.txt"));
  EXPECT_GE(find_sequence(split_lines(out), {" trying to set nb of color  =     20"}), 0) << out;
  EXPECT_NE(out.find(" Actually read   :   12 DATA\n"), std::string::npos);
  EXPECT_EQ(plt2blk.ncolors, 12);
  expect_entry(12, "Col12", 60, 40, 50);
}

TEST_F(ColourTable, FileRecordOffTheTableAndComponentsOutOfRange) {
  const std::string out = read_file(fixture("colortable_index7.txt"));
  EXPECT_GE(find_sequence(split_lines(out), {" trying to set color nb =      7",
                                             " when nb of color  =      3",
                                             " ===> RESET nb of color =      3"}),
            0)
      << out;
  expect_entry(2, "Hot", 100, 0, 40);
  expect_entry(3, "Seven", 0, 0, 100);
}

TEST_F(ColourTable, FileThatCannotBeOpenedIsAskedForAgain) {
  fixture("colortable_example.txt");
  Console con("300\nno_such_table.txt\ncolortable_example.txt\n99\n");
  scolortable(2);
  EXPECT_NE(con.text().find(" COULD NOT OPEN FILE"), std::string::npos) << con.text();
  EXPECT_EQ(plt2blk.ncolors, 2);
}

// What gfortran's list-directed reads give for each file (tests/tools/colortable_oracle.f90, output in tests/data/plot/colortable_oracle.out)
// is what the program stores, for the files whose records need no replacement.
TEST_F(ColourTable, FilesReadAsGfortranReadsThem) {
  std::ifstream in(fs::path(KORBAST_TEST_DATA) / "plot" / "colortable_oracle.out");
  ASSERT_TRUE(in.good());
  std::map<std::string, std::vector<Entry>> oracle;
  std::map<std::string, std::vector<int>> indices;
  std::string line, file;
  while (std::getline(in, line)) {
    if (line.rfind("== ", 0) == 0) {
      file = line.substr(3);
      continue;
    }
    const auto open = line.find('[');
    if (open == std::string::npos || line.find("fail") != std::string::npos) continue;
    std::istringstream s(line.substr(0, open));
    int idx = 0;
    Entry e{};
    s >> idx >> e.r >> e.g >> e.b;
    e.name = line.substr(open + 1, 8);
    oracle[file].push_back(e);
    indices[file].push_back(idx);
  }
  for (const char* f : {"colortable_example.txt", "colortable_continued.txt",
                        "colortable_quoted.txt", "colortable_short.txt", "colortable_bad.txt",
                        "colortable_twenty.txt"}) {
    SCOPED_TRACE(f);
    ASSERT_FALSE(oracle[f].empty());
    {
      Console quiet;
      scolortable(5);
    }
    read_file(fixture(f));
    for (std::size_t k = 0; k < oracle[f].size(); ++k) {
      const Entry& e = oracle[f][k];
      expect_entry(indices[f][k], e.name, e.r, e.g, e.b);
    }
  }
}

}  // namespace
}  // namespace korbast::plot::test
