#include "focal/beachball.hpp"

#include <string>
#include <string_view>

#include "focal/axissymbols.hpp"
#include "focal/greatcircles.hpp"
#include "focal/stereoframe.hpp"
#include "focal/stereonet.hpp"
#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/runinfo.hpp"
#include "frame/textfmt.hpp"
#include "plot/attributes.hpp"
#include "plot/chain.hpp"
#include "plot/life_cycle.hpp"
#include "plot/plotparam.hpp"
#include "plot/subplots.hpp"
#include "plot/symboltype.hpp"
#include "plot/userspace.hpp"
#include "projection/axes.hpp"

namespace korbast::focal {

BeachBallSettings fpsbchbll_settings;

namespace {

namespace fmt = frame::fmt;
using frame::Identity;
using frame::iocom;

constexpr Identity kId{"fpsbchbll", " 7.0", "01-05-2010"};

constexpr int kPerPage = 20;     // balls per page: 4 columns of 5
constexpr int kPerColumn = 5;
constexpr float kSpacing = 3.0f;  // centres three radii apart
constexpr float kLabelX = 0.0f;   // the label under each ball, user units
constexpr float kLabelY = -1.2f;
constexpr float kTextSize = 0.4f;
constexpr float kInfoX = 10.5f;   // run information, cm
constexpr float kInfoY = 28.0f;
constexpr float kCaptionX = 2.0f;  // page and data captions, cm
constexpr float kCaptionY = 28.0f;
constexpr int kCurvePoints = 40;

using frame::say_item;

// The plot attributes the driver changes and gives back when it leaves.
struct SavedAttributes {
  float symbolsize = 0.0f;
  float textsize = 0.0f;
  int textalign = 0;
  bool held = false;  // nothing unset is ever given back
  void save() {
    held = true;
    symbolsize = plot::symbol_size();
    textsize = plot::text_size();
    textalign = plot::text_align();
  }
  void restore() {
    if (!held) return;
    plot::set_symbol_size(symbolsize);
    plot::set_text_size(textsize);
    plot::set_text_align(textalign);
  }
};

void defaults(BeachBallSettings& s) {
  s.plotname = "fps_bb.ps";
  s.symbolsize = 0.3f;
  s.xcm0 = 4.0f;
  s.ycm0 = 4.0f;
  s.xx = 1.5f;
  s.xy = 0.0f;
  s.yx = 0.0f;
  s.yy = 1.5f;
  const int codes[3][2] = {{1, -1}, {4, -4}, {3, -3}};
  for (int m = 0; m < 3; ++m) {
    s.ipbtsymb[m][0] = codes[m][0];
    s.ipbtsymb[m][1] = codes[m][1];
  }
}

void menu_body(int nmax, int n, bool lrad, const BeachBallSettings& s) {
  frame::say_rule();
  say_item("SET UP:");
  frame::say_rule('-', 32);
  say_item("DATA:");
  frame::say(fmt::Line().item("maximum nb of data =").i(nmax, 6).str());
  frame::say(fmt::Line().item("current nb of data =").i(n, 6).str());
  frame::say(fmt::Line().item("angles in radians  :").item(lrad ? "T" : "F").str());
  frame::say_rule('-', 32);
  say_item("PLOT:");
  frame::say(fmt::Line().item("plot file name:").item(fmt::A(s.plotname.view(), 20)).str());
  say_item("open plot file  ..............10");
  say_item("scaling ......................11");
  say_item("plot parameters ..............12");
  say_item("close file = end plot ........20");
  say_item("stereo type..................300");
  say_item("symbol types ................310");
  frame::say_rule();
  say_item("RUN = PLOT FPS .............1000");
  say_item("EXIT .........................99");
  frame::menutail();
}

// Command 11: the user-to-cm menu of the ball subplot, starting from the saved settings of
// the lower-left ball (the subplot itself holds the last ball drawn, after a run).
void scaling(int isub, BeachBallSettings& s) {
  plot::set_subplot(isub);
  say_item("===============================");
  say_item(" SCALING FOR LOWER LEFT STEREO ");
  say_item("===============================");
  plot::set_user_to_cm(s.xcm0, s.ycm0, s.xx, s.xy, s.yx, s.yy);
  plot::sus2cm1(s.xcm0, s.ycm0, s.xx, s.xy, s.yx, s.yy, 2);
}

// Command 310: the symbol pair of P, B and T in turn.
void symbol_types(BeachBallSettings& s) {
  using namespace std::string_view_literals;
  static const frame::Text<35> vexpl[3] = {"choose symbols for P"sv, "choose symbols for B"sv,
                                           "choose symbols for T"sv};
  for (int m = 0; m < 3; ++m) {
    frame::say_rule(':');
    say_item(vexpl[m].view());
    frame::say_rule(':');
    sdspaxsymb(s.ipbtsymb[m][0], s.ipbtsymb[m][1], 200);
  }
}

// "Page p/np" or "Data f -> l" in a caption text.
frame::Text<35> caption(std::string_view word, int a, std::string_view sep, int b) {
  auto number = [](int v) {
    frame::Text<11> t;
    int count = 0;
    frame::intg2char(t, count, 11, v);
    return std::string(t.view().substr(0, static_cast<std::size_t>(count > 0 ? count : 0)));
  };
  return frame::Text<35>(std::string(word) + number(a) + std::string(sep) + number(b));
}

// One ball: event i (from 0) at place j (from 0) of its page.
void draw_ball(const geometry::NodalPlane planes[2], const frame::Text<10>& label, int i, int j,
               bool lrad, const BeachBallSettings& s) {
  const int c = j / kPerColumn;
  const int r = j % kPerColumn;
  const float x = s.xcm0 + kSpacing * s.xx * static_cast<float>(c);
  const float y = s.ycm0 + kSpacing * s.yy * static_cast<float>(r);
  plot::set_user_to_cm(x, y, s.xx, s.xy, s.yx, s.yy);

  repstereo();
  plot::ustext2(kLabelX, kLabelY, label.view());

  float azr[2], dipr[2], rakr[2];
  for (int k = 0; k < 2; ++k) {
    geometry::PlaneAngles p = planes[k].at(i);
    if (!lrad) p = {frame::rad(p.strike), frame::rad(p.dip), frame::rad(p.rake)};
    azr[k] = p.strike;
    dipr[k] = p.dip;
    rakr[k] = p.rake;
  }
  dspgcfadn(azr, dipr, 2);

  // The axes from each plane in turn (for a consistent pair both fall on the same points).
  for (int k = 0; k < 2; ++k) {
    geometry::Axes axes;
    projection::fsadr2steff(axes.azimuth, axes.plunge, azr[k], dipr[k], rakr[k], 0.0f);
    for (int m = 0; m < 3; ++m) {
      int standard = s.ipbtsymb[m][0];
      int alternate = s.ipbtsymb[m][1];
      sdspaxsymb(standard, alternate, 1);
      dspaxfapn2(&axes.azimuth[m], &axes.plunge[m], 1);
    }
  }
}

// Command 1000 once the window is open: every event, 20 to a page.
void run(const geometry::NodalPlane planes[2], const frame::Text<10>* label0, int n, int isub,
         bool lrad, const BeachBallSettings& s) {
  int fill = 1;
  plot::sfillstyle(fill, 5);
  int points = kCurvePoints;
  sdspgc(points, 1);
  plot::set_subplot(isub);

  const int npages = n / kPerPage + (n % kPerPage != 0 ? 1 : 0);
  for (int p = 1; p <= npages; ++p) {
    if (p > 1) plot::newpage();
    // A new window (newpage's choice 1) makes subplot 1 current: the balls belong in isub.
    plot::set_subplot(isub);

    plot::set_symbol_size(s.symbolsize);
    plot::set_text_size(kTextSize);
    plot::set_text_angle(0.0f);

    const int first = (p - 1) * kPerPage + 1;
    const int last = p == npages ? n : p * kPerPage;

    plot::set_text_align(-2);
    plot::cmplotruninfo0(kInfoX, kInfoY, 0);

    plot::set_text_align(-1);
    const frame::Text<35> page = caption("Page ", p, "/", npages);
    frame::say(fmt::Line().item("PLOTTING").item(page.view()).str());
    plot::cmplotcharinfo0(page.view(), 1, kCaptionX, kCaptionY, 0);
    const frame::Text<35> data = caption("Data ", first, " -> ", last);
    say_item(data.view());
    plot::cmplotcharinfo0(data.view(), 2, kCaptionX, kCaptionY, 0);

    plot::set_text_align(-6);
    for (int i = first; i <= last; ++i) {
      draw_ball(planes, label0[i - 1], i - 1, i - first, lrad, s);
    }
  }
}

// A count of events outside 0..nmax would read past the arrays: it is reported and held.
int checked_count(int n, int nmax) {
  const int cap = nmax > 0 ? nmax : 0;
  if (n >= 0 && n <= cap) return n;
  const int held = n < 0 ? 0 : cap;
  frame::warninghead(kId);
  frame::say(fmt::Line().item("current nb of data =").i(n, 6).str());
  frame::say(fmt::Line().item("outside [").i(0, 6).item(",").i(cap, 6).item("]").str());
  frame::say(fmt::Line().item("==> RESET TO:").i(held, 6).str());
  frame::warningtail00();
  return held;
}

}  // namespace

void fpsbchbll(geometry::NodalPlane first, geometry::NodalPlane second,
               const frame::Text<10>* label0, int nmax, int n, int isub, int iangunit,
               frame::Mode mode) {
  BeachBallSettings& s = fpsbchbll_settings;
  if (mode.from_default()) {
    frame::submenuhead(kId);
    say_item("INITIALIZING FPS PLOT PARAMETERS");
    defaults(s);
    return;
  }

  frame::ssubinfo(kId, 0, 0);
  srepstereo0(5);
  const bool lrad = iangunit != 1;
  // Saved while the window is open, and again whenever the driver opens it.
  SavedAttributes saved;
  if (iocom.plot_open) saved.save();
  const int count = checked_count(n, nmax);
  const geometry::NodalPlane planes[2] = {first, second};

  for (;;) {
    frame::submenuhead(kId);
    if (iocom.lwito(2)) menu_body(nmax, count, lrad, s);
    const int choice = frame::menu_choice();
    frame::take_choice(choice, {10, 11, 12, 20, 99, 300, 310, 1000});

    switch (choice) {
      case 11: scaling(isub, s); break;
      case 12: plot::splotparam2(0); break;
      case 300: {
        int iproj = 1;
        sspro(iproj, 2);
        break;
      }
      case 310: symbol_types(s); break;
      default: break;
    }

    // The window step; the run sets its own fill style.
    if (plot::window_step(choice, s.plotname.view(), 1000, false)) saved.save();
    if (choice == 99) {
      if (iocom.plot_open) saved.restore();
      return;
    }

    if (choice == 1000) run(planes, label0, count, isub, lrad, s);
  }
}

}  // namespace korbast::focal
