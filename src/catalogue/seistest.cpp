#include "catalogue/seistest.hpp"

#include <cmath>
#include <string>
#include <string_view>

#include "catalogue/lines.hpp"
#include "catalogue/reader_id.hpp"
#include "frame/angles.hpp"
#include "frame/dialog.hpp"
#include "frame/filetable.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/listread.hpp"
#include "frame/text.hpp"
#include "frame/units.hpp"
#include "geometry/sphere.hpp"
#include "geometry/vectors.hpp"

namespace korbast::catalogue {

Seistest2 seistest2;

namespace {

constexpr int polygon_unit = 61;

void set_defaults() {
  Seistest2& c = seistest2;
  c.nfreemin = 6;
  c.nvertex = 3;
  c.latmin = -90.0f;
  c.latmax = 90.0f;
  c.longmin = -180.0f;
  c.longmax = 180.0f;
  c.depthmin = 0.0f;
  c.depthmax = 50.0f;
  for (auto& r : c.rakeint) {
    r[0] = -180.0f;
    r[1] = 180.0f;
  }
  // Vertices 4 to 9 keep what they hold.
  const float lat[3] = {0.0f, 60.0f, 0.0f};
  const float lon[3] = {0.0f, 0.0f, 60.0f};
  for (int k = 0; k < 3; ++k) {
    c.vrtxlat[k] = lat[k];
    c.vrtxlong[k] = lon[k];
  }
  c.fclvdmax = 0.2f;
  c.erelmax = 0.15f;
  c.testgen = false;
  c.testlat = false;
  c.testlong = false;
  c.testdepth = false;
  c.testpoly = false;
  c.polygc = true;
  c.rakeboth = false;
  for (bool& t : c.testrake) t = false;
  c.testqual = false;
}

// ---- menu ----

void show_menu() {
  const Seistest2& c = seistest2;
  frame::say_rule();
  text_line("WHAT IS TO BE TESTED ? (Angles in degrees) ");
  frame::say_rule();
  flag_line("general test switch ..........10", c.testgen);
  frame::say_rule('-', 32);
  flag_line("test latitude ...............100", c.testlat);
  if (c.testlat) {
    value_line_f8_3("latitude mini ...............110", c.latmin);
    value_line_f8_3("latitude maxi ...............110", c.latmax);
    frame::say_rule('-', 32);
  }
  flag_line("test longitude ..............200", c.testlong);
  if (c.testlong) {
    value_line_f8_3("longitude mini ..............210", c.longmin);
    value_line_f8_3("longitude maxi ..............210", c.longmax);
    frame::say_rule('-', 32);
  }
  flag_line("test polygon ................250", c.testpoly);
  if (c.testpoly) {
    flag_line("great circle polygon ........251", c.polygc);
    flag_line("lat-long polygon ............251", !c.polygc);
    count_line("min number of vertices ........:", 3);
    count_line("max number of vertices ........:", maxvertex);
    text_line("read polygon from file ......252");
    count_line("number of vertices ..........253", c.nvertex);
    text_line("- - - - - - - - - - - - - - - - ");
    frame::fmt::Line h;
    h.x().a("longitude", 8).x().a("latitude", 8).x().rep(".", 7).a("command", 7);
    say(h.str());
    for (int k = 0; k < c.nvertex && k < maxvertex; ++k) {
      frame::fmt::Line v;
      v.x().f(c.vrtxlong[k], 8, 3).x().f(c.vrtxlat[k], 8, 3).x().rep(".", 11).i(261 + k, 3);
      say(v.str());
    }
    frame::say_rule('-', 32);
  }
  flag_line("test depth ..................300", c.testdepth);
  if (c.testdepth) {
    value_line_f8_3("depth mini ..................310", c.depthmin);
    value_line_f8_3("depth maxi ..................310", c.depthmax);
    frame::say_rule('-', 32);
  }
  flag_line("test rake on both planes.....501", c.rakeboth);
  text_line("test union of intervals 1,2,3");
  flag_line("test rake interval 1 ........500", c.testrake[0]);
  if (c.testrake[0]) {
    value_line_f8_3("rake mini interval 1.........510", c.rakeint[0][0]);
    value_line_f8_3("rake maxi interval 1.........510", c.rakeint[0][1]);
  }
  flag_line("test rake interval 2.........520", c.testrake[1]);
  if (c.testrake[1]) {
    value_line_f8_3("rake mini interval 2.........530", c.rakeint[1][0]);
    value_line_f8_3("rake maxi interval 2.........530", c.rakeint[1][1]);
  }
  flag_line("test rake interval 3.........540", c.testrake[2]);
  if (c.testrake[2]) {
    value_line_f8_3("rake mini interval 3.........550", c.rakeint[2][0]);
    value_line_f8_3("rake maxi interval 3.........550", c.rakeint[2][1]);
  }
  if (c.testrake[0] || c.testrake[1] || c.testrake[2]) frame::say_rule('-', 32);
  flag_line("test Frohlich quality........600", c.testqual);
  if (c.testqual) {
    value_line_f8_3("fclvd maxi ..................610", c.fclvdmax);
    value_line_f8_3("moment relative error maxi ..620", c.erelmax);
    count_line("moment free components min ..630", c.nfreemin);
  }
  frame::say_rule();
  text_line("EXIT .........................99");
  frame::say_rule();
}

void ask_logic(bool& v, std::string_view prompt) {
  int status = 0;
  frame::inlogicdef(v, pad35(prompt), v, status);
}
void ask_real(float& v, std::string_view prompt) {
  int status = 0;
  frame::inrealdef(v, pad35(prompt), v, status);
}
void ask_int(int& v, std::string_view prompt) {
  int status = 0;
  frame::inintegdef(v, pad35(prompt), v, status);
}

// The closing lines of a failed polygon file (steps after a read error or an early end).
void polygon_input_failed(std::string_view name) {
  text_line("=> POLYGON INPUT FAILED");
  seistest2.nvertex = 0;
  count_line("RESETTING # vertices =", 0);
  frame::units::close(polygon_unit);
  text_line("Polygon file", name, "is closed");
  frame::warningtail00();
}

// The polygon file: the name offered is the whole name last given; the messages show the
// 35 characters kept of it.
void read_polygon_file(frame::FileName<35>& name) {
  Seistest2& c = seistest2;
  frame::opef2(name, pad35("polygon input"), polygon_unit, "old", 0);
  const std::string_view shown = name.shown.trimmed();

  int nread = c.nvertex;
  int itype = 0;
  {
    frame::ListReader r(polygon_unit);
    r.i(nread).i(itype);
    if (!r.ok()) {
      frame::warninghead(criteria_id);
      text_line("END OF FILE REACHED UNEXPECTEDLY");
      polygon_input_failed(shown);
      return;
    }
  }
  c.nvertex = nread;
  if (c.nvertex > maxvertex) {
    frame::warninghead(criteria_id);
    count_line("Read number of vertices =", c.nvertex);
    count_line("Max  number of vertices =", maxvertex);
    text_line("=> RESETTING:");
    c.nvertex = maxvertex;
    count_line("Reset number of vertices =", maxvertex);
    frame::warningtail00();
  }
  c.polygc = itype == 1;
  for (int k = 0; k < c.nvertex; ++k) {
    frame::ListReader r(polygon_unit);
    r.f(c.vrtxlong[k]).f(c.vrtxlat[k]);
    if (r.status() == frame::ListStatus::Error) {
      frame::warninghead(criteria_id);
      count_line("Error while reading data # =", k + 1);
      polygon_input_failed(shown);
      return;
    }
    if (r.status() == frame::ListStatus::Eof) {
      frame::warninghead(criteria_id);
      text_line("END OF FILE REACHED UNEXPECTEDLY");
      polygon_input_failed(shown);
      return;
    }
  }
  frame::units::close(polygon_unit);
  frame::submenuhead(criteria_id);
  text_line("Polygon file", shown, "is closed");
  count_line("Could read up to:", maxvertex, "vertices");
  count_line("Actually read   :", c.nvertex, "vertices");
  text_line("- - - - - - - - - - - - - - - - - - - - - -");
}

// Warnings for a polygon that passes the check but cannot select what its vertices
// suggest: too few vertices, or vertices not running counter-clockwise around a convex
// polygon.
void polygon_shape_warnings() {
  const Seistest2& c = seistest2;
  if (c.nvertex < 3) {
    frame::warninghead(criteria_id);
    count_line("number of vertices =", c.nvertex);
    text_line("A POLYGON NEEDS AT LEAST 3 VERTICES");
    if (c.nvertex <= 0) {
      text_line("=> POLYGON TEST REJECTS NO DATA");
    } else {
      text_line("=> POLYGON TEST KEEPS ONLY DATA ON");
      text_line("   THE LINE THROUGH ITS VERTICES");
    }
    frame::warningtail00();
    return;
  }
  if (polygon_not_counterclockwise()) {
    frame::warninghead(criteria_id);
    text_line("POLYGON IS CLOCKWISE OR NOT CONVEX");
    text_line("THE TEST KEEPS DATA INSIDE A CONVEX");
    text_line("POLYGON WITH COUNTER-CLOCKWISE VERTICES");
    text_line("=> SELECTION MAY NOT BE WHAT IS MEANT");
    frame::warningtail00();
  }
}

// The polygon check on leaving the criteria; true when the caller may leave.
bool polygon_check(frame::Mode mode) {
  if (!seistest2.testpoly) return true;
  int status = 0;
  spolygontst(status, mode);
  if (status != 0) {
    frame::warninghead(criteria_id);
    if (mode.silent() || frame::iocom.command_file) {
      text_line("PROBLEM IN POLYGON CONTOUR");
      if (frame::iocom.command_file) text_line("=> PROCEEDING WITH COMMAND FILE");
      frame::warningtail00();
      return true;
    }
    text_line("NEED TO FIX POLYGON CONTOUR");
    text_line("           OR");
    text_line("DISABLE POLYGON SELECTION");
    text_line("=> BACK TO INTERACTIVE MENU");
    frame::warningtail00();
    return false;
  }
  polygon_shape_warnings();
  return true;
}

void run_command(int choice, frame::FileName<35>& polyname) {
  Seistest2& c = seistest2;
  switch (choice) {
    case 10: ask_logic(c.testgen, "activate test"); break;
    case 100: ask_logic(c.testlat, "activate latitude test"); break;
    case 110:
      ask_real(c.latmin, "minimum latitude");
      ask_real(c.latmax, "maximum latitude");
      break;
    case 200: ask_logic(c.testlong, "activate longitude test"); break;
    case 210:
      ask_real(c.longmin, "minimum longitude");
      ask_real(c.longmax, "maximum longitude");
      break;
    case 250: ask_logic(c.testpoly, "activate polygon test"); break;
    case 251: ask_logic(c.polygc, "bound polygon by great circle"); break;
    case 252: read_polygon_file(polyname); break;
    case 253: {
      int status = 0;
      frame::inintegvindef(c.nvertex, pad35("number of vertices"), c.nvertex, 3, maxvertex,
                           status);
      break;
    }
    case 300: ask_logic(c.testdepth, "activate depth test"); break;
    case 310:
      ask_real(c.depthmin, "minimum depth");
      ask_real(c.depthmax, "maximum depth");
      break;
    case 501: ask_logic(c.rakeboth, "rake on both planes"); break;
    case 500: ask_logic(c.testrake[0], "to test rake 1st interv"); break;
    case 510:
      ask_real(c.rakeint[0][0], "minimum rake 1");
      ask_real(c.rakeint[0][1], "maximum rake 1");
      break;
    case 520: ask_logic(c.testrake[1], "to test rake 2nd interv"); break;
    case 530:
      ask_real(c.rakeint[1][0], "minimum rake 2");
      ask_real(c.rakeint[1][1], "maximum rake 2");
      break;
    case 540: ask_logic(c.testrake[2], "to test rake 3rd interv"); break;
    case 550:
      ask_real(c.rakeint[2][0], "minimum rake 3");
      ask_real(c.rakeint[2][1], "maximum rake 3");
      break;
    case 600: ask_logic(c.testqual, "to carry frohlich 3 tests"); break;
    case 610: ask_real(c.fclvdmax, "maximum abs(fclvd)"); break;
    case 620: ask_real(c.erelmax, "maximum rel error mij"); break;
    case 630: ask_int(c.nfreemin, "minimum # of free mij"); break;
    default:
      if (choice >= 261 && choice <= 260 + c.nvertex && choice <= 260 + maxvertex) {
        frame::choice_taken();
        const int k = choice - 260;
        count_line("vertex number =", k);
        ask_real(c.vrtxlong[k - 1], "longitude");
        ask_real(c.vrtxlat[k - 1], "latitude");
      }
      break;
  }
}

}  // namespace

void setseistest6(frame::Mode mode) {
  if (mode.from_default()) {
    frame::submenuhead(criteria_id);
    text_line("INITIALIZING EXTRACTION TESTS");
    set_defaults();
    int status = 0;
    spolygontst(status, mode);
  }
  if (mode.silent()) {
    polygon_check(mode);
    return;
  }
  frame::FileName<35> polyname;
  for (;;) {
    int choice = 99;
    for (;;) {
      frame::submenuhead(criteria_id);
      if (frame::iocom.lwito(2)) show_menu();
      choice = frame::menu_choice(99);
      frame::take_choice(choice, {10, 99, 100, 110, 200, 210, 250, 251, 252, 253, 300, 310, 500,
                                  501, 510, 520, 530, 540, 550, 600, 610, 620, 630});
      if (choice == 99) break;
      run_command(choice, polyname);
    }
    if (polygon_check(mode)) return;
    frame::answer_refused();  // the exit, refused while the polygon is not usable
  }
}

namespace {

void side_report(int k, int next, bool gc) {
  const Seistest2& c = seistest2;
  frame::errorhead(polygon_id);
  flag_line("Test great circle:", c.polygc);
  text_line("INCONSISTENT CONTOUR:");
  {
    frame::fmt::Line h;
    h.x().a("Vertex #", 8).x().a("longitud", 8).x().a("latitude", 8);
    say(h.str());
  }
  for (int v : {k, next}) {
    frame::fmt::Line s;
    s.x().i(v + 1, 8).x().f(c.vrtxlong[v], 8, 3).x().f(c.vrtxlat[v], 8, 3);
    say(s.str());
  }
  text_line(gc ? "||OV1 x OV2|| = 0" : "||V1V2|| = 0");
  text_line("V2 = V1 ?");
  text_line("==> TEST IS UNRELIABLE:");
  text_line("==> IT NEED BE REDONE");
  text_line("    AFTER CONTOUR CORRECTION");
  frame::errortail00();
}

}  // namespace

void spolygontst(int& ierr, frame::Mode /*mode*/) {
  Seistest2& c = seistest2;
  ierr = 0;
  const int n = c.nvertex < maxvertex ? c.nvertex : maxvertex;
  if (c.polygc) {
    for (int k = 0; k < n; ++k) {
      float w[2] = {c.vrtxlong[k], c.vrtxlat[k]};
      frame::deg2rad(w, w, 2);
      geometry::ll2ccn(&c.vrtx1[k][0], &c.vrtx1[k][1], &c.vrtx1[k][2], &w[0], &w[1], 1);
    }
    for (int k = 0; k < n; ++k) {
      const int next = (k + 1) % n;
      geometry::vecprod3d(c.vnrm1[k], c.vrtx1[k], c.vrtx1[next], 1);
      if (c.vnrm1[k][0] == 0.0f && c.vnrm1[k][1] == 0.0f && c.vnrm1[k][2] == 0.0f) {
        side_report(k, next, true);
        ierr = 10;
      }
    }
  } else {
    for (int k = 0; k < n; ++k) {
      const int next = (k + 1) % n;
      c.vnrm1[k][0] = c.vrtxlat[k] - c.vrtxlat[next];
      c.vnrm1[k][1] = c.vrtxlong[next] - c.vrtxlong[k];
      c.vnrm1[k][2] = 0.0f;
      if (c.vnrm1[k][0] == 0.0f && c.vnrm1[k][1] == 0.0f) {
        side_report(k, next, false);
        ierr = 20;
      }
    }
  }
}

void gscseistest(float& latmin, float& latmax, float& longmin, float& longmax, float& depthmin,
                 float& depthmax) {
  const Seistest2& c = seistest2;
  latmin = c.latmin;
  latmax = c.latmax;
  longmin = c.longmin;
  longmax = c.longmax;
  depthmin = c.depthmin;
  depthmax = c.depthmax;
}

bool polygon_not_counterclockwise() {
  const Seistest2& c = seistest2;
  const int n = c.nvertex < maxvertex ? c.nvertex : maxvertex;
  for (int k = 0; k < n; ++k) {
    const int next = (k + 1) % n;
    for (int v = 0; v < n; ++v) {
      if (v == k || v == next) continue;
      float sp = 0.0f;
      if (c.polygc) {
        geometry::scalprodn(&sp, c.vrtx1[v], c.vnrm1[k], 3, 1);
        // A vertex on the great circle of a side may come out a rounding error below zero.
        if (sp < -1.0e-6f) return true;
      } else {
        const float w[2] = {c.vrtxlong[v] - c.vrtxlong[k], c.vrtxlat[v] - c.vrtxlat[k]};
        geometry::scalprodn(&sp, w, c.vnrm1[k], 2, 1);
        if (sp < 0.0f) return true;
      }
    }
  }
  return false;
}

}  // namespace korbast::catalogue
