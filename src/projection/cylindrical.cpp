#include "projection/cylindrical.hpp"

namespace korbast::projection {

const float rmolle[92] = {
    0.0f,  0.8f,  1.6f,  2.4f,  3.1f,  3.9f,  4.7f,  5.5f,  6.3f,  7.1f,  7.9f,  8.7f,
    9.4f,  10.2f, 11.0f, 11.8f, 12.6f, 13.4f, 14.2f, 15.0f, 15.8f, 16.6f, 17.4f, 18.2f,
    19.0f, 19.8f, 20.6f, 21.4f, 22.2f, 23.0f, 23.8f, 24.6f, 25.5f, 26.3f, 27.1f, 27.9f,
    28.7f, 29.6f, 30.4f, 31.2f, 32.1f, 32.9f, 33.8f, 34.6f, 35.5f, 36.3f, 37.2f, 38.0f,
    38.9f, 39.8f, 40.6f, 41.5f, 42.4f, 43.3f, 44.2f, 45.1f, 46.0f, 46.9f, 47.8f, 48.7f,
    49.7f, 50.6f, 51.6f, 52.5f, 53.5f, 54.5f, 55.5f, 56.5f, 57.5f, 58.5f, 59.5f, 60.6f,
    61.6f, 62.7f, 63.8f, 65.0f, 66.1f, 67.3f, 68.5f, 69.7f, 71.0f, 72.3f, 73.6f, 75.0f,
    76.5f, 78.1f, 79.7f, 81.5f, 83.5f, 85.9f, 90.0f, 90.0f};

void mersphe2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<Mercator>(x, y, rlong, rlat, n);
}

void lcnesphe2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<CylindricalEqualArea>(x, y, rlong, rlat, n);
}

void sanflamsph2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<Sinusoidal>(x, y, rlong, rlat, n);
}

void mollw2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<Mollweide>(x, y, rlong, rlat, n);
}

void grinte2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<VanDerGrinten>(x, y, rlong, rlat, n);
}

void tm2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<TransverseMercator>(x, y, rlong, rlat, n);
}

}  // namespace korbast::projection
