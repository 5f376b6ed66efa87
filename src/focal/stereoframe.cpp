#include "focal/stereoframe.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "focal/stereonet.hpp"
#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "plot/attributes.hpp"
#include "plot/circles.hpp"
#include "plot/userspace.hpp"

namespace korbast::focal {

Stefram2 stefram2;

using namespace std::string_view_literals;
const frame::Text<11> labelname[6] = {"X axis"sv,      "Y axis"sv,     "Upper Right"sv,
                                      "Lower Right"sv, "Lower Left"sv, "Upper Left"sv};

namespace {

namespace fmt = frame::fmt;
using frame::Identity;

constexpr Identity kSrepstereo0{"srepstereo0", " 4.2", "08-10-2009"};
constexpr Identity kLabel1{"srepstereol", "1.00", "14-04-99"};
constexpr Identity kNp{"srepstereon", "1.00", "14-04-99"};

using frame::say_item;
using frame::say_rule;
const char* tf(int flag) { return flag == 1 ? "T" : "F"; }

// One of labels 1 and 2: just outside the circle where the projection puts the direction of
// azimuth az on the horizon; to the right of the circle, or above it.
void direction_label(float az, const frame::Text<15>& text) {
  float a = az;
  float p = 0.0f;
  float x = 0.0f;
  float y = 0.0f;
  spron(&x, &y, &a, &p, 1);
  int align = 0;
  if (x > 0.9f) {
    x = x + 0.1f;
    align = -5;
  } else if (y > 0.9f) {
    y = y + 0.1f;
    align = -2;
  } else {
    return;  // not on a positive half-axis: no place for the label
  }
  plot::set_text_align(align);
  plot::ustext2(x, y, text.view());
}

// A corner label from the first 10 of its characters.
void corner_label(float x, float y, int align, const frame::Text<15>& text) {
  plot::set_text_align(align);
  plot::ustext2(x, y, text.view().substr(0, 10));
}

}  // namespace

void repstereo() {
  const Stefram2& s = stefram2;
  const float angle0 = plot::text_angle();
  const int align0 = plot::text_align();
  plot::set_text_angle(0.0f);

  // The circle, the cross, the ticks and the direction labels are the same under every
  // ball, on blank paper: one shared drawing.
  plot::usshared_begin(0.0f, 0.0f, true);
  plot::uscircle(0.0f, 0.0f, 1.0f, s.npcirc);

  if (s.laxis == 1) {
    const float hx[2] = {-1.0f, 1.0f}, hy[2] = {0.0f, 0.0f};
    plot::usline(hx, hy, 2);
    const float vx[2] = {0.0f, 0.0f}, vy[2] = {-1.0f, 1.0f};
    plot::usline(vx, vy, 2);
  }

  if (s.ltics == 1) {
    // Each base angle a gives the ticks at a, 90 - a, 180 - a, 270 + a, 180 + a, 270 - a,
    // 360 - a and 90 + a degrees (those on the axes twice).
    for (int k = 0; k < 5; ++k) {
      const float a = frame::rad(10.0f * static_cast<float>(k));
      const float c = std::cos(a);
      const float sn = std::sin(a);
      float x[2] = {1.02f * c, 1.08f * c};
      float y[2] = {1.02f * sn, 1.08f * sn};
      auto both = [&] {
        plot::usline(x, y, 2);
        plot::usline(y, x, 2);
      };
      both();
      x[0] = -x[0], x[1] = -x[1];
      both();
      y[0] = -y[0], y[1] = -y[1];
      both();
      x[0] = -x[0], x[1] = -x[1];
      both();
    }
  }
  if (s.llabel[0] == 1) direction_label(0.0f, s.label[0]);
  if (s.llabel[1] == 1) direction_label(frame::angle::half_pi, s.label[1]);
  plot::usshared_end();
  if (s.llabel[2] == 1) corner_label(0.5f, 1.0f, -5, s.label[2]);
  if (s.llabel[3] == 1) corner_label(0.5f, -1.0f, -5, s.label[3]);
  if (s.llabel[4] == 1) corner_label(-0.5f, -1.0f, -7, s.label[4]);
  if (s.llabel[5] == 1) corner_label(-0.5f, 1.0f, -7, s.label[5]);

  plot::set_text_angle(angle0);
  plot::set_text_align(align0);
}

void srepstereo0(frame::Mode mode) {
  Stefram2& s = stefram2;
  if (mode.from_default()) {
    frame::submenuhead(kSrepstereo0);
    say_item("INITIALIZING STEREO FRAME");
    s.npcirc = 200;
    s.laxis = 1;
    s.ltics = 1;
    s.llabel[0] = 1;
    s.llabel[1] = 1;
    s.label[0] = "North";
    s.label[1] = "East";
  }
  if (mode.initialising()) {
    for (int k = 2; k < 6; ++k) {
      s.llabel[k] = 0;
      s.label[k] = "None";
    }
  }
  if (mode.silent()) return;
  for (;;) {
    frame::submenuhead(kSrepstereo0);
    say_rule();
    say_item("STEREO FRAME PARAMETERS");
    say_rule();
    say_item("position   :     label     :?:command");
    for (int k = 0; k < 6; ++k) {
      frame::say(fmt::Line()
                     .item(labelname[k].view())
                     .lit(":")
                     .a(s.label[k].view(), 15)
                     .lit(":")
                     .lit(tf(s.llabel[k]))
                     .lit(":..")
                     .i(k + 1, 1)
                     .str());
    }
    frame::say_int("nb of points to draw ..........10", s.npcirc, 7);
    frame::say(fmt::Line().item("draw axis......................20").item(tf(s.laxis)).str());
    frame::say(fmt::Line().item("draw tics......................30").item(tf(s.ltics)).str());
    const int choice = frame::close_menu("EXIT ..........................99");
    if (choice >= 1 && choice <= 6) frame::choice_taken();
    frame::take_choice(choice, {10, 20, 30, 99});
    int status = 0;
    if (choice == 99) return;
    if (choice >= 1 && choice <= 6) {
      frame::Text<35> text;
      int idraw = 0;
      int ilabel = choice;
      srepstereolabel1(text, idraw, ilabel, 2);
    } else if (choice == 10) {
      srepstereonp(s.npcirc, 2);
    } else if (choice == 20) {
      bool v = s.laxis == 1;
      frame::inlogicdef(v, "whether to draw axis", v, status);
      s.laxis = v ? 1 : 0;
    } else if (choice == 30) {
      bool v = s.ltics == 1;
      frame::inlogicdef(v, "whether to draw ticks", v, status);
      s.ltics = v ? 1 : 0;
    }
  }
}

void srepstereolabel1(std::span<char> text, int& idraw, int& ilabel, frame::Mode mode) {
  Stefram2& s = stefram2;
  auto set_text = [&](std::string_view v) {
    const std::size_t n = std::min(v.size(), text.size());
    std::copy_n(v.begin(), n, text.begin());
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
  };
  auto line_i4 = [](std::string_view t, int v) {
    frame::say(fmt::Line().item(t).x(1).i(v, 4).str());
  };
  bool menu = mode.menu();
  frame::Mode m = mode;
  if (ilabel < 1 || ilabel > 6) {
    frame::errorhead(kLabel1);
    line_i4("label number =", ilabel);
    say_item("label number must be in [1,6]");
    ilabel = 6;
    line_i4("==> label number reset to =", ilabel);
    frame::errortail00();
    m = frame::Mode::kStoredMenu;
    menu = true;
  }
  if (m.from_stored()) {
    set_text(s.label[ilabel - 1].view());
    idraw = s.llabel[ilabel - 1] == 1 ? 1 : 0;
  } else if (m.from_default()) {
    frame::submenuhead(kLabel1);
    say_item("INITIALIZING STEREO FRAME LABEL");
    idraw = ilabel <= 2 ? 1 : 0;
    set_text(ilabel == 1 ? "North" : ilabel == 2 ? "East" : "None");
  } else if (idraw != 0 && idraw != 1) {
    frame::errorhead(kLabel1);
    line_i4("draw or not (0/1) =", idraw);
    say_item("should be in [0,1]");
    idraw = 0;
    line_i4("==>reset to =", idraw);
    frame::errortail00();
    menu = true;
  }
  while (menu) {
    frame::submenuhead(kLabel1);
    say_rule();
    say_item("STEREO FRAME LABELS");
    say_rule();
    frame::say(fmt::Line().item("label position        :").item(labelname[ilabel - 1].view()).str());
    line_i4("label index...........1", ilabel);
    frame::say(fmt::Line()
                   .item("label text............2")
                   .item(std::string_view(text.data(), text.size()))
                   .str());
    line_i4("draw label (0/1)......3", idraw);
    const int choice = frame::close_menu("EXIT ................99");
    frame::take_choice(choice, {1, 2, 3, 99});
    int status = 0;
    if (choice == 99) {
      menu = false;
    } else if (choice == 1) {
      frame::inintegvindef(ilabel, "label index", ilabel, 1, 6, status);
    } else if (choice == 2) {
      const std::string def(text.data(), text.size());
      frame::inchardef(text, "text to draw", def, status);
    } else if (choice == 3) {
      frame::inintegvindef(idraw, "whether to draw label (0=no/1=yes)", idraw, 0, 1, status);
    }
  }
  s.llabel[ilabel - 1] = idraw == 1 ? 1 : 0;
  s.label[ilabel - 1] = std::string_view(text.data(), std::min<std::size_t>(text.size(), 15));
}

void srepstereonp(int& npcirc, frame::Mode mode) {
  if (mode.from_stored()) npcirc = stefram2.npcirc;
  if (mode.from_default()) {
    frame::submenuhead(kNp);
    say_item("INITIALIZING STEREO FRAME: number of points");
    npcirc = 200;
  }
  if (mode.menu()) {
    for (;;) {
      frame::submenuhead(kNp);
      say_rule();
      say_item(frame::Text<43>("STEREO FRAME NUMBER OF POINT:").view());
      say_rule();
      frame::say_int("nb of points to draw ..........10", npcirc, 5);
      const int choice = frame::close_menu("EXIT ..........................99");
      frame::take_choice(choice, {10, 99});
      int status = 0;
      if (choice == 99) break;
      if (choice == 10) {
        frame::inintegvindef(npcirc, "nb of pts per curve", npcirc, 1, 1000, status);
      }
    }
  }
  stefram2.npcirc = npcirc;
}

}  // namespace korbast::focal
