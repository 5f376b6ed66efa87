#include "geometry/vectors.hpp"

#include <cmath>

namespace korbast::geometry {

void scalprodn(float* sp, const float* ua, const float* va, int ld, int m) {
  for (int j = 0; j < m; ++j) {
    float s = 0.0f;
    for (int i = 0; i < ld; ++i) s += ua[j * ld + i] * va[j * ld + i];
    sp[j] = s;
  }
}

void vecnorm(float* vn, const float* v, int ld, int m) {
  scalprodn(vn, v, v, ld, m);
  for (int j = 0; j < m; ++j) vn[j] = std::sqrt(vn[j]);
}

void vecprod3d(float* wa, const float* ua, const float* va, int n) {
  static const int kPlus1[3] = {2, 3, 1};  // moduri(k + 1, 3) for k = 1, 2, 3
  static const int kPlus2[3] = {3, 1, 2};  // moduri(k + 2, 3)
  for (int i = 0; i < n; ++i) {
    const float* u = ua + 3 * i;
    const float* v = va + 3 * i;
    float w[3];
    for (int k = 0; k < 3; ++k) {
      const int j1 = kPlus1[k] - 1;
      const int j2 = kPlus2[k] - 1;
      w[k] = u[j1] * v[j2] - u[j2] * v[j1];
    }
    wa[3 * i] = w[0];
    wa[3 * i + 1] = w[1];
    wa[3 * i + 2] = w[2];
  }
}

void moduri(int* io, const int* ii, int m, int n) {
  if (m <= 0) return;  // no cycle to reduce into: leave the output untouched
  for (int k = 0; k < n; ++k) {
    const int v = ii[k];
    const int r = v % m;  // remainder truncated toward zero
    if (v > m) {
      io[k] = (r == 0) ? m : r;
    } else if (v >= 1) {
      io[k] = v;
    } else {
      io[k] = r + m;
    }
  }
}

}  // namespace korbast::geometry
