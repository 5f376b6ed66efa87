// The coordinate chain of the page: user units to centimetres per subplot, centimetres to
// device pixels for the page. A 2x2 matrix is stored column by column: m[j][i] is row i,
// column j; per-subplot arrays are indexed by subplot k-1 first.
#pragma once

namespace korbast::plot {

constexpr int kSubplots = 35;

struct Plt1blk {
  float cm0tode[kSubplots][2] = {};     // cm-to-device offset per subplot, pixels
  float cmtode[2][2] = {};              // cm-to-device matrix of the page
  float devscale = 0.0f;                // device pixels per cm of page
  float us0tode[kSubplots][2] = {};     // user-to-device offset per subplot
  float ustode[kSubplots][2][2] = {};   // user-to-device matrix per subplot
  float us0tocm[kSubplots][2] = {};     // user-to-cm offset (xcm0, ycm0)
  float ustocm[kSubplots][2][2] = {};   // user-to-cm matrix
  float cm0tous[kSubplots][2] = {};     // cm-to-user offset
  float cmtous[kSubplots][2][2] = {};   // cm-to-user matrix
  float usmintocm[kSubplots][2] = {};   // last sus2cm3 box origin
  float usextr[kSubplots][4] = {};      // last sus2cm3 user limits
  float cmaxlength[kSubplots][2] = {};  // last sus2cm3 page lengths
  int isoxy[kSubplots] = {};            // last sus2cm3 equal-scale flag
  int isub = 0;                         // current subplot 1..35
};
extern Plt1blk plt1blk;

}  // namespace korbast::plot
