#include "projection/projection.hpp"

#include <cstring>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "projection/geometry.hpp"
#include "projection/menu.hpp"
#include "projection/setups.hpp"
#include "projection/table.hpp"

namespace korbast::projection {

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

// Projects with the routine of `code`; false when no projection has that code.
bool dispatch(int code, float* x, float* y, const float* rlong, const float* rlat, int n) {
  const ProjectionEntry* p = find_projection(code);
  if (p == nullptr) return false;
  if (p->oblique) {
    lla2llb(x, y, rlong, rlat, n);
    p->forward(x, y, x, y, n);
  } else {
    p->forward(x, y, rlong, rlat, n);
  }
  return true;
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
