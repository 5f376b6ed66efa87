#include "catalogue/gcmtwrite.hpp"

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/gcmtblk.hpp"
#include "catalogue/layouts.hpp"
#include "catalogue/lines.hpp"
#include "catalogue/listing.hpp"
#include "catalogue/reader_id.hpp"
#include "catalogue/tables.hpp"
#include "frame/dialog.hpp"
#include "frame/filetable.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::catalogue {

namespace {

using frame::fiocom;

constexpr char tab = '\t';

bool slot_valid(int kout) { return kout >= 1 && kout <= frame::max_output_slots; }
bool slot_open(int kout) { return slot_valid(kout) && fiocom.iopou[kout - 1]; }
int slot_unit(int kout) { return slot_valid(kout) ? fiocom.iouf[kout - 1] : 0; }
std::string_view slot_name(int kout) {
  static const std::string none(40, ' ');
  return slot_valid(kout) ? fiocom.oufnam[kout - 1].view() : std::string_view(none);
}

// The data type that a write command needs: 1 dek, 2 ndk, 0 for a command no data type has.
int type_of_command(int command) {
  switch (command) {
    case 1000:
    case 2000: return 1;
    case 1001:
    case 2001: return 2;
    default: return 0;
  }
}
bool is_format_command(int command) {
  return command == 1000 || command == 2000 || command == 3000 || command == 1001 ||
         command == 2001 || command == 3001;
}

void show_menu(int kout) {
  const Gcmtblk& g = gcmtblk;
  frame::say_rule();
  count_line("Maximum nb of stored data=", nmaxdata);
  count_line("Current nb of stored data=", g.nstored);
  count_line("Current data type        =", g.idatatype);
  text_line("OPEN  DATA OUTPUT FILE .......12", slot_name(kout));
  text_line("CLOSE DATA OUTPUT FILE .......22", slot_name(kout));
  frame::say_rule();
  if (g.idatatype > 0) {
    text_line("WRITE DATA TO OUTPUT FILE IN FORMAT:");
    if (g.idatatype == 1) {
      text_line(" dek format CMT file .......1000");
      text_line(" Table dek CMT order .......2000");
    }
    if (g.idatatype == 2) {
      text_line(" ndk format CMT file .......1001");
      text_line(" Table ndk CMT order .......2001");
    }
  } else {
    text_line("CANNOT WRITE THIS DATA TYPE");
  }
  text_line("LIST DATA TO SCREEN ........1100");
  frame::say_rule();
  text_line("HELP ........................900");
  text_line("EXIT .........................99");
  frame::menutail();
}

void mismatch(int command) {
  frame::warninghead(writer_id);
  count_line("DATA TYPE ID   =", gcmtblk.idatatype);
  count_line("FORMAT COMMAND =", command);
  text_line("NO WRITING PROCEDURE FOR THIS");
  text_line("FORMAT - DATA TYPE COMBINATION");
  text_line("==> NO ACTION");
  text_line("OUTPUT FILE HAS NOT BEEN WRITTEN");
  text_line("====> DATA ARE UNSAVED");
  frame::warningtail00();
  frame::answer_refused();  // a command of the menu, refused for the data stored
}

// The unit table has already reported the failed file (what reached it and why) in a frame
// of its own; this frame says where the writing stopped. index is the event being written,
// or flushed_at_end when every line was given and the final flush failed.
constexpr int flushed_at_end = -1;

void write_failed(int kout, int index) {
  frame::errorhead(writer_id);
  if (index == flushed_at_end) {
    text_line("  WHILE FLUSHING THE WRITTEN DATA");
  } else {
    count_line("  WHILE WRITING", index, "th DATA");
  }
  text_line("  IN FILE:", slot_name(kout));
  if (slot_open(kout)) {
    text_line("  closing the file");
    frame::clofou(kout, 0);
  }
  text_line("FILE", slot_name(kout), "IS CLOSED");
  frame::errortail00();
}

// Writes the stored events with one of the four writers (command 1000, 1001, 2000, 2001).
void write_events(int kout, int command) {
  const Gcmtblk& g = gcmtblk;
  const int unit = slot_unit(kout);
  const int type = type_of_command(command);
  const bool table = command == 2000 || command == 2001;
  frame::submenuhead(writer_id);
  frame::say_rule();
  text_line("WRITING DATA TO FILE", slot_name(kout));
  if (table) {
    text_line(type == 1 ? "TABULATED dek CMT ORIGINAL ORDER" : "TABULATED ndk CMT ORIGINAL ORDER");
    text_line("+ Computed " + computed_column_names());
    // No event has been written yet when a header line fails: the index shown is 0.
    if (!frame::units::write_line(unit, table_name_line(slot_name(kout))) ||
        !frame::units::write_line(unit, table_names_line(type, tab))) {
      write_failed(kout, 0);
      return;
    }
  } else {
    text_line(type == 1 ? "ORIGINAL 4 LINES dek CMT" : "ORIGINAL 5 LINES ndk CMT");
  }
  // The lines of one event go out as one record: a stop or a failed write leaves the file at
  // the end of a whole event.
  std::vector<std::string> record(static_cast<std::size_t>(line_count(type)));
  int index = 0;
  for (index = 1; index <= g.nstored; ++index) {
    bool ok = true;
    if (table) {
      ok = frame::units::write_line(unit, table_event_line(type, index, tab));
    } else {
      for (int l = 1; l <= line_count(type); ++l)
        record[static_cast<std::size_t>(l - 1)] = write_record_line(type, l, index);
      ok = frame::units::write_lines(unit, record);
    }
    if (!ok) {
      write_failed(kout, index);
      return;
    }
  }
  // A full disk often shows only when the buffered lines reach the file: the file is
  // flushed and checked before the writing is reported as completed.
  if (!frame::units::flush(unit)) {
    write_failed(kout, flushed_at_end);
    return;
  }

  text_line("WRITING COMPLETED");
  count_line("NUMBER OF SAVED DATA =", g.nstored);
  text_line("FILE", slot_name(kout), "IS STILL OPEN");
  frame::say_rule();
  if (slot_open(kout)) {
    bool close = true;
    int status = 0;
    frame::inlogicdef(close, pad35("close output file"), close, status);
    if (close) {
      frame::clofou(kout, 0);
      text_line("output file", slot_name(kout), "closed");
    }
  }
  frame::menutail();
}

}  // namespace

