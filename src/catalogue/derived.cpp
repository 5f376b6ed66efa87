#include "catalogue/derived.hpp"

#include <cmath>

#include "catalogue/gcmtblk.hpp"
#include "catalogue/reader_id.hpp"
#include "catalogue/seistest.hpp"
#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "geometry/sphere.hpp"
#include "geometry/vectors.hpp"

namespace korbast::catalogue {

namespace {

constexpr float undefined_value = 10.0f;
constexpr float free_error = 0.001f;

// A text and a real in 12 columns with 3 decimals, "(1x,a,1x,f12.3)".
void value_line_f12_3(const char* text, float v) {
  frame::fmt::Line s;
  s.item(text).x().f(v, 12, 3);
  frame::units::write_line(frame::iocom.stdout_unit, s.str());
}

}  // namespace

float clvd_ratio(float t, float b, float p, float& m, bool& defined) {
  m = std::fmax(std::fabs(t), std::fabs(p));
  defined = m > 0.0f;
  if (!defined) return undefined_value;
  return -b / m;
}

float relative_moment_error(const float tmomt[6], const float tmomte[6], float& n, float& d,
                            bool& defined) {
  n = 0.0f;
  d = 0.0f;
  for (int j = 0; j < 3; ++j) {
    n += tmomt[j] * tmomt[j];
    d += tmomte[j] * tmomte[j];
  }
  for (int j = 3; j < 6; ++j) {
    n += (2.0f * tmomt[j]) * tmomt[j];
    d += (2.0f * tmomte[j]) * tmomte[j];
  }
  defined = n > 0.0f;
  if (!defined) return undefined_value;
  float q = d / n;
  return static_cast<float>(std::sqrt(static_cast<double>(q)));
}

int free_components(const float tmomte[6]) {
  int n = 0;
  for (int j = 0; j < 6; ++j) {
    if (tmomte[j] >= free_error) ++n;
  }
  return n;
}

bool polygon_test(float rlong, float rlat) {
  const Seistest2& c = seistest2;
  for (int k = 0; k < c.nvertex && k < maxvertex; ++k) {
    float sp = 0.0f;
    if (c.polygc) {
      // The epicentre's direction cosines, converted in place on a work vector.
      float w[3] = {rlong, rlat, 0.0f};
      frame::deg2rad(w, w, 2);
      geometry::ll2ccn(&w[0], &w[1], &w[2], &w[0], &w[1], 1);
      geometry::scalprodn(&sp, w, c.vnrm1[k], 3, 1);
    } else {
      float w[2] = {rlong - c.vrtxlong[k], rlat - c.vrtxlat[k]};
      geometry::scalprodn(&sp, w, c.vnrm1[k], 2, 1);
    }
    if (sp < 0.0f) return false;
  }
  return true;
}

bool rake_in_intervals(float rake) {
  const Seistest2& c = seistest2;
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && !c.testrake[i]) continue;
    if (c.rakeint[i][0] <= rake && rake <= c.rakeint[i][1]) return true;
  }
  return false;
}

bool position_tests(int k) {
  const Seistest2& c = seistest2;
  const Gcmtblk& g = gcmtblk;
  const int i = k - 1;
  if (!c.testgen) return true;
  if (c.testlat && (g.rlat[i] < c.latmin || g.rlat[i] > c.latmax)) return false;
  if (c.testlong && (g.rlong[i] < c.longmin || g.rlong[i] > c.longmax)) return false;
  if (c.testdepth && (g.depth[i] < c.depthmin || g.depth[i] > c.depthmax)) return false;
  if (c.testpoly && !polygon_test(g.rlong[i], g.rlat[i])) return false;
  if (c.testrake[0]) {
    const bool a1 = rake_in_intervals(g.rakd0[0][i]);
    const bool a2 = rake_in_intervals(g.rakd0[1][i]);
    if (c.rakeboth ? !(a1 && a2) : !(a1 || a2)) return false;
  }
  return true;
}

bool record_step(int k) {
  const Seistest2& c = seistest2;
  Gcmtblk& g = gcmtblk;
  const int i = k - 1;
  if (!position_tests(k)) return false;

  float m = 0.0f;
  bool defined = true;
  g.fclvd[i] = clvd_ratio(g.tmval[0][i], g.tmval[1][i], g.tmval[2][i], m, defined);
  if (!defined) {
    frame::warninghead(reader_id);
    value_line_f12_3("Max(|mT|,|mP|) =", m);
    value_line_f12_3("setting fclvd  =", g.fclvd[i]);
    frame::warningtail00();
  }

  float n = 0.0f;
  float d = 0.0f;
  g.erelm[i] = relative_moment_error(g.tmomt[i], g.tmomte[i], n, d, defined);
  if (!defined) {
    frame::warninghead(reader_id);
    value_line_f12_3("||M0||**2  =", n);
    value_line_f12_3("||DM0||**2 =", d);
    value_line_f12_3("Setting ||DM0||/||M0|| =", g.erelm[i]);
    frame::warningtail00();
  }

  g.nmfree[i] = free_components(g.tmomte[i]);

  if (c.testgen && c.testqual) {
    if (std::fabs(g.fclvd[i]) > c.fclvdmax) return false;
    if (g.erelm[i] > c.erelmax) return false;
    if (g.nmfree[i] < c.nfreemin) return false;
  }
  return true;
}

}  // namespace korbast::catalogue
