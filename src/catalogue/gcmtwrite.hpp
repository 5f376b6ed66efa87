// The catalogue writer: the menu of main-menu command 1200. Writes the stored events as dek
// or ndk text, or as a table in that format's column order, through an output slot of the
// file table; also lists them on the console.
#pragma once

namespace korbast::catalogue {

// The catalogue writer's menu: the stored events as dek, ndk or a table, or listed.
// kout: the file table's output slot (1); idum is not read. Returns on 99 with the slot
// closed.
void gcmtwrite1(int kout, int idum);

}  // namespace korbast::catalogue
