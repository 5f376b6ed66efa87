// The ten setters of the drawing attributes. Each runs the same five steps in order:
//   1. modes 2, 3: the stored value;
//   2. modes 4, 5: the default (mode 5 prints the head and the "INITIALISING" line);
//   3. the setter's check, in the modes its table names, with a warning for a replacement;
//   4. modes 0, 2, 4: the setter's menu (at every output level) and one prompt;
//   5. modes 0..5: store, and pass it on to the device where the attribute lives there;
//      any other mode: a warning "inter =" and "===> NO ACTION", nothing stored.
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "plot/attributes.hpp"
#include "plot/chain.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "plot/primitives.hpp"
#include "plot/window_device.hpp"

namespace korbast::plot {

namespace {

namespace fmt = frame::fmt;
using frame::iocom;

using frame::Identity;
constexpr Identity kLineWidth{"slinewidth", " 5.2", "19-03-2009"};
constexpr Identity kLineColor{"slinecolor", " 2.4", "16-03-2009"};
constexpr Identity kFillStyle{"sfillstyle", " 3.2", "16-03-2009"};
constexpr Identity kFillColor{"sfillcolor", " 2.7", "16-03-2009"};
constexpr Identity kTextSize{"stextsize", " 7.0", "21-05-2010"};
constexpr Identity kTextAngle{"stextangle", " 2.1", "16-03-2009"};
constexpr Identity kTextAlign{"stextalign", " 2.3", "16-03-2009"};
constexpr Identity kTextFont{"stextfont", " 5.2", "18-03-2009"};
constexpr Identity kTextColor{"stextcolor", " 2.4", "16-03-2009"};

void out(std::string_view line) { frame::units::write_line(iocom.stdout_unit, line); }
void say(std::string_view text) { out(fmt::Line().item(text).str()); }
// A text, one blank and a formatted value.
void say(std::string_view text, const std::string& value) {
  out(fmt::Line().item(text).x(1).a(value).str());
}
std::string i6(int v) { return fmt::I(v, 6); }
std::string rule() { return std::string(43, '-'); }

void head(const Identity& id) { frame::submenuhead(id.name, id.version, id.date); }
void warn(const Identity& id) { frame::warninghead(id.name, id.version, id.date); }

bool in_settings_modes(int inter) { return inter >= 0 && inter <= 5; }
bool shows_menu(int inter) { return inter == 0 || inter == 2 || inter == 4; }
bool from_stored(int inter) { return inter == 2 || inter == 3; }
bool from_default(int inter) { return inter == 4 || inter == 5; }

// The warning of a mode outside 0..5: nothing is stored.
void no_action(const Identity& id, int inter) {
  warn(id);
  say("inter =", i6(inter));
  say("===> NO ACTION");
  frame::warningtail00();
}

// The colour index check: an index above the number of colours n is taken modulo n + 1
// (0 then becomes 1), a negative index becomes 1; colour 0 is valid.
void check_color(const Identity& id, int& value) {
  const int n = plt2blk.ncolors < 0 ? 0 : plt2blk.ncolors;
  if (value > n) {
    warn(id);
    say("trying to set color nb =", i6(value));
    say("when max color nb      =", i6(n));
    value = value % (n + 1);
    if (value == 0) value = 1;
    say("===> RESET color nb    =", i6(value));
    frame::warningtail00();
  } else if (value < 0) {
    warn(id);
    say("trying to set color nb =", i6(value));
    say("when min color nb      = 0");
    value = 1;
    say("===> RESET color nb    =", i6(value));
    frame::warningtail00();
  }
}

// The name of colour index i as stored (8 characters); blanks for an index off the table.
std::string color_name(int i) {
  if (i < 0 || i > 12) return std::string(8, ' ');
  return pltcharblk.colornam[i].str();
}

// The three colour setters differ only in their field, default, texts and identity.
void color_setter(const Identity& id, int& field, int def, std::string_view init_text,
                  std::string_view title, int& value, int inter) {
  if (from_stored(inter)) value = field;
  if (from_default(inter)) {
    value = def;
    if (inter == 5) {
      head(id);
      say(init_text, color_name(def));
    }
  }
  check_color(id, value);
  if (shows_menu(inter)) {
    const int n = plt2blk.ncolors;
    head(id);
    say(rule());
    say(title);
    say(rule());
    say("current value:", i6(field));
    say("new     value:", i6(value));
    for (int k = 0; k <= n && k <= 12; ++k) {
      out(fmt::Line().item(color_name(k)).a(std::string(17, '.')).i(k, 3).str());
    }
    frame::menutail();
    int status = 0;
    frame::inintegvindef(value, "your choice", value, 0, n, status);
  }
  if (in_settings_modes(inter)) {
    field = value;
  } else {
    no_action(id, inter);
  }
}

// Pixels per cm of the page at 100 % (0 before any window opened: no font can be chosen).
float font_size(float height) {
  return height * 28.346457f * plt1blk.devscale / windevsize.pxpcm;
}

}  // namespace

void slinewidth(float& thickness, int inter) {
  const Identity& id = kLineWidth;
  constexpr float def = 0.02f;
  if (from_stored(inter)) thickness = plt2blk.thickness;
  if (from_default(inter)) {
    thickness = def;
    if (inter == 5) {
      head(id);
      out(fmt::Line().item("INITIALISING LINE THICKNESS TO:").x(1).f(def, 8, 3).item("cm").str());
    }
  }
  if ((inter == 0 || inter == 1) && !(thickness > 0.01f && thickness <= 1000.0f)) {
    warn(id);
    say("LINE THICKNESS OUT OF RANGE:");
    say(" line thickness (cm) =", fmt::F(thickness, 8, 3));
    say(" min =", fmt::F(0.01, 8, 3));
    say(" max =", fmt::F(1000.0, 8, 3));
    thickness = def;
    say("==> RESET line thickness =", fmt::F(def, 8, 3));
    frame::warningtail00();
  }
  if (shows_menu(inter)) {
    head(id);
    say(rule());
    say("          LINE THICKNESS");
    say(rule());
    say("present value in cm ....... ", fmt::F(thickness, 8, 3));
    frame::menutail();
    int status = 0;
    frame::inrealvindef(thickness, "line thickness in cm", thickness, 0.01f, 1000.0f, status);
  }
  if (!in_settings_modes(inter)) {
    no_action(id, inter);
    return;
  }
  plt2blk.thickness = thickness;
  float pixels = 0.0f;
  lengthcm2de(pixels, thickness);
  intslinewidth(pixels);
}

void slinestyle(int& /*style*/, int /*inter*/) {}

void slinecolor(int& color, int inter) {
  color_setter(kLineColor, plt2blk.linecolor, 1, "INITIALISING LINE COLOR TO:",
               "     LINE COLOR", color, inter);
}

void sfillcolor(int& color, int inter) {
  color_setter(kFillColor, plt2blk.fillcolor, 8, "INITIALISING FILL COLOR TO:",
               "     FILL COLOR", color, inter);
}

void stextcolor(int& color, int inter) {
  color_setter(kTextColor, plt2blk.textcolor, 1, "INITIALISING TEXT COLOR TO:", "TEXT COLOR",
               color, inter);
}

void sfillstyle(int& style, int inter) {
  const Identity& id = kFillStyle;
  if (from_stored(inter)) style = plt2blk.fillstyle;
  if (from_default(inter)) {
    style = 1;
    if (inter == 5) {
      head(id);
      say("INITIALISING FILL STYLE TO: filled");
    }
  }
  if (!(inter >= 2 && inter <= 5)) {
    if (style > 1) {
      warn(id);
      say("trying to set style nb =", i6(style));
      say("max style nb =", i6(1));
      style = style % 2;
      say("===> RESET style nb =", i6(style));
      frame::warningtail00();
    } else if (style < 0) {
      warn(id);
      say("trying to set nb of style  =", i6(style));
      say("min style nb = 0");
      style = 1;
      say("===> RESET style nb =", i6(style));
      frame::warningtail00();
    }
  }
  if (shows_menu(inter)) {
    head(id);
    say(rule());
    say("     POLYGON FILL STYLES");
    say(rule());
    say("currently stored   :", i6(plt2blk.fillstyle));
    say("suggested new value:", i6(style));
    say("hollow ....................0");
    say("filled ....................1");
    frame::menutail();
    int status = 0;
    frame::inintegvindef(style, "your choice", style, 0, 1, status);
  }
  if (in_settings_modes(inter)) {
    plt2blk.fillstyle = style;
  } else {
    no_action(id, inter);
  }
}

void stextsize(float& height, int inter) {
  const Identity& id = kTextSize;
  constexpr float def = 0.5f;
  if (from_stored(inter)) height = plt2blk.textheight;
  if (from_default(inter)) {
    height = def;
    if (inter == 5) {
      head(id);
      out(fmt::Line().item("INITIALISING TEXT SIZE TO:").x(1).f(def, 6, 2).item("cm").str());
    }
  }
  if ((inter == 0 || inter == 1) && !(height > 0.02f && height <= 1000.0f)) {
    warn(id);
    say("TEXT SIZE OUT OF RANGE:");
    say(" txtheight =", fmt::F(height, 6, 2));
    say(" min =", fmt::F(0.02, 6, 2));
    say(" max =", fmt::F(1000.0, 6, 2));
    height = def;
    say("==> RESET txtheight =", fmt::F(def, 6, 2));
    frame::warningtail00();
  }
  if (shows_menu(inter)) {
    head(id);
    say(rule());
    say("                TEXT SIZE");
    say(rule());
    say("present value in cm .......... ", fmt::F(height, 6, 2));
    frame::menutail();
    int status = 0;
    frame::inrealvindef(height, "text height in cm", height, 0.02f, 1000.0f, status);
  }
  if (!in_settings_modes(inter)) {
    no_action(id, inter);
    return;
  }
  plt2blk.textheight = height;
  if (iocom.plot_open) {
    intstextsize(height);
  } else {
    warn(id);
    say("inter =", i6(inter));
    say("Attempting to set textsize with");
    say("a closed plot file");
    say("===> Value stored but no further call to lib");
    frame::warningtail00();
  }
}

void stextangle(float& angle, int inter) {
  const Identity& id = kTextAngle;
  if (from_stored(inter)) angle = plt2blk.textangle;
  if (from_default(inter)) {
    angle = 0.0f;
    if (inter == 5) {
      head(id);
      say("INITIALISING TEXT ANGLE TO: 0.0");
    }
  }
  if (shows_menu(inter)) {
    head(id);
    say(rule());
    say("         TEXT ANGLE (degrees)");
    say(rule());
    say("currently stored   :", fmt::F(plt2blk.textangle, 8, 3));
    say("suggested new value:", fmt::F(angle, 8, 3));
    frame::menutail();
    int status = 0;
    frame::inrealdef(angle, "text angle in degrees", angle, status);
  }
  if (in_settings_modes(inter)) {
    plt2blk.textangle = angle;
  } else {
    no_action(id, inter);
  }
}

void stextalign(int& just, int inter) {
  const Identity& id = kTextAlign;
  if (from_stored(inter)) just = plt2blk.textalign;
  if (from_default(inter)) {
    just = -1;
    if (inter == 5) {
      head(id);
      say("INITIALISING TEXT ALIGNMENT TO: -1");
      say("=====> left-bottom trimmed");
    }
  }
  if (!(inter >= 2 && inter <= 5) && (just < -11 || just > 11)) {
    warn(id);
    say("trying to set justif =", i6(just));
    say("justif must be in [-11,11]");
    just = -1;
    say("===> RESET justif =", i6(just));
    frame::warningtail00();
  }
  if (shows_menu(inter)) {
    const std::string bar = "   |" + std::string(15, '-') + "|" + std::string(15, '-') + "|";
    head(id);
    say(rule());
    say("          SETTING TEXT ALIGNMENT");
    say(rule());
    say(" |just| indicates where the x,y point");
    say("      is relative to the textstring");
    say(" if just < 0 leading and trailing blanks");
    say("      will be ignored");
    say("");
    say("   9              10              11");
    say(bar);
    say("   5<==textstring==6==============>7");
    say(bar);
    say("   1               2               3");
    say("");
    say(rule());
    say("currently stored   :", i6(plt2blk.textalign));
    say("suggested new value:", i6(just));
    frame::menutail();
    int status = 0;
    frame::inintegvindef(just, "value of just", just, -11, 11, status);
  }
  if (!in_settings_modes(inter)) {
    no_action(id, inter);
    return;
  }
  // Codes that name no alignment: the left (or, for 4 and 8, right) bottom trimmed form.
  if (just == 0 || just == -4 || just == -8 || just == 4 || just == 8) {
    warn(id);
    say("just =", i6(just));
    just = just > 0 ? 1 : -1;
    say("===> RESET just =", i6(just));
    frame::warningtail00();
  }
  plt2blk.textalign = just;
}

void stextfont(int& font, int inter) {
  const Identity& id = kTextFont;
  if (from_stored(inter)) font = plt2blk.textfont;
  if (from_default(inter)) {
    font = 1;
    if (inter == 5) {
      head(id);
      say("INITIALISING TEXT FONT TO: 1 =  Geneva");
    }
  }
  if (view.pathopen == 1) endpath();
  if (shows_menu(inter)) {
    head(id);
    say(rule());
    say("SETTING TEXT FONT");
    say(rule());
    say("present value.............. ", i6(font));
    say("Geneva.....................1");
    frame::menutail();
    int status = 0;
    frame::inintegvindef(font, "your choice", font, 1, 15, status);
  }
  if (font < 1 || font > 15) {
    warn(id);
    say("font number =", i6(font));
    say("===> NO ACTION");
    frame::warningtail00();
    return;
  }
  if (!in_settings_modes(inter)) {
    no_action(id, inter);
    return;
  }
  plt2blk.textfont = font;
  // Every font number selects the one sans font of the device (the menu's "Geneva").
  if (view.context) view.context->select_font(font_size(plt2blk.textheight));
}

}  // namespace korbast::plot
