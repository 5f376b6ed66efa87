#include "plot/chain.hpp"

#include <cmath>
#include <string>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "plot/chain_menus.hpp"
#include "plot/window_device.hpp"

namespace korbast::plot {

constexpr frame::Identity id_sus2cm3{"sus2cm3", " 4.4", "16-03-2009"};
constexpr frame::Identity id_minv2d{"minv2d", " 1.2", "05-12-2005"};

namespace {

namespace fmt = frame::fmt;
using frame::iocom;

using frame::say;
using frame::say_item;

// Subplot k (1..35) as an index; the current subplot is always within 1..35 once a subplot
// has been selected, and counts as subplot 1 before that.
int index_of(int k) { return (k >= 1 && k <= kSubplots) ? k - 1 : 0; }
int current_subplot_index() { return index_of(plt1blk.isub); }

void sus2de_of(int k);
void scm2us_of(int k);

// The subplots a setting acts on: all 35 in modes 6 and 7, else the current one.
void subplot_range(frame::Mode inter, int& first, int& last) {
  if (inter.all_subplots()) {
    first = 1;
    last = kSubplots;
  } else {
    first = last = current_subplot_index() + 1;
  }
}

// After a subplot's user-to-cm transform is stored: its derived transforms, while the window
// is open.
void derive(int k) {
  if (!iocom.plot_open) return;
  sus2de_of(k);
  scm2us_of(k);
}

// One conversion o + M * p for points 0..n-1; both results are formed before either is stored.
void convert(float* xo, float* yo, const float* xi, const float* yi, int n, const Vec2& o,
             const Mat22& m) {
  for (int i = 0; i < n; ++i) {
    const float x = xi[i];
    const float y = yi[i];
    const float rx = o[0] + m[0][0] * x + m[1][0] * y;
    const float ry = o[1] + m[0][1] * x + m[1][1] * y;
    xo[i] = rx;
    yo[i] = ry;
  }
}

void copy(Mat22& a, const Mat22& b) {
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) a[j][i] = b[j][i];
}

// The report of an axis whose user limits cannot be fitted into the page box.
void unfit_axis(std::string_view axis, std::string_view lo, float umin, std::string_view hi,
                float umax, std::string_view len, float length, int k) {
  frame::warninghead(id_sus2cm3);
  say(fmt::Line()
          .item("Cannot fit the")
          .item(axis)
          .item("user limits into the page box:")
          .str());
  say(fmt::Line().item(lo).x(1).g(umin, 15, 6).item(hi).x(1).g(umax, 15, 6).str());
  say(fmt::Line().item(len).x(1).g(length, 15, 6).str());
  say(fmt::Line().item("==> scaling of subplot").x(1).i(k, 2).item("kept as it was").str());
  frame::warningtail00();
}

// Subplot k's user-to-cm transform, and what derives from it.
void store_user_to_cm(int k, float xcm0, float ycm0, float xx, float xy, float yx, float yy) {
  const int s = k - 1;
  plt1blk.us0tocm[s][0] = xcm0;
  plt1blk.us0tocm[s][1] = ycm0;
  plt1blk.ustocm[s][0][0] = xx;
  plt1blk.ustocm[s][1][0] = xy;
  plt1blk.ustocm[s][0][1] = yx;
  plt1blk.ustocm[s][1][1] = yy;
  derive(k);
}

}  // namespace

void sus2cm1(float& xcm0, float& ycm0, float& xx, float& xy, float& yx, float& yy,
             frame::Mode inter) {
  int first = 0;
  int last = 0;
  subplot_range(inter, first, last);
  for (int k = first; k <= last; ++k) {
    const int s = k - 1;
    if (inter.from_stored()) {
      xcm0 = plt1blk.us0tocm[s][0];
      ycm0 = plt1blk.us0tocm[s][1];
      xx = plt1blk.ustocm[s][0][0];
      xy = plt1blk.ustocm[s][1][0];
      yx = plt1blk.ustocm[s][0][1];
      yy = plt1blk.ustocm[s][1][1];
    } else if (inter.initialising()) {
      xcm0 = 10.0f;
      ycm0 = 10.0f;
      xx = 1.0f;
      xy = 0.0f;
      yx = 0.0f;
      yy = 1.0f;
    }
    if (inter.menu()) mus2cm1(xcm0, ycm0, xx, xy, yx, yy);
    store_user_to_cm(k, xcm0, ycm0, xx, xy, yx, yy);
  }
}

