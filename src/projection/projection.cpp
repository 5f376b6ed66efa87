#include "projection/projection.hpp"

#include <cstring>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "projection/azimuthal.hpp"
#include "projection/conic.hpp"
#include "projection/cylindrical.hpp"
#include "projection/ellipsoidal.hpp"
#include "projection/geometry.hpp"
#include "projection/menu.hpp"
#include "projection/setups.hpp"

namespace korbast::projection {

ProjtypeBlock projtype{};
LlorigBlock llorig{};
LlpparamBlock llpparam{};
EllipsoidBlock ellipsoid{};
ForimwpolyBlock forimwpoly{};
A2bBlock a2b{};

void reset_projection_blocks() {
  projtype = ProjtypeBlock{};
  llorig = LlorigBlock{};
  llpparam = LlpparamBlock{};
  ellipsoid = EllipsoidBlock{};
  forimwpoly = ForimwpolyBlock{};
  a2b = A2bBlock{};
  detail::reset_setup_state();
}

namespace {

constexpr const char* kName = "projlln";
constexpr const char* kVersion = "5";
constexpr const char* kDate = "01-10-2009";

void report_unknown_code(int code) {
  namespace fmt = frame::fmt;
  const int out = frame::iocom.stdout_unit;
  frame::errorhead(kName, kVersion, kDate);
  frame::units::write_line(out, fmt::Line().item("iproj = ").x().i(code, 4).str());
  frame::units::write_line(out, fmt::Line().item("NO SUCH PROJECTION AVALAIBLE").str());
  frame::units::write_line(out, fmt::Line().item("==> RESET PROJECTION").str());
  frame::errortail00();
}

// Puts a known code back after an unknown one was found: the whole projection set-up is
// initialised again with its menus, and leaves a code from 1 to 25.
void reset_projection_code() {
  int scratch = 0;
  sprojll2(scratch, 4);
}

// Projects with the routine of `code`; false when no routine has that code.
bool dispatch(int code, float* x, float* y, const float* rlong, const float* rlat, int n) {
  switch (code) {
    case 1: tm2(x, y, rlong, rlat, n); return true;
    case 2: tme2(x, y, rlong, rlat, n); return true;
    case 3: lcc2(x, y, rlong, rlat, n); return true;
    case 4: lcce2(x, y, rlong, rlat, n); return true;
    case 5: lazea2(x, y, rlong, rlat, n); return true;
    case 6:
      lla2llb(x, y, rlong, rlat, n);
      lazea2(x, y, x, y, n);
      return true;
    case 7:
      inverspsll(x, y, rlong, rlat, n, llpparam.anglep1, llorig.xorig, llorig.yorig);
      return true;
    case 8:
      lla2llb(x, y, rlong, rlat, n);
      inverspsll(x, y, x, y, n, llpparam.anglep1, llorig.xorig, llorig.yorig);
      return true;
    case 9:
      orthogpsll(x, y, rlong, rlat, n, llpparam.anglep1, llorig.xorig, llorig.yorig);
      return true;
    case 10: orthobl2(x, y, rlong, rlat, n); return true;
    case 11:
      perspvpsll2(x, y, rlong, rlat, n, llpparam.pconst2, llpparam.pconst1, llorig.xorig,
                  llorig.yorig);
      return true;
    case 12: persobl2(x, y, rlong, rlat, n); return true;
    case 13: polyco2(x, y, rlong, rlat, n); return true;
    case 14: imwpoly2(x, y, rlong, rlat, n); return true;
    case 15: mersphe2(x, y, rlong, rlat, n); return true;
    case 16: merel2(x, y, rlong, rlat, n); return true;
    case 17: gnomopsll(x, y, rlong, rlat, n, llorig.xorig, llorig.yorig); return true;
    case 18:
      lla2llb(x, y, rlong, rlat, n);
      gnomopsll(x, y, x, y, n, llorig.xorig, llorig.yorig);
      return true;
    case 19: albesph2(x, y, rlong, rlat, n); return true;
    case 20: bonnesph2(x, y, rlong, rlat, n); return true;
    case 21: wernesphe2(x, y, rlong, rlat, n); return true;
    case 22: sanflamsph2(x, y, rlong, rlat, n); return true;
    case 23: lcnesphe2(x, y, rlong, rlat, n); return true;
    case 24: mollw2(x, y, rlong, rlat, n); return true;
    case 25: grinte2(x, y, rlong, rlat, n); return true;
    default: return false;
  }
}

}  // namespace

void projlln(float* x, float* y, const float* rlong, const float* rlat, int n) {
  // One reset is enough: it always leaves a known code.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (dispatch(projtype.iproj, x, y, rlong, rlat, n)) return;
    report_unknown_code(projtype.iproj);
    reset_projection_code();
  }
}

}  // namespace korbast::projection
