// The ten setters of the drawing attributes, each one entry of the setter skeleton
// (plot/setter.hpp), and the plain accessors that code calls.
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "plot/attributes.hpp"
#include "plot/chain.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "plot/primitives.hpp"
#include "plot/setter.hpp"
#include "plot/window_device.hpp"

namespace korbast::plot {

namespace {

namespace fmt = frame::fmt;
using frame::iocom;
using namespace setter;

// ---- Shared pieces ----

// The colour index check: an index above the number of colours n is taken modulo n + 1
// (0 then becomes 1), a negative index becomes 1; colour 0 is valid.
bool check_color(const Setter<int>& s, int& value) {
  const int n = plt2blk.ncolors < 0 ? 0 : plt2blk.ncolors;
  if (value > n) {
    warn(s.id);
    say("trying to set color nb =", i6(value));
    say("when max color nb      =", i6(n));
    value = value % (n + 1);
    if (value == 0) value = 1;
    say("===> RESET color nb    =", i6(value));
    frame::warningtail00();
  } else if (value < 0) {
    warn(s.id);
    say("trying to set color nb =", i6(value));
    say("when min color nb      = 0");
    value = 1;
    say("===> RESET color nb    =", i6(value));
    frame::warningtail00();
  }
  return true;
}

// The name of colour index i as stored (8 characters); blanks for an index off the table.
std::string color_name(int i) {
  if (i < 0 || i > 12) return std::string(8, ' ');
  return pltcharblk.colornam[i].str();
}

void announce_color(const Setter<int>& s, std::string_view what) {
  say(what, color_name(s.def));
}

void color_menu(const Setter<int>& s, int& value, std::string_view title) {
  const int n = plt2blk.ncolors;
  head(s.id);
  say(rule());
  say(title);
  say(rule());
  say("current value:", i6(s.field));
  say("new     value:", i6(value));
  for (int k = 0; k <= n && k <= 12; ++k) {
    out(fmt::Line().item(color_name(k)).a(std::string(17, '.')).i(k, 3).str());
  }
  frame::menutail();
  int status = 0;
  frame::inintegvindef(value, "your choice", value, 0, n, status);
}

// A length in cm kept within (min, 1000]: the default replaces a value outside, with a warning
// in F(w, d) that names the value `label` and the replacement `reset_label`.
bool check_length(const Setter<float>& s, float& value, float min, std::string_view what,
                  std::string_view label, std::string_view reset_label, int w, int d) {
  if (value > min && value <= 1000.0f) return true;
  warn(s.id);
  say(what);
  say(label, fmt::F(value, w, d));
  say(" min =", fmt::F(min, w, d));
  say(" max =", fmt::F(1000.0, w, d));
  value = s.def;
  say(reset_label, fmt::F(s.def, w, d));
  frame::warningtail00();
  return true;
}

// The menu of a length in cm: the present value and one bounded prompt.
void length_menu(const Setter<float>& s, float& value, std::string_view title,
                 std::string_view present, int w, int d, std::string_view prompt, float min) {
  head(s.id);
  say(rule());
  say(title);
  say(rule());
  say(present, fmt::F(value, w, d));
  frame::menutail();
  int status = 0;
  frame::inrealvindef(value, prompt, value, min, 1000.0f, status);
}

// The pair of lines "currently stored" and "suggested new value".
void stored_and_suggested(const std::string& stored, const std::string& suggested) {
  say("currently stored   :", stored);
  say("suggested new value:", suggested);
}

// Pixels per cm of the page at 100 % (0 before any window opened: no font can be chosen).
float font_size(float height) {
  return height * 28.346457f * plt1blk.devscale / windevsize.pxpcm;
}

// ---- The table ----

const Setter<float> kLineWidth{
    {"slinewidth", " 5.2", "19-03-2009"}, plt2blk.thickness, 0.02f, CheckIn::kCallerModes,
    [](const Setter<float>& s) {
      out(fmt::Line().item("INITIALISING LINE THICKNESS TO:").x(1).f(s.def, 8, 3).item("cm").str());
    },
    [](const Setter<float>& s, float& v) {
      return check_length(s, v, 0.01f, "LINE THICKNESS OUT OF RANGE:",
                          " line thickness (cm) =", "==> RESET line thickness =", 8, 3);
    },
    [](const Setter<float>& s, float& v) {
      length_menu(s, v, "          LINE THICKNESS", "present value in cm ....... ", 8, 3,
                  "line thickness in cm", 0.01f);
    },
    [](const Setter<float>& s, float& v, Mode) {
      s.field = v;
      float pixels = 0.0f;
      lengthcm2de(pixels, v);
      intslinewidth(pixels);
    }};

const Setter<int> kLineColor{
    {"slinecolor", " 2.4", "16-03-2009"}, plt2blk.linecolor, 1, CheckIn::kEveryMode,
    [](const Setter<int>& s) { announce_color(s, "INITIALISING LINE COLOR TO:"); },
    check_color, [](const Setter<int>& s, int& v) { color_menu(s, v, "     LINE COLOR"); },
    nullptr};

const Setter<int> kFillColor{
    {"sfillcolor", " 2.7", "16-03-2009"}, plt2blk.fillcolor, 8, CheckIn::kEveryMode,
    [](const Setter<int>& s) { announce_color(s, "INITIALISING FILL COLOR TO:"); },
    check_color, [](const Setter<int>& s, int& v) { color_menu(s, v, "     FILL COLOR"); },
    nullptr};

const Setter<int> kTextColor{
    {"stextcolor", " 2.4", "16-03-2009"}, plt2blk.textcolor, 1, CheckIn::kEveryMode,
    [](const Setter<int>& s) { announce_color(s, "INITIALISING TEXT COLOR TO:"); },
    check_color, [](const Setter<int>& s, int& v) { color_menu(s, v, "TEXT COLOR"); }, nullptr};

const Setter<int> kFillStyle{
    {"sfillstyle", " 3.2", "16-03-2009"}, plt2blk.fillstyle, 1,
    CheckIn::kUnlessStoredOrDefault,
    [](const Setter<int>&) { say("INITIALISING FILL STYLE TO: filled"); },
    [](const Setter<int>& s, int& style) {
      if (style > 1) {
        warn(s.id);
        say("trying to set style nb =", i6(style));
        say("max style nb =", i6(1));
        style = style % 2;
        say("===> RESET style nb =", i6(style));
        frame::warningtail00();
      } else if (style < 0) {
        warn(s.id);
        say("trying to set nb of style  =", i6(style));
        say("min style nb = 0");
        style = 1;
        say("===> RESET style nb =", i6(style));
        frame::warningtail00();
      }
      return true;
    },
    [](const Setter<int>& s, int& style) {
      head(s.id);
      say(rule());
      say("     POLYGON FILL STYLES");
      say(rule());
      stored_and_suggested(i6(s.field), i6(style));
      say("hollow ....................0");
      say("filled ....................1");
      frame::menutail();
      int status = 0;
      frame::inintegvindef(style, "your choice", style, 0, 1, status);
    },
    nullptr};

const Setter<float> kTextSize{
    {"stextsize", " 7.0", "21-05-2010"}, plt2blk.textheight, 0.5f, CheckIn::kCallerModes,
    [](const Setter<float>& s) {
      out(fmt::Line().item("INITIALISING TEXT SIZE TO:").x(1).f(s.def, 6, 2).item("cm").str());
    },
    [](const Setter<float>& s, float& v) {
      return check_length(s, v, 0.02f, "TEXT SIZE OUT OF RANGE:", " txtheight =",
                          "==> RESET txtheight =", 6, 2);
    },
    [](const Setter<float>& s, float& v) {
      length_menu(s, v, "                TEXT SIZE", "present value in cm .......... ", 6, 2,
                  "text height in cm", 0.02f);
    },
    [](const Setter<float>& s, float& v, Mode mode) {
      s.field = v;
      if (iocom.plot_open) {
        intstextsize(v);
      } else {
        warn(s.id);
        say("inter =", i6(mode.code()));
        say("Attempting to set textsize with");
        say("a closed plot file");
        say("===> Value stored but no further call to lib");
        frame::warningtail00();
      }
    }};

const Setter<float> kTextAngle{
    {"stextangle", " 2.1", "16-03-2009"}, plt2blk.textangle, 0.0f, CheckIn::kNever,
    [](const Setter<float>&) { say("INITIALISING TEXT ANGLE TO: 0.0"); }, nullptr,
    [](const Setter<float>& s, float& angle) {
      head(s.id);
      say(rule());
      say("         TEXT ANGLE (degrees)");
      say(rule());
      stored_and_suggested(fmt::F(s.field, 8, 3), fmt::F(angle, 8, 3));
      frame::menutail();
      int status = 0;
      frame::inrealdef(angle, "text angle in degrees", angle, status);
    },
    nullptr};

const Setter<int> kTextAlign{
    {"stextalign", " 2.3", "16-03-2009"}, plt2blk.textalign, -1,
    CheckIn::kUnlessStoredOrDefault,
    [](const Setter<int>&) {
      say("INITIALISING TEXT ALIGNMENT TO: -1");
      say("=====> left-bottom trimmed");
    },
    [](const Setter<int>& s, int& just) {
      if (just >= -11 && just <= 11) return true;
      warn(s.id);
      say("trying to set justif =", i6(just));
      say("justif must be in [-11,11]");
      just = -1;
      say("===> RESET justif =", i6(just));
      frame::warningtail00();
      return true;
    },
    [](const Setter<int>& s, int& just) {
      const std::string bar = "   |" + std::string(15, '-') + "|" + std::string(15, '-') + "|";
      head(s.id);
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
      stored_and_suggested(i6(s.field), i6(just));
      frame::menutail();
      int status = 0;
      frame::inintegvindef(just, "value of just", just, -11, 11, status);
    },
    [](const Setter<int>& s, int& just, Mode) {
      // Codes that name no alignment: the left (or, for 4 and 8, right) bottom trimmed form.
      if (just == 0 || just == -4 || just == -8 || just == 4 || just == 8) {
        warn(s.id);
        say("just =", i6(just));
        just = just > 0 ? 1 : -1;
        say("===> RESET just =", i6(just));
        frame::warningtail00();
      }
      s.field = just;
    }};

const Setter<int> kTextFont{
    {"stextfont", " 5.2", "18-03-2009"}, plt2blk.textfont, 1, CheckIn::kAfterMenu,
    [](const Setter<int>&) { say("INITIALISING TEXT FONT TO: 1 =  Geneva"); },
    [](const Setter<int>& s, int& font) {
      if (font >= 1 && font <= 15) return true;
      warn(s.id);
      say("font number =", i6(font));
      say("===> NO ACTION");
      frame::warningtail00();
      return false;
    },
    [](const Setter<int>& s, int& font) {
      head(s.id);
      say(rule());
      say("SETTING TEXT FONT");
      say(rule());
      say("present value.............. ", i6(font));
      say("Geneva.....................1");
      frame::menutail();
      int status = 0;
      frame::inintegvindef(font, "your choice", font, 1, 15, status);
    },
    [](const Setter<int>& s, int& font, Mode) {
      s.field = font;
      // Every font number selects the one sans font of the device (the menu's "Geneva").
      if (view.context) view.context->select_font(font_size(plt2blk.textheight));
    },
    [] {
      if (view.pathopen == 1) endpath();
    }};

}  // namespace

void slinewidth(float& thickness, frame::Mode inter) { run(kLineWidth, thickness, inter); }
void slinestyle(int& /*style*/, frame::Mode /*inter*/) {}
void slinecolor(int& color, frame::Mode inter) { run(kLineColor, color, inter); }
void sfillstyle(int& style, frame::Mode inter) { run(kFillStyle, style, inter); }
void sfillcolor(int& color, frame::Mode inter) { run(kFillColor, color, inter); }
void stextsize(float& height, frame::Mode inter) { run(kTextSize, height, inter); }
void stextangle(float& angle, frame::Mode inter) { run(kTextAngle, angle, inter); }
void stextalign(int& just, frame::Mode inter) { run(kTextAlign, just, inter); }
void stextfont(int& font, frame::Mode inter) { run(kTextFont, font, inter); }
void stextcolor(int& color, frame::Mode inter) { run(kTextColor, color, inter); }

void set_line_width(float cm) { set(kLineWidth, cm); }
void set_line_color(int color) { set(kLineColor, color); }
void set_fill_style(int style) { set(kFillStyle, style); }
void set_fill_color(int color) { set(kFillColor, color); }
void set_text_size(float cm) { set(kTextSize, cm); }
void set_text_angle(float degrees) { set(kTextAngle, degrees); }
void set_text_align(int just) { set(kTextAlign, just); }
void set_text_font(int font) { set(kTextFont, font); }
void set_text_color(int color) { set(kTextColor, color); }

float line_width() { return plt2blk.thickness; }
int line_color() { return plt2blk.linecolor; }
int fill_style() { return plt2blk.fillstyle; }
int fill_color() { return plt2blk.fillcolor; }
float text_size() { return plt2blk.textheight; }
float text_angle() { return plt2blk.textangle; }
int text_align() { return plt2blk.textalign; }
int text_font() { return plt2blk.textfont; }
int text_color() { return plt2blk.textcolor; }

}  // namespace korbast::plot