void set_user_to_cm(float xcm0, float ycm0, float xx, float xy, float yx, float yy) {
  store_user_to_cm(current_subplot_index() + 1, xcm0, ycm0, xx, xy, yx, yy);
}

void sus2cm3(float& xcm0, float& ycm0, float& xlcm, float& ylcm, float& xumin, float& xumax,
             float& yumin, float& yumax, int& ixy, frame::Mode inter) {
  int first = 0;
  int last = 0;
  subplot_range(inter, first, last);
  for (int k = first; k <= last; ++k) {
    const int s = k - 1;
    if (inter.from_stored()) {
      xcm0 = plt1blk.usmintocm[s][0];
      ycm0 = plt1blk.usmintocm[s][1];
      xlcm = plt1blk.cmaxlength[s][0];
      ylcm = plt1blk.cmaxlength[s][1];
      xumin = plt1blk.usextr[s][0];
      xumax = plt1blk.usextr[s][1];
      yumin = plt1blk.usextr[s][2];
      yumax = plt1blk.usextr[s][3];
      ixy = plt1blk.isoxy[s];
      if (inter == frame::Mode::kStored) return;
    } else if (inter.initialising()) {
      xcm0 = 2.0f;
      ycm0 = 2.0f;
      xlcm = 15.0f;
      ylcm = 15.0f;
      xumin = -10.0f;
      xumax = 10.0f;
      yumin = -10.0f;
      yumax = 10.0f;
      ixy = 1;
    }
    if (inter.menu()) mus2cm3(xcm0, ycm0, xlcm, ylcm, xumin, xumax, yumin, yumax, ixy);

    // The scales; a user range of zero (or one that gives no finite scale) leaves the
    // subplot as it was.
    float sx = xlcm / (xumax - xumin);
    float sy = ylcm / (yumax - yumin);
    const bool x_ok = (xumax - xumin) != 0.0f && std::isfinite(sx);
    const bool y_ok = (yumax - yumin) != 0.0f && std::isfinite(sy);
    if (!x_ok) unfit_axis("X", "xumin =", xumin, "xumax =", xumax, "xlcm =", xlcm, k);
    if (!y_ok) unfit_axis("Y", "yumin =", yumin, "yumax =", yumax, "ylcm =", ylcm, k);
    if (!x_ok || !y_ok) continue;

    plt1blk.usextr[s][0] = xumin;
    plt1blk.usextr[s][1] = xumax;
    plt1blk.usextr[s][2] = yumin;
    plt1blk.usextr[s][3] = yumax;
    plt1blk.cmaxlength[s][0] = xlcm;
    plt1blk.cmaxlength[s][1] = ylcm;
    plt1blk.usmintocm[s][0] = xcm0;
    plt1blk.usmintocm[s][1] = ycm0;
    plt1blk.isoxy[s] = ixy;

    // Equal scales: the smaller magnitude governs both, each keeping its own sign.
    if (ixy == 1) {
      if (std::fabs(sy) < std::fabs(sx)) {
        sx = sx >= 0.0f ? std::fabs(sy) : -std::fabs(sy);
      } else {
        sy = sy >= 0.0f ? std::fabs(sx) : -std::fabs(sx);
      }
    }
    float(&m)[2][2] = plt1blk.ustocm[s];
    m[0][0] = sx;
    m[0][1] = 0.0f;
    m[1][0] = 0.0f;
    m[1][1] = sy;
    // The user minimum corner lands on (xcm0, ycm0).
    plt1blk.us0tocm[s][0] = xcm0 - m[0][0] * xumin - m[1][0] * yumin;
    plt1blk.us0tocm[s][1] = ycm0 - m[0][1] * xumin - m[1][1] * yumin;
    derive(k);
  }
}

void scm2de() {
  for (int k = 0; k < kSubplots; ++k) {
    plt1blk.cm0tode[k][0] = 0.0f;
    plt1blk.cm0tode[k][1] = 0.0f;
  }
  plt1blk.devscale = page_scale(windevsize.isetup, windevsize.top, windevsize.left,
                                windevsize.bottom, windevsize.right, windevsize.pxpcm);
  plt1blk.cmtode[0][0] = plt1blk.devscale;
  plt1blk.cmtode[0][1] = 0.0f;
  plt1blk.cmtode[1][0] = 0.0f;
  plt1blk.cmtode[1][1] = plt1blk.devscale;
}

