// The pieces of the map-line layer shared by the menu and the file readers: the settings, the
// listings and the two ways a file ends.
#include "maps/lines.hpp"

#include <string>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"
#include "maps/line_formats.hpp"

namespace korbast::maps {

ContoursSettings contours_settings;

namespace {

namespace fmt = frame::fmt;
using frame::iocom;
using frame::say;
using frame::say_int;
using frame::say_item;

}  // namespace


std::string listing_titles(int type) {
  static constexpr std::string_view all[8] = {"line #", "code", "# points", "type",
                                              "west",   "east", "south",    "north"};
  fmt::Line l(" |");
  auto title = [&](int k) { l.a(all[k], 7).lit("|"); };
  switch (type) {
    case 1:
      title(0);
      title(2);
      break;
    case 3:
      title(0);
      title(1);
      title(2);
      break;
    case 5:
      for (int k = 0; k < 8; ++k) title(k);
      break;
    default:
      title(0);
      break;
  }
  return l.str();
}

std::string listing_line(const int* ints, int nint, const float* reals, int nreal) {
  // (1x,'|',2(i6,1x,'|'),1(i7,'|'),1(i6,1x,'|'),4(f7.1,'|'))
  fmt::Line l(" |");
  for (int k = 0; k < nint && k < 4; ++k) {
    if (k == 2) {
      l.i(ints[k], 7).lit("|");
    } else {
      l.i(ints[k], 6).x().lit("|");
    }
  }
  if (nint >= 4)
    for (int k = 0; k < nreal && k < 4; ++k) l.f(reals[k], 7, 1).lit("|");
  return l.str();
}

std::string listing_reduced(float west2, float east2) {
  // (1x,'|',4(7x,'|'),2(f7.1,'|'),2(7x,'|'))
  fmt::Line l(" |");
  for (int k = 0; k < 4; ++k) l.x(7).lit("|");
  l.f(west2, 7, 1).lit("|").f(east2, 7, 1).lit("|");
  for (int k = 0; k < 2; ++k) l.x(7).lit("|");
  return l.str();
}

void listing_head(int type, std::string_view heading) {
  if (!iocom.lwito(2)) return;
  frame::say_rule('-', 65);
  say_item(heading);
  if (type == 1) {
    say(listing_titles(type));
    frame::say_rule('-', 65);
    return;
  }
  frame::say_rule('-', 65);
  if (type == 6) return;
  say(listing_titles(type));
  frame::say_rule('-', 65);
}

void normal_end(const LineFile& file) {
  frame::units::close(kLineUnit);
  frame::say_rule();
  say_int("total nb of plotted curves = ", file.curves, 6);
  say(fmt::Line().item("input file").item(file.name).item("closed").str());
  frame::menutail();
}

void read_error_end(const LineFile& file) {
  frame::units::close(kLineUnit);
  frame::errorhead(id_contours1);
  say(fmt::Line().item("WHILE READING FILE").item(file.name).str());
  say(fmt::Line().item("input file").item(file.name).item("closed").str());
  frame::errortail00();
}

}  // namespace korbast::maps
