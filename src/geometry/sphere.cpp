#include "geometry/sphere.hpp"

namespace korbast::geometry {

void mtrans(float* a, const float* b) {
  float t[9];
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) t[3 * i + j] = b[3 * j + i];
  for (int k = 0; k < 9; ++k) a[k] = t[k];
}

}  // namespace korbast::geometry