namespace {

void sus2de_of(int k) {
  const int s = index_of(k);
  Mat22 a;
  Vec2 t = {plt1blk.us0tocm[s][0], plt1blk.us0tocm[s][1]};
  copy(a, plt1blk.ustocm[s]);
  m22x21(t, plt1blk.cmtode, t);
  vsum(t, t, plt1blk.cm0tode[s], 2);
  m22x22(a, plt1blk.cmtode, a);
  plt1blk.us0tode[s][0] = t[0];
  plt1blk.us0tode[s][1] = t[1];
  copy(plt1blk.ustode[s], a);
}

void scm2us_of(int k) {
  const int s = index_of(k);
  Vec2 c = {plt1blk.us0tocm[s][0], plt1blk.us0tocm[s][1]};
  Mat22 m;
  copy(m, plt1blk.ustocm[s]);
  // A singular transform keeps the cm-to-user transform the subplot had.
  if (!minv2d(m, m)) return;
  m22x21(c, m, c);
  plt1blk.cm0tous[s][0] = -c[0];
  plt1blk.cm0tous[s][1] = -c[1];
  copy(plt1blk.cmtous[s], m);
}

}  // namespace

void sus2de() { sus2de_of(current_subplot_index() + 1); }
void scm2us() { scm2us_of(current_subplot_index() + 1); }

void us2de(float* xde, float* yde, const float* xus, const float* yus, int n) {
  const int s = current_subplot_index();
  convert(xde, yde, xus, yus, n, plt1blk.us0tode[s], plt1blk.ustode[s]);
}

void cm2us(float* xus, float* yus, const float* xcm, const float* ycm, int n) {
  const int s = current_subplot_index();
  convert(xus, yus, xcm, ycm, n, plt1blk.cm0tous[s], plt1blk.cmtous[s]);
}

void cm2de(float* xde, float* yde, const float* xcm, const float* ycm, int n) {
  const int s = current_subplot_index();
  convert(xde, yde, xcm, ycm, n, plt1blk.cm0tode[s], plt1blk.cmtode);
}

void lengthcm2de(float& lde, float lcm) { lde = lcm * plt1blk.devscale; }

void m22x21(Vec2& a, const Mat22& b, const Vec2& c) {
  Vec2 t = {0.0f, 0.0f};
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) t[i] = t[i] + b[j][i] * c[j];
  a[0] = t[0];
  a[1] = t[1];
}

void m22x22(Mat22& a, const Mat22& b, const Mat22& c) {
  Mat22 t = {{0.0f, 0.0f}, {0.0f, 0.0f}};
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j)
      for (int k = 0; k < 2; ++k) t[j][i] = t[j][i] + b[k][i] * c[j][k];
  copy(a, t);
}

void vsum(float* w, const float* u, const float* v, int n) {
  for (int i = 0; i < n; ++i) w[i] = u[i] + v[i];
}

bool minv2d(Mat22& a, const Mat22& b) {
  const float b11 = b[0][0];
  const float b21 = b[0][1];
  const float b12 = b[1][0];
  const float b22 = b[1][1];
  const float det = b11 * b22 - b12 * b21;
  if (det == 0.0f) {
    frame::errorhead(id_minv2d);
    say(fmt::Line().item("det(B) =").x(1).g(det, 15, 3).str());
    say(fmt::Line().item("b(1,1) =").x(1).g(b11, 15, 3).item("b(1,2) =").x(1).g(b12, 15, 3).str());
    say(fmt::Line().item("b(2,1) =").x(1).g(b21, 15, 3).item("b(2,2) =").x(1).g(b22, 15, 3).str());
    say_item("=> Cannot Invert B");
    frame::errorstop(0);
    frame::errortail00();
    return false;
  }
  Mat22 t;
  t[0][0] = b22 / det;
  t[1][0] = -b12 / det;
  t[0][1] = -b21 / det;
  t[1][1] = b11 / det;
  copy(a, t);
  return true;
}

}  // namespace korbast::plot
