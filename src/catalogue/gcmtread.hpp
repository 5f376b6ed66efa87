// The catalogue reader: the menu of main-menu command 1000 and the only writer of the event
// store. A read run refills the store from slot 1 with the records of a dek or ndk file that
// pass the extraction criteria, then prints a summary and returns to the main menu.
#pragma once

#include "frame/mode.hpp"

namespace korbast::catalogue {

// What the reader keeps between calls.
struct ReaderState {
  int nread = 0;           // records read in the last run (0 after a read error)
  bool lshowread = false;  // echo every record read (command 4)
  bool lshowsel = false;   // echo every record retained (command 5)
};
extern ReaderState reader_state;

// The catalogue reader: its menu reads dek and ndk files into the event store.
// kin: the file table's input slot (1). mode 4 or 5: initialise (empty store, default
// criteria) and return; any other mode: the reader's menu.
void gcmtreadex1(int kin, frame::Mode mode);

}  // namespace korbast::catalogue
