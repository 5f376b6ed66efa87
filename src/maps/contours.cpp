// The map-line menu: the clipping switch with the map window, the sampling density of the
// selection-polygon sides, and one command per line file type.
#include "maps/contours.hpp"

#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/filetable.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/text.hpp"
#include "maps/clip.hpp"
#include "maps/line_formats.hpp"
#include "maps/lines.hpp"
#include "projection/menu.hpp"
#include "projection/setups.hpp"

namespace korbast::maps {

namespace {

namespace fmt = frame::fmt;
using frame::iocom;
using frame::say;
using frame::say_item;

// The file name as the messages show it; the file itself is opened under its full name.
constexpr std::size_t kNameLength = 30;

constexpr std::string_view kTypeLines[6] = {
    " UTIG coast file.............1", " IGN  coast file.............2",
    " GEBCO file..................3", " USGS ascii dump file .......4",
    " Tarvel gshhs ascii file ....5", " Selection polygon file .....6"};

constexpr std::string_view kExplanation[6] = {"UTIG coastline",       "IGN line",
                                              "GEBCO line",           "USGS ASCII dump line",
                                              "Tarvel ASCII polygons", "Selection polygon"};

std::string_view heading(int type, bool clip) {
  switch (type) {
    case 1: return clip ? "UTIG coastline with clipping" : "UTIG coastline without clipping";
    case 2: return clip ? "IGN line with clipping" : "IGN line without clipping";
    case 3: return "GEBCO line (no clipping)";
    case 4: return "USGS ASCII dump line (no clipping)";
    case 5:
      return clip ? "Tarvel ASCII polygons with clipping"
                  : "Tarvel ASCII polygons without clipping";
    default: return "Selection polygons (no clipping)";
  }
}

std::string two_reals(float a, float b) { return fmt::Line().x().f(a, 9, 3).x(7).f(b, 9, 3).str(); }

void menu_body(const ClipFrame& frame, float longmin, float longmax, float latmin,
               float latmax) {
  const auto& st = contours_settings;
  frame::say_rule();
  say_item(" MAPPING CONTOURS");
  frame::say_rule();
  say(fmt::Line().item("Clipping on ................10").x().l(st.lclip, 1).str());
  if (st.lclip) {
    frame::say_real("  _|_________________|_ latmax =", latmax, 9, 3);
    say_item("   |                 |");
    say_item("   |                 |");
    frame::say_real("  _|_________________|_ latmin =", latmin, 9, 3);
    say_item("   |                 |");
    say_item("longmin           longmax");
    say(two_reals(longmin, longmax));
    say(two_reals(frame.longmin2, frame.longmax2));
    frame::say_real("Longitude origin =", frame.longorig, 9, 3);
  }
  frame::say_real("Nb of points for 1 deg .....11", st.ptsperdeg, 9, 3);
  frame::say_rule('-', 30);
  say_item("TYPE OF LINE FILE:");
  for (auto line : kTypeLines) say_item(line);
  frame::say_rule();
  say_item("EXIT .......................99");
}

// One line file: opened (asking until a file opens), listed, drawn curve by curve, closed.
void line_file(int type, frame::FileName<kNameLength>& name, const ClipFrame& frame,
               float longmin, float longmax, float latmin, float latmax) {
  auto& st = contours_settings;
  frame::opef2(name, kExplanation[type - 1], kLineUnit, "old", 0);
  const bool clip = st.lclip && (type == 1 || type == 2 || type == 5);
  const frame::Text<35> head(heading(type, st.lclip));
  LineFile f;
  f.type = type;
  f.clip = clip;
  f.window = {longmin, longmax, latmin, latmax};
  f.frame = frame;
  f.ptsperdeg = &st.ptsperdeg;
  f.curves = 0;
  f.name = name.shown.str();
  listing_head(type, head.view());
  if (read_line_file(f) == LineEnd::Normal) {
    normal_end(f);
  } else {
    read_error_end(f);
  }
}

void contours_for_projection(frame::Mode mode) {
  // The initialising mode does not read the window.
  contours1(0.0f, 0.0f, 0.0f, 0.0f, mode);
}

}  // namespace

void contours1(float longmin, float longmax, float latmin, float latmax, frame::Mode mode) {
  auto& st = contours_settings;
  if (mode.from_default()) {
    frame::submenuhead(id_contours1);
    say(" INITIALIZING MAP CONTOURS");
    st = ContoursSettings{};
    return;
  }
  ClipFrame frame;
  if (st.lclip) clipping_frame(frame, longmin, longmax);
  // The name lives for this call: the dialog offers the file opened last in it, whole.
  frame::FileName<kNameLength> name;
  for (;;) {
    frame::submenuhead(id_contours1);
    if (iocom.lwito(2)) {
      menu_body(frame, longmin, longmax, latmin, latmax);
      frame::menutail();
    }
    int choice = 99;
    int status = 0;
    frame::inintegvindef(choice, "type of line file", 99, 1, 99, status);
    switch (choice) {
      case 99:
        return;
      case 10:
        frame::inlogicdef(st.lclip, "clip to grid bounds", st.lclip, status);
        if (st.lclip) clipping_frame(frame, longmin, longmax);
        break;
      case 11:
        frame::inrealdef(st.ptsperdeg, "Nb of points for 1 deg (polygons)", st.ptsperdeg,
                         status);
        break;
      case 1: case 2: case 3: case 4: case 5: case 6:
        line_file(choice, name, frame, longmin, longmax, latmin, latmax);
        break;
      default:
        frame::answer_refused();  // inside the bounds, but no choice of the menu
        break;
    }
  }
}

void register_projection_hooks() { projection::set_contours_hook(contours_for_projection); }

}  // namespace korbast::maps
