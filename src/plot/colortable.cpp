// The colour table: 13 colours, 0 the page background and 1..n the drawing colours (n the
// number of colours, 1..12; one colour makes a black-and-white plot). `scolortable` sets the
// default table, shows the table with its menu and reads a colour-table file; `scolornb`
// sets the number of colours; `scolorrgb` one entry.
//
// The colour-table file is read free-format on its own unit: the number of colours n, then
// n + 1 records (index, red, green, blue in percent, name), each record starting on a new
// line and going on over line ends when items are missing; the rest of a record's last line
// is ignored; a name holding blanks is quoted.
#include "plot/colortable.hpp"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/filetable.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/listread.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"
#include "plot/attributes.hpp"
#include "plot/plt2blk.hpp"

namespace korbast::plot {

namespace {

namespace fmt = frame::fmt;
using frame::iocom;
using namespace frame::console;

using frame::Identity;
constexpr Identity kTable{"scolortable", " 1.3", "10-05-2009"};
constexpr Identity kNumber{"scolornb", " 1.3", "12-07-2001"};
constexpr Identity kEntry{"scolorgb", " 2.1", "16-03-2009"};

constexpr int kMaxColors = 12;
constexpr int kNameLength = 35;  // names are handed around in 35 characters, 8 are kept
// A number or index of colour v held to [low, high] in a warning frame: above high it is set
// to high, or wrapped to v modulo high + 1 (the frame says what was asked and the bound),
// below low to 1.
void hold_color(const Identity& id, int& v, int low, int high, bool wrap,
                std::string_view asked_above, std::string_view bound_above) {
  constexpr frame::ResetLine reset{"===> RESET nb of color =", 6};
  if (v > high) {
    frame::reset_in_frame(id, v, wrap ? v % (high + 1) : high, reset,
                          {int_line(asked_above, v, 6), int_line(bound_above, high, 6)});
  } else if (v < low) {
    frame::reset_in_frame(id, v, 1, reset,
                          {int_line("trying to set nb of color  =", v, 6),
                           item("min nb of color  = " + std::to_string(low))});
  }
}

struct DefaultColour {
  std::string_view name;
  float r, g, b;
};
constexpr DefaultColour kDefaults[13] = {
    {"White-bkg", 100, 100, 100}, {"Black", 0, 0, 0},     {"Red", 50, 0, 0},
    {"Green", 0, 50, 0},          {"Blue", 0, 0, 50},     {"Cyan", 0, 50, 50},
    {"Magenta", 50, 0, 50},       {"Yellow", 50, 50, 0},  {"Grey20", 80, 80, 80},
    {"Grey30", 70, 70, 70},       {"Grey40", 60, 60, 60}, {"Grey50", 50, 50, 50},
    {"Grey70", 30, 30, 30},
};

void set_entry(int i, std::string_view name, float r, float g, float b) {
  plt2blk.red[i] = r;
  plt2blk.green[i] = g;
  plt2blk.blue[i] = b;
  pltcharblk.colornam[i] = name.substr(0, std::min<std::size_t>(name.size(), 8));
}

void fill(std::span<char> text, std::string_view value) {
  const std::size_t n = std::min(text.size(), value.size());
  std::copy_n(value.begin(), n, text.begin());
  std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
}

// " |index|      name|   red% | green% |  blue% |"
std::string header_row() {
  fmt::Line l;
  l.item("|index|").a("name", 10).a("|");
  for (std::string_view c : {"red%", "green%", "blue%"}) l.x(1).a(c, 6).x(1).a("|");
  return l.str();
}

// One row of the table of colours: the name right-aligned in 10 columns.
std::string colour_row(int i) {
  fmt::Line l;
  l.item("|").x(1).i(i, 3).x(1).a("|").a(pltcharblk.colornam[i].view(), 10).a("|");
  for (float c : {plt2blk.red[i], plt2blk.green[i], plt2blk.blue[i]}) l.x(1).f(c, 6, 1).x(1).a("|");
  return l.str();
}

// The colour-table file (menu choice 300). Whatever happens, the file is closed again and the
// entries already stored stay.
void read_color_file() {
  const int unit = kColorTableUnit;
  std::string name(80, ' ');
  frame::opef2(name, "color table input", unit, "old", 0);
  const std::string shown = frame::trimmed(name);

  int line = 1;
  int n = 0;
  bool eof = false;
  bool failed = false;
  {
    frame::ListReader r(unit);
    r.i(n);
    if (!r.ok()) {
      failed = true;
      eof = r.status() == frame::ListStatus::Eof;
    }
  }
  if (!failed) {
    scolornb(n, 1);
    int index = 0;
    float red = 0.0f, green = 0.0f, blue = 0.0f;
    char text[kNameLength];
    for (int k = 0; k <= n; ++k) {
      ++line;
      std::fill(std::begin(text), std::end(text), ' ');
      frame::ListReader r(unit);
      r.i(index).f(red).f(green).f(blue).a(text, kNameLength);
      if (!r.ok()) {
        failed = true;
        eof = r.status() == frame::ListStatus::Eof;
        break;
      }
      scolorrgb(index, std::span<char>(text, kNameLength), red, green, blue, 1);
    }
  }
  frame::units::close(unit);
  const std::string closed = fmt::Line().item("Input file").item(shown).item("is closed").str();
  if (failed) {
    frame::errorhead(kTable);
    if (eof) say_item("END OF FILE REACHED UNEXPECTEDLY");
    say_int("WHILE READING LINE NUMBER ", line, 4);
    say(closed);
    frame::errortail00();
    return;
  }
  frame::submenuhead(kTable);
  say(closed);
  say(fmt::Line().item("Could read up to:").x(1).i(kMaxColors, 4).item("DATA").str());
  say(fmt::Line().item("Actually read   :").x(1).i(n, 4).item("DATA").str());
  frame::menutail();
}

}  // namespace

void scolortable(frame::Mode inter) {
  if (inter.from_default()) {
    frame::submenuhead(kTable);
    say_item("INITIALIZING COLOR TABLE:");
    say_item("0   -> BKG = WHITE");
    say_item("1   -> FRG = BLACK");
    say_item("2-4 -> RGB COLORS");
    say_item("5-7 -> CMY COLORS");
    say_item("8   -> GREY 50%");
    int n = kMaxColors;
    scolornb(n, 1);
    for (int i = 0; i <= kMaxColors; ++i) {
      std::string name(kDefaults[i].name);
      name.resize(kNameLength, ' ');
      int index = i;
      float r = kDefaults[i].r, g = kDefaults[i].g, b = kDefaults[i].b;
      scolorrgb(index, std::span<char>(name), r, g, b, 1);
    }
  }
  if (inter.silent()) return;

  for (;;) {
    const int n = plt2blk.ncolors;
    frame::submenuhead(kTable);
    say_item("SETTING COLOR TABLE");
    say_rule();
    say_int("Current nb of colors:", n, 4);
    say_rule();
    say(header_row());
    for (int i = 0; i <= n && i <= kMaxColors; ++i) say(colour_row(i));
    say_rule();
    say_item("modify nb of colors ..........100");
    say_item("modify rgb color content .....200");
    say_item("read color table from file ...300");
    const int choice = frame::close_menu("EXIT ..........................99");
    frame::take_choice(choice, {99, 100, 200, 300});
    int status = 0;
    if (choice == 99) return;
    if (choice == 100) {
      int number = 0;
      scolornb(number, 2);
    } else if (choice == 200) {
      int index = 0;
      frame::inintegvin1(index, "index of color to modify", 0, n, status);
      std::string name(kNameLength, ' ');
      float r = 0.0f, g = 0.0f, b = 0.0f;
      scolorrgb(index, std::span<char>(name), r, g, b, 2);
    } else if (choice == 300) {
      read_color_file();
    }
  }
}

void scolornb(int& n, frame::Mode inter) {
  const Identity& id = kNumber;
  // What was in force at entry: a cancel restores it, and the colours in use are checked
  // against a number smaller than it.
  const int entry_number = plt2blk.ncolors;
  const int entry_mode = plt2blk.colormode;

  if (inter.from_stored()) n = plt2blk.ncolors;
  if (inter.from_default()) {
    n = 4;
    plt2blk.ncolors = 4;
    plt2blk.colormode = 1;
    frame::submenuhead(id);
    say_int("INITIALIZING NUMBER OF COLORS TO:", 4, 3);
  }
  if (!inter.stored_or_default())
    hold_color(id, n, 1, kMaxColors, false, "trying to set nb of color  =",
               "max nb of color  =");
  if (inter.menu()) {
    for (;;) {
      frame::submenuhead(id);
      say_item("SETTING THE NUMBER OF COLORS:");
      say_rule();
      say_int("max nb of colors ................", kMaxColors, 3);
      say_int("current nb of colors ............", plt2blk.ncolors, 3);
      say_int("new nb of colors to apply .....10", n, 3);
      say_rule();
      say_item("CANCEL AND EXIT ...............98");
      say_item("UPDATE AND EXIT ...............99");
      frame::menutail();
      int status = 0;
      const int choice = frame::menu_choice();
      frame::take_choice(choice, {10, 98, 99});
      if (choice == 10) {
        frame::inintegvindef(n, "new nb of colors", n, 1, kMaxColors, status);
      } else if (choice == 98) {
        plt2blk.ncolors = entry_number;
        plt2blk.colormode = entry_mode;
        return;
      } else if (choice == 99) {
        break;
      }
    }
  }

  plt2blk.colormode = n == 1 ? 0 : 1;
  if (inter.announces() || inter.menu()) {
    say(fmt::Line()
            .item("NB of colors =")
            .x(1)
            .i(n, 6)
            .item(n == 1 ? "==> Black & White plot" : "==> Color plot")
            .str());
  }
  plt2blk.ncolors = n;
  if (n < entry_number) {
    say_item("The nb of colors has been reduced");
    say_item("==> checking current set up versus new max");
    int scratch = 0;
    slinecolor(scratch, 3);
    sfillcolor(scratch, 3);
    stextcolor(scratch, 3);
    say_item("==> checking done");
  }
}

void scolorrgb(int& index, std::span<char> name, float& red, float& green, float& blue,
               frame::Mode inter) {
  const Identity& id = kEntry;
  const int n = plt2blk.ncolors < 0 ? 0 : plt2blk.ncolors;
  if (inter.from_default()) {
    frame::submenuhead(id);
    say_item("INITIALIZING RGB: 4 COLORS + BKG");
    set_entry(0, "White-bk", 100, 100, 100);
    if (plt2blk.ncolors >= 1) set_entry(1, "Black", 0, 0, 0);
    if (plt2blk.ncolors >= 4) {
      set_entry(2, "Red", 100, 0, 0);
      set_entry(3, "Green", 0, 100, 0);
      set_entry(4, "Blue", 0, 0, 100);
    }
  }
  // The index is checked in the modes that start from the caller's values, and in every mode
  // when it lies off the table.
  if (!inter.stored_or_default() || index < 0 || index > kMaxColors)
    hold_color(id, index, 0, n, true, "trying to set color nb =", "when nb of color  =");
  if (inter.stored_or_default()) {
    red = plt2blk.red[index];
    green = plt2blk.green[index];
    blue = plt2blk.blue[index];
    fill(name, pltcharblk.colornam[index].view());
  } else {
    int status = 0;
    frame::crevin2("red (%)", red, 0.0f, 100.0f, id.name, 0, status);
    frame::crevin2("green (%)", green, 0.0f, 100.0f, id.name, 0, status);
    frame::crevin2("blue (%)", blue, 0.0f, 100.0f, id.name, 0, status);
  }

  if (inter.menu()) {
    const std::string cols = "       |";
    for (;;) {
      const std::string_view shown(name.data(), name.size());
      frame::submenuhead(id);
      say_item("SETTING RGB COLORS:");
      say_rule();
      say_int("max nb of colors ................", kMaxColors, 3);
      say_int("current nb of colors ............", plt2blk.ncolors, 3);
      say_int("color index ...................10", index, 3);
      say_value("current color name ..............", pltcharblk.colornam[index].str());
      say_value("new    color  name ............20", std::string(shown));
      say_rule();
      fmt::Line h;
      h.item(cols);
      for (std::string_view c : {"red%", "green%", "blue%"}) h.x(1).a(c, 6).x(1).a("|");
      say(h.str());
      fmt::Line cur;
      cur.item("current").a("|");
      for (float c : {plt2blk.red[index], plt2blk.green[index], plt2blk.blue[index]})
        cur.x(1).f(c, 6, 1).x(1).a("|");
      say(cur.str());
      fmt::Line nw;
      nw.item("new    ").a("|");
      for (float c : {red, green, blue}) nw.x(1).f(c, 6, 1).x(1).a("|");
      say(nw.str());
      say_rule();
      say_item("modify rgb setting ............30");
      say_item("CANCEL AND EXIT ...............98");
      say_item("UPDATE AND EXIT ...............99");
      frame::menutail();
      int status = 0;
      const int choice = frame::menu_choice();
      frame::take_choice(choice, {10, 20, 30, 98, 99});
      if (choice == 10) {
        frame::inintegvindef(index, "new color index", index, 1, n, status);
      } else if (choice == 20) {
        const std::string def(shown);
        frame::inchardef(name, "new color name", def, status);
      } else if (choice == 30) {
        frame::inrealvindef(red, "red component (%)", red, 0.0f, 100.0f, status);
        frame::inrealvindef(green, "green component (%)", green, 0.0f, 100.0f, status);
        frame::inrealvindef(blue, "blue component (%)", blue, 0.0f, 100.0f, status);
      } else if (choice == 98) {
        return;
      } else if (choice == 99) {
        break;
      }
    }
  }

  set_entry(index, std::string_view(name.data(), name.size()), red, green, blue);
}

}  // namespace korbast::plot