void gcmtwrite1(int kout, int /*idum*/) {
  for (;;) {
    frame::submenuhead(writer_id);
    if (frame::iocom.lwito(2)) show_menu(kout);
    const int command = frame::menu_choice(99);
    frame::take_choice(command, {12, 22, 99, 900, 1000, 1001, 1100, 2000, 2001, 3000, 3001});

    if (command == 900) format_help(writer_id, "GLOBAL CMT DATA FORMAT ARE DESCRIBED AT:");

    // The slot is opened only for a command that will write: a format command that does not
    // fit the stored data type is refused before any file is chosen, so that no existing
    // file is replaced by an empty one.
    const int type = type_of_command(command);
    const bool writes = type != 0 && type == gcmtblk.idatatype;
    if (!slot_open(kout) && (command == 12 || writes)) {
      const char* expl = command == 1000   ? "cmt-dek output"
                         : command == 1001 ? "cmt-ndk output"
                         : command == 2000 ? "cmt-dek-table output"
                         : command == 2001 ? "cmt-ndk-table output"
                                           : "data output";
      frame::opefou(kout, pad35(expl), 0);
    } else if (slot_open(kout) && (command == 22 || command == 99)) {
      frame::clofou(kout, 0);
    }

    if (command == 99) return;
    if (command == 1100) {
      list_events(frame::submenuhead, writer_id, command);
    } else if (writes) {
      if (slot_open(kout)) write_events(kout, command);
    } else if (is_format_command(command)) {
      mismatch(command);
    }
  }
}

}  // namespace korbast::catalogue
