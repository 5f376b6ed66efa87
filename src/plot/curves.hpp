// The running point of a curve: the one free parameter t along which every sampled curve
// (circles and arcs, great circles, the sides of map polygons) is cut into points, with its
// set-up routines, and the two point buffers the callers fill with the sampled points.
//
// The calling protocol of every curve: scptnp(count, 1), scptif(t0, t1, 1), scptend(101, 1)
// (or type 1 when the description texts are wanted; scptend is in curve_params.hpp, since it
// may open the menu over all the curve parameters), then a loop ipt = 1..np writing pt and
// the points into cc2dbuff or cc3dbuff, then one polyline of the points.
#pragma once

#include "frame/dialog.hpp"
#include "frame/mode.hpp"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "frame/text.hpp"

namespace korbast::plot {

// The capacity of the point buffers, the most points one curve can have.
constexpr int kMaxCurvePoints = 1000;

// The running point. Zero at program start (texts blank); every user sets it up before use.
struct Ptblock {
  float pt = 0.0f;   // current value, written by the callers' loops
  float pti = 0.0f;  // initial value
  float ptf = 0.0f;  // final value
  float ptd = 0.0f;  // increment between consecutive points
  float rnp = 0.0f;  // np as a real
  float rns = 0.0f;  // np - 1 as a real: the number of segments
  int np = 0;        // number of points of one curve, 1..1000 once set
  int ipt = 0;       // current point index, the callers' loop variable
  frame::Text<5> ptname;
  frame::Text<51> ptrange;  // " init = " x " final = " x " inc = " x
  frame::Text<56> ptinfo;   // the name without its blanks, then ptrange
};
extern Ptblock ptblock;

// Two-dimensional point buffer: x (or longitude) of all points, then y (or latitude).
struct Cc2dbuff {
  float xp[kMaxCurvePoints] = {};
  float yp[kMaxCurvePoints] = {};
};
extern Cc2dbuff cc2dbuff;

// Three-dimensional point buffer (direction cosines, or projected x and y).
struct Cc3dbuff {
  float xe[kMaxCurvePoints] = {};
  float ye[kMaxCurvePoints] = {};
  float ze[kMaxCurvePoints] = {};
};
extern Cc3dbuff cc3dbuff;

// The settings routines. Modes 2 and 3 start from the stored values, 4 and 5 from the
// defaults, any other mode from the arguments; an even mode shows the routine's menu; the
// result is stored and left in the arguments.

// The number of points, clamped to 1..1000 with a warning (above 1000, or exactly 1 unless the
// mode is 6 or 7) or an error (below 1).
void scptnp(int& np, frame::Mode inter);
// The initial and final values (any values).
void scptif(float& pti, float& ptf, frame::Mode inter);
// The increment (any value).
void scptd(float& ptd, frame::Mode inter);
// The name: its first 5 characters are stored.
void scptnam(std::span<char> name, frame::Mode inter);
template <std::size_t N>
void scptnam(frame::Text<N>& name, frame::Mode inter) {
  scptnam(std::span<char>(name.data(), N), inter);
}

// x truncated toward zero as an integer, with magnitudes beyond 2^30 held at +-2^30 and a
// value that is not a number taken as 0: counts computed in single precision can be huge.
int truncated_count(float x);

// Helpers shared by the running-point and curve-parameter routines (not for other callers).
namespace curves_detail {
using frame::Identity;
// The menu frame: the head, a rule, the title, a rule.
void menu_head(const Identity& id, std::string_view title);
// A rule, the exit line and the frame tail.
void menu_tail();
// "your choice", 99 by default.
int ask_choice();
// The caller's text buffer filled from s, cut or blank-padded.
void fill_text(std::span<char> out, std::string_view s);
}  // namespace curves_detail

}  // namespace korbast::plot
