// The parameters of a family of curves: up to four fixed parameters (a bare name or a named
// real, integer or text value), the level parameter (one curve per level value) and the
// running point along each curve, with their settings routines, the menu over all three and
// the end of a curve set-up (scptend).
#pragma once

#include <cstddef>
#include <span>

#include "frame/mode.hpp"
#include "frame/text.hpp"

namespace korbast::plot {

constexpr int kMaxFixedParams = 4;

// The level parameter. Zero at program start (texts blank).
struct Plevblock {
  float levi = 0.0f;  // initial level value, or the single level
  float levf = 0.0f;  // final level value
  float levd = 0.0f;  // level increment
  int nlev = 0;       // number of level curves
  frame::Text<5> levname;
  frame::Text<51> levrange;  // " init = " x " final = " x " inc = " x, each at its used width
  frame::Text<56> levinfo;   // the name without its blanks, then levrange
};
extern Plevblock plevblock;

// The fixed parameters, slots 1..4 (stored at 0..3). Zero at program start (texts blank).
struct Pfixblock {
  float pfix[kMaxFixedParams] = {};
  int nparfix = 0;  // slots in use, 0..4
  frame::Text<5> pfixname[kMaxFixedParams];
  frame::Text<12> pfixvalue[kMaxFixedParams];
  frame::Text<17> pfixinfo[kMaxFixedParams];
  int ipfix[kMaxFixedParams] = {};
  int ipfixtype[kMaxFixedParams] = {};  // 0 name only, 1 real, 2 integer, 3 text
};
extern Pfixblock pfixblock;

// Makes the stored running point consistent. ical 0 or 1: the increment from the number of
// points; 2: the number of points from the increment, the increment then adjusted so that the
// last point falls on the final value; 3: the same with the increment kept; any other type is
// reset to 1. ical + 100: the same, without rebuilding ptrange and ptinfo. An even inter opens
// the curve-parameter menu first; a set-up that cannot be computed opens it again.
void scptend(int ical, frame::Mode inter);

// The curve-parameter menu over the running point, levels and fixed parameters.
// 4 or 5: every curve parameter to its default (4 then shows each routine's menu and the
// menu over all of them); 6: lists them; other even modes: the menu; other odd modes: nothing.
void scall(frame::Mode inter);

// The number of fixed parameters in use, 0..4 (a value outside is reported and becomes 4).
void scparfixnb(int& nb, frame::Mode inter);

// Fixed parameter slot i (1..4): name, type (0..3), real and integer value and the value text.
// A slot outside 1..4 is refused with a warning and nothing is read or stored.
void scparfix1(std::span<char> name, int& itype, float& rval, int& ival, std::span<char> cval,
               int& i, frame::Mode inter);
template <std::size_t N, std::size_t M>
void scparfix1(frame::Text<N>& name, int& itype, float& rval, int& ival, frame::Text<M>& cval,
               int& i, frame::Mode inter) {
  scparfix1(std::span<char>(name.data(), N), itype, rval, ival,
            std::span<char>(cval.data(), M), i, inter);
}

// The level parameter. ical: 0 or 1 the increment from the number of levels; 2 the number
// of levels from the increment, the increment then adjusted; 3 the same, increment kept;
// 4 a single level. Any other type becomes 2. ical is returned, not stored.
void sclevel2(float& lini, float& lfin, float& linc, int& nlev, int& ical, std::span<char> name,
              frame::Mode inter);
template <std::size_t N>
void sclevel2(float& lini, float& lfin, float& linc, int& nlev, int& ical, frame::Text<N>& name,
              frame::Mode inter) {
  sclevel2(lini, lfin, linc, nlev, ical, std::span<char>(name.data(), N), inter);
}

}  // namespace korbast::plot
