#include "maps/shapes.hpp"

#include <algorithm>
#include <cmath>

#include "frame/angles.hpp"
#include "frame/dialog.hpp"

namespace korbast::maps {

namespace {

// Stores point k (from 0) when it fits the capacity.
void put(float* x, float* y, int k, int nmax, float xv, float yv) {
  if (k < nmax) {
    x[k] = xv;
    y[k] = yv;
  }
}

// Reports a capacity below the outline's count; the caller then writes what fits.
int checked_count(int count, int nmax, const char* caller) {
  int status = 0;
  frame::cinmax(count, nmax, caller, "plot array dimension", status);
  return std::max(0, std::min(count, nmax));
}

}  // namespace

void arrow2d(float* x1, float* y1, int& n, int nmax) {
  n = checked_count(7, nmax, "arrow2d");
  const float x[4] = {0.0f, 3.0f / 7.0f, 5.0f / 14.0f, 1.0f};
  const float y[4] = {0.0f, 3.0f / 14.0f, 1.0f / 14.0f, 3.0f / 28.0f};
  for (int k = 0; k < 4; ++k) put(x1, y1, k, nmax, x[k], y[k]);
  // Points 5, 6, 7 mirror points 4, 3, 2.
  for (int k = 4; k < 7; ++k) put(x1, y1, k, nmax, x[7 - k], -y[7 - k]);
}

void rectangle1(float* x1, float* y1, int& n, int nmax) {
  n = checked_count(4, nmax, "rectangle1");
  const float w = 3.0f / 28.0f;
  put(x1, y1, 0, nmax, 0.0f, -w);
  put(x1, y1, 1, nmax, 1.0f, -w);
  // Points 3 and 4 mirror points 2 and 1.
  put(x1, y1, 2, nmax, 1.0f, w);
  put(x1, y1, 3, nmax, 0.0f, w);
}

void homot02d1(float* xout, float* yout, const float* xin, const float* yin, int n, float fac) {
  for (int i = 0; i < n; ++i) {
    const float x = xin[i] * fac;
    const float y = yin[i] * fac;
    xout[i] = x;
    yout[i] = y;
  }
}

void transl2d1(float* xout, float* yout, const float* xin, const float* yin, int n, float dx,
               float dy) {
  for (int i = 0; i < n; ++i) {
    const float x = xin[i] + dx;
    const float y = yin[i] + dy;
    xout[i] = x;
    yout[i] = y;
  }
}

void matrot2drad(float rot[4], float ang) {
  const float c = std::cos(ang);
  const float s = std::sin(ang);
  rot[0] = c;
  rot[1] = s;
  rot[2] = -s;
  rot[3] = c;
}

void rot2daff(float* xout, float* yout, const float* xin, const float* yin, int n, float xc,
              float yc, float ang) {
  float r[4];
  matrot2drad(r, ang);
  // r[0] = R(1,1), r[1] = R(2,1), r[2] = R(1,2), r[3] = R(2,2)
  const float t1 = xc - r[0] * xc - r[2] * yc;
  const float t2 = yc - r[1] * xc - r[3] * yc;
  for (int i = 0; i < n; ++i) {
    const float p1 = r[0] * xin[i] + r[2] * yin[i];
    const float p2 = r[1] * xin[i] + r[3] * yin[i];
    xout[i] = t1 + p1;
    yout[i] = t2 + p2;
  }
}

void modulr(float* aout, const float* ain, float per, int n) {
  for (int i = 0; i < n; ++i) {
    const float a = ain[i];
    if (a >= per || a < 0.0f) {
      const float q = std::trunc(a / per);
      const float prod = per * q;
      float r = a - prod;
      if (a < 0.0f && r != 0.0f) r += per;
      aout[i] = r;
    } else {
      aout[i] = a;
    }
  }
}

void na2pin(float* aout, const float* ain, int n) {
  const float twopi = frame::angle::two_pi;
  for (int i = 0; i < n; ++i) {
    const float a = ain[i];
    if (a >= twopi || a < 0.0f) {
      modulr(&aout[i], &ain[i], twopi, 1);
    } else {
      aout[i] = a;
    }
  }
}

}  // namespace korbast::maps
