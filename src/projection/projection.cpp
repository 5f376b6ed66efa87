#include "projection/projection.hpp"

#include "frame/angles.hpp"
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
  derived = DerivedBlock{};
  ellipsoid = EllipsoidBlock{};
  forimwpoly = ForimwpolyBlock{};
  a2b = A2bBlock{};
  detail::reset_setup_state();
}

namespace {

constexpr frame::Identity id_projlln{"projlln", "5", "01-10-2009"};

void report_unknown_code(int code) {
  namespace fmt = frame::fmt;
  const int out = frame::iocom.stdout_unit;
  frame::errorhead(id_projlln);
  frame::units::write_line(out, fmt::Line().item("iproj = ").x().i(code, 4).str());
  frame::units::write_line(out, fmt::Line().item("NO SUCH PROJECTION AVALAIBLE").str());
  frame::units::write_line(out, fmt::Line().item("==> RESET PROJECTION").str());
  frame::errortail00();
}

// Puts back the projection and origin the start-up initialisation chooses, without a dialog:
// the forward path never opens a menu.
void reset_projection_code() {
  projtype.iproj = kDefaultProjection;
  place_origin(frame::rad(kDefaultOriginLon), frame::rad(kDefaultOriginLat));
}

}  // namespace

void projlln(float* x, float* y, const float* rlong, const float* rlat, int n) {
  const ProjectionEntry* p = find_projection(projtype.iproj);
  if (p == nullptr) {
    report_unknown_code(projtype.iproj);
    reset_projection_code();
    p = find_projection(projtype.iproj);
  }
  if (p->oblique) {
    lla2llb(x, y, rlong, rlat, n);
    p->forward(x, y, x, y, n);
  } else {
    p->forward(x, y, rlong, rlat, n);
  }
}

}  // namespace korbast::projection
