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
using namespace frame::console;

// ---- Shared pieces ----

// The colour index check: an index above the number of colours n is taken modulo n + 1
// (0 then becomes 1), a negative index becomes 1; colour 0 is valid.
bool check_color(const Setter<int>& s, int& value) {
  const int n = plt2blk.ncolors < 0 ? 0 : plt2blk.ncolors;
  const frame::ResetLine reset{"===> RESET color nb    =", 6};
  if (value > n) {
    const int wrapped = value % (n + 1);
    frame::reset_in_frame(s.id, value, wrapped == 0 ? 1 : wrapped, reset,
                          {int_line("trying to set color nb =", value, 6),
                           int_line("when max color nb      =", n, 6)});
  } else if (value < 0) {
    frame::reset_in_frame(s.id, value, 1, reset,
                          {int_line("trying to set color nb =", value, 6),
                           item("when min color nb      = 0")});
  }
  return true;
}

// The name of colour index i as stored (8 characters); blanks for an index off the table.
std::string color_name(int i) {
  if (i < 0 || i > 12) return std::string(8, ' ');
  return pltcharblk.colornam[i].str();
}

void announce_color(const Setter<int>& s, std::string_view what) {
  say_value(what, color_name(s.def));
}

void color_menu(const Setter<int>& s, int& value, std::string_view title) {
  const int n = plt2blk.ncolors;
  frame::submenuhead(s.id);
  say_rule();
  say_item(title);
  say_rule();
  say_int("current value:", s.field, 6);
  say_int("new     value:", value, 6);
  for (int k = 0; k <= n && k <= 12; ++k) {
    say(fmt::Line().item(color_name(k)).a(std::string(17, '.')).i(k, 3).str());
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
  frame::warninghead(s.id);
  say_item(what);
  say_real(label, value, w, d);
  say_real(" min =", min, w, d);
  say_real(" max =", 1000.0, w, d);
  value = s.def;
  say_real(reset_label, s.def, w, d);
  frame::warningtail00();
  return true;
}

// The menu of a length in cm: the present value and one bounded prompt.
void length_menu(const Setter<float>& s, float& value, std::string_view title,
                 std::string_view present, int w, int d, std::string_view prompt, float min) {
  frame::submenuhead(s.id);
  say_rule();
  say_item(title);
  say_rule();
  say_real(present, value, w, d);
  frame::menutail();
  int status = 0;
  frame::inrealvindef(value, prompt, value, min, 1000.0f, status);
}

// The pair of lines "currently stored" and "suggested new value".
void stored_and_suggested(const std::string& stored, const std::string& suggested) {
  say_value("currently stored   :", stored);
  say_value("suggested new value:", suggested);
}

// Pixels per cm of the page at 100 % (0 before any window opened: no font can be chosen).
float font_size(float height) {
  return height * 28.346457f * plt1blk.devscale / windevsize.pxpcm;
}

// ---- The table ----

const Setter<float> kLineWidth{
    {"slinewidth", " 5.2", "19-03-2009"}, plt2blk.thickness, 0.02f, CheckIn::kCallerModes,
    [](const Setter<float>& s) {
      say(fmt::Line().item("INITIALISING LINE THICKNESS TO:").x(1).f(s.def, 8, 3).item("cm").str());
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
    [](const Setter<int>&) { say_item("INITIALISING FILL STYLE TO: filled"); },
    [](const Setter<int>& s, int& style) {
      const frame::ResetLine reset{"===> RESET style nb =", 6};
      if (style > 1) {
        frame::reset_in_frame(s.id, style, style % 2, reset,
                              {int_line("trying to set style nb =", style, 6),
                               int_line("max style nb =", 1, 6)});
      } else if (style < 0) {
        frame::reset_in_frame(s.id, style, 1, reset,
                              {int_line("trying to set nb of style  =", style, 6),
                               item("min style nb = 0")});
      }
      return true;
    },
    [](const Setter<int>& s, int& style) {
      frame::submenuhead(s.id);
      say_rule();
      say_item("     POLYGON FILL STYLES");
      say_rule();
      stored_and_suggested(fmt::I(s.field, 6), fmt::I(style, 6));
      say_item("hollow ....................0");
      say_item("filled ....................1");
      frame::menutail();
      int status = 0;
      frame::inintegvindef(style, "your choice", style, 0, 1, status);
    },
    nullptr};

const Setter<float> kTextSize{
    {"stextsize", " 7.0", "21-05-2010"}, plt2blk.textheight, 0.5f, CheckIn::kCallerModes,
    [](const Setter<float>& s) {
      say(fmt::Line().item("INITIALISING TEXT SIZE TO:").x(1).f(s.def, 6, 2).item("cm").str());
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
        frame::warninghead(s.id);
        say_int("inter =", mode.code(), 6);
        say_item("Attempting to set textsize with");
        say_item("a closed plot file");
        say_item("===> Value stored but no further call to lib");
        frame::warningtail00();
      }
    }};

const Setter<float> kTextAngle{
    {"stextangle", " 2.1", "16-03-2009"}, plt2blk.textangle, 0.0f, CheckIn::kNever,
    [](const Setter<float>&) { say_item("INITIALISING TEXT ANGLE TO: 0.0"); }, nullptr,
    [](const Setter<float>& s, float& angle) {
      frame::submenuhead(s.id);
      say_rule();
      say_item("         TEXT ANGLE (degrees)");
      say_rule();
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
      say_item("INITIALISING TEXT ALIGNMENT TO: -1");
      say_item("=====> left-bottom trimmed");
    },
    [](const Setter<int>& s, int& just) {
      if (just >= -11 && just <= 11) return true;
      frame::reset_in_frame(s.id, just, -1, {"===> RESET justif =", 6},
                            {int_line("trying to set justif =", just, 6),
                             item("justif must be in [-11,11]")});
      return true;
    },
    [](const Setter<int>& s, int& just) {
      const std::string bar = "   |" + std::string(15, '-') + "|" + std::string(15, '-') + "|";
      frame::submenuhead(s.id);
      say_rule();
      say_item("          SETTING TEXT ALIGNMENT");
      say_rule();
      say_item(" |just| indicates where the x,y point");
      say_item("      is relative to the textstring");
      say_item(" if just < 0 leading and trailing blanks");
      say_item("      will be ignored");
      say_item("");
      say_item("   9              10              11");
      say_item(bar);
      say_item("   5<==textstring==6==============>7");
      say_item(bar);
      say_item("   1               2               3");
      say_item("");
      say_rule();
      stored_and_suggested(fmt::I(s.field, 6), fmt::I(just, 6));
      frame::menutail();
      int status = 0;
      frame::inintegvindef(just, "value of just", just, -11, 11, status);
    },
    [](const Setter<int>& s, int& just, Mode) {
      // Codes that name no alignment: the left (or, for 4 and 8, right) bottom trimmed form.
      if (just == 0 || just == -4 || just == -8 || just == 4 || just == 8) {
        frame::reset_in_frame(s.id, just, just > 0 ? 1 : -1, {"===> RESET just =", 6},
                              {int_line("just =", just, 6)});
      }
      s.field = just;
    }};

const Setter<int> kTextFont{
    {"stextfont", " 5.2", "18-03-2009"}, plt2blk.textfont, 1, CheckIn::kAfterMenu,
    [](const Setter<int>&) { say_item("INITIALISING TEXT FONT TO: 1 =  Geneva"); },
    [](const Setter<int>& s, int& font) {
      if (font >= 1 && font <= 15) return true;
      frame::warninghead(s.id);
      say_int("font number =", font, 6);
      say_item("===> NO ACTION");
      frame::warningtail00();
      return false;
    },
    [](const Setter<int>& s, int& font) {
      frame::submenuhead(s.id);
      say_rule();
      say_item("SETTING TEXT FONT");
      say_rule();
      say_int("present value.............. ", font, 6);
      say_item("Geneva.....................1");
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
