#include "projection/azimuthal.hpp"

#include <cmath>

namespace korbast::projection {

void spers2() {
  const float half = llpparam.anglep1 / 2.0f;
  derived.perspective.sin_half = std::sin(half);
  derived.perspective.cos_half = std::cos(half);
}

void lazea2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<LambertAzimuthal>(x, y, rlong, rlat, n);
}

void inverspsll(float* x, float* y, const float* rlong, const float* rlat, int n, float amax,
                float x0, float y0) {
  forward_points(Stereographic{amax}, x0, y0, x, y, rlong, rlat, n);
}

void orthogpsll(float* x, float* y, const float* rlong, const float* rlat, int n, float amax,
                float x0, float y0) {
  forward_points(Orthographic{amax}, x0, y0, x, y, rlong, rlat, n);
}

void orthobl2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<OrthographicOblique>(x, y, rlong, rlat, n);
}

void perspvpsll2(float* x, float* y, const float* rlong, const float* rlat, int n,
                 float cos_half, float sin_half, float x0, float y0) {
  forward_points(PerspectivePolar{{sin_half, cos_half}}, x0, y0, x, y, rlong, rlat, n);
}

void persobl2(float* x, float* y, const float* rlong, const float* rlat, int n) {
  forward_points<PerspectiveOblique>(x, y, rlong, rlat, n);
}

void gnomopsll(float* x, float* y, const float* rlong, const float* rlat, int n, float x0,
               float y0) {
  forward_points(Gnomonic{}, x0, y0, x, y, rlong, rlat, n);
}

std::string_view view_angle_problem(float alpha) {
  if (alpha > 0.0f && alpha < 180.0f) return {};
  return "THE ANGLE OF VIEW MUST LIE IN ]0,180[";
}

}  // namespace korbast::projection
