// korbast: focal mechanisms and seismicity from centroid-moment-tensor catalogues.
//
// The main program: start-up, the main menu and its dispatch, the console listing, help
// and the end of the run.
#include <iostream>
#include <string>

#include "catalogue/gcmtblk.hpp"
#include "catalogue/listing.hpp"
#include "catalogue/gcmtread.hpp"
#include "catalogue/gcmtwrite.hpp"
#include "focal/beachball.hpp"
#include "frame/angles.hpp"
#include "frame/cmdfile.hpp"
#include "frame/dialog.hpp"
#include "frame/filetable.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/runinfo.hpp"
#include "frame/stop.hpp"
#include "frame/text.hpp"
#include "frame/units.hpp"
#include "maps/mapseis.hpp"
#include "plot/colortable.hpp"
#include "plot/life_cycle.hpp"
#include "plot/plotparam.hpp"
#include "plot/symboltype.hpp"

namespace {

using namespace korbast;
using frame::iocom;
using frame::Text;

constexpr frame::Identity id_korbast{"korbast", " 8.0", "06-05-2010"};


void help() {
  frame::say_rule('=');
  frame::say(" " + std::string("                  HELP                     "));
  frame::say_rule('=');
  frame::say(" " + std::string("       Did you REALLY expect help ?        "));
  frame::say(" " + std::string("              For more help                "));
  frame::say(" " + std::string("       read the README of korbast          "));
  frame::say_rule('=');
}

void main_menu(int capacity, const Text<35>& plotname, bool lsish) {
  using frame::fmt::Line;
  auto& store = catalogue::gcmtblk;
  frame::mainmenuhead(id_korbast);
  if (!iocom.lwito(2)) return;
  const auto& sish = frame::fiocom.oufnam[1];
  frame::say_rule();
  frame::say(Line().item("DATA").str());
  frame::say(Line().item("  Can store at most:").x().i(capacity, 6).str());
  frame::say(Line().item("  Currently stored :").x().i(store.nstored, 6).str());
  frame::say(Line().item("  Current data type:").x().i(store.idatatype, 6).str());
  frame::say(Line().item("  READ + EXTRACT DATA.......1000").str());
  frame::say(Line().item("  LIST DATA TO SCREEN ......1100").str());
  frame::say(Line().item("  WRITE DATA TO FILE .......1200").str());
  frame::say_rule();
  frame::say(Line().item("PLOT").str());
  frame::say(Line().item("  plot parameters ...........330").str());
  frame::say(Line().item("  OPEN  PLOT FILE ............10").item(plotname).str());
  frame::say(Line().item("  CLOSE PLOT FILE ............20").item(plotname).str());
  frame::say(Line().item("  PLOT MAP 1st Nodal Plane .2001").str());
  frame::say(Line().item("  PLOT MAP 2nd Nodal Plane .2002").str());
  frame::say(Line().item("  PLOT FOCAL MECHANISMS ....3000").str());
  frame::say_rule();
  frame::say(Line().item("Sh OUTPUT FILE while mapping").str());
  frame::say(Line().item("  WRITE TO Si-Sh FILE .........7").x().l(lsish, 1).str());
  frame::say(Line().item("  OPEN  Si-Sh OUTPUT FILE ....13").item(sish).str());
  frame::say(Line().item("  CLOSE Si-Sh OUTPUT FILE ....23").item(sish).str());
  frame::say_rule();
  frame::say(Line().item("Use command file............5000").str());
  frame::say(Line().item("FAST QUIT...................9999").str());
  frame::menutail();
}

// The stored events with nodal plane p (1 or 2), for a map run.
maps::MapEvents map_events(int p) {
  auto& store = catalogue::gcmtblk;
  return {store.xd,    store.yd,   store.rlong,          store.rlat,   store.depth,
          store.date1, store.time, store.nodal_plane(p), store.nstored};
}

}  // namespace

int main() {
  std::ios::sync_with_stdio(false);
  // Before any thread starts and any file is opened: closed standard descriptors are opened
  // on /dev/null, and signals end the run through the common stop path. The fuzz targets,
  // which run the program many times in one process, stop their own way.
  if (!frame::units::stop_intercepted()) frame::stop::install();
  auto& store = catalogue::gcmtblk;
  constexpr int capacity = catalogue::nmaxdata;

  frame::initsio();
  frame::progheadbc(id_korbast);
  frame::smaininfo(id_korbast, 0);
  frame::trigoset();
  frame::initfio(1, 2, 0);

  const int reader_slot = 1;
  const int writer_slot = 1;
  const int sish_slot = 2;
  const Text<35> plotname("seis.ps");
  const int command_unit = 15;
  Text<35> command_name;
  const int map_subplot = 1;
  const int ball_subplot = 2;
  const int angle_unit = 1;

  plot::scolortable(5);
  float symbol_size = 0.0f;
  plot::ssymbolsize(symbol_size, 5);
  catalogue::gcmtreadex1(reader_slot, 5);
  bool lsish = false;
  maps::mapseis4(map_events(1), capacity, sish_slot, lsish, map_subplot, 5);
  int stereo_projection = 1;
  focal::sspro(stereo_projection, 5);
  focal::fpsbchbll(store.nodal_plane(1), store.nodal_plane(2), store.date1, capacity,
                   store.nstored, ball_subplot, angle_unit, 5);

  int choice = 0;
  for (;;) {
    main_menu(capacity, plotname, lsish);
    int status = 0;
    frame::ininteg1(choice, "your choice                        ", status);
    frame::take_choice(choice, {7, 10, 13, 20, 23, 330, 900, 1000, 1100, 1200, 2001, 2002, 3000, 5000, 9999});

    // Commands that act at once.
    switch (choice) {
      case 900:
        help();
        break;
      case 7:
        frame::inlogicdef(lsish, "write extracted data to si-sh file ", lsish, status);
        break;
      case 330:
        plot::splotparam2(0);
        break;
      case 5000:
        frame::altsio(command_unit, command_name, choice, 0);
        break;
      default:
        break;
    }

    // The Si-Sh file is opened before a map run that writes it and closed at the end.
    const bool sish_open = frame::fiocom.iopou[sish_slot - 1];
    if ((choice == 13 || (lsish && (choice == 2001 || choice == 2002))) && !sish_open) {
      frame::opefou(sish_slot, "extracted si-sh output             ", 0);
    } else if ((choice == 23 || choice == 9999) && sish_open) {
      frame::clofou(sish_slot, 0);
    }

    // The plot window.
    if (iocom.plot_open && choice == 9999) {
      plot::plend();
    }
    plot::window_step(choice, plotname.view(), 0, true);

    if (choice == 9999) {
      frame::maintail(id_korbast);
      frame::units::stop_run(0);
    }

    switch (choice) {
      case 1000:
        catalogue::gcmtreadex1(reader_slot, 0);
        break;
      case 1100:
        catalogue::list_events(frame::mainmenuhead, id_korbast, 1100);
        break;
      case 1200:
        catalogue::gcmtwrite1(writer_slot, 0);
        break;
      case 2001:
      case 2002: {
        const int plane = choice == 2001 ? 1 : 2;
        maps::mapseis4(map_events(plane), capacity, sish_slot, lsish, map_subplot, 0);
        break;
      }
      case 3000:
        focal::fpsbchbll(store.nodal_plane(1), store.nodal_plane(2), store.date1, capacity,
                         store.nstored, ball_subplot, angle_unit, 0);
        break;
      default:
        break;
    }
  }
}
