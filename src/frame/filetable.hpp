// The file table: the catalogue input slot and the two output slots (catalogue output and
// the Si-Sh file), each on its fixed unit, and the one routine through which every file of
// the program is opened, `opef2`.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "frame/mode.hpp"
#include "frame/text.hpp"

namespace korbast::frame {

constexpr int max_input_slots = 1;
constexpr int max_output_slots = 2;

struct Fiocom {
  int nfi = 0;                             // input slots in use
  int nfo = 0;                             // output slots in use
  int iuinp[max_input_slots] = {11};       // unit of each input slot
  int iouf[max_output_slots] = {21, 22};   // unit of each output slot
  bool iopin[max_input_slots] = {};        // input slot open
  bool iopou[max_output_slots] = {};       // output slot open
  Text<40> inpnam[max_input_slots];        // file names, as the table shows them
  Text<40> oufnam[max_output_slots];
  Text<40> inpexpl[max_input_slots];       // roles
  Text<40> oufexpl[max_output_slots];
  std::string inpwhole[max_input_slots];   // the whole names last given: the next defaults
  std::string oufwhole[max_output_slots];
};
extern Fiocom fiocom;

// Slots are numbered from 1, as the dialog shows them.

// Sets up the table with nin input and nout output slots, all closed, and lists it.
void initfio(int nin, int nout, Mode mode);
// Lists every slot: its role, file name, unit and whether it is open.
void listfio(Mode mode);
// Opens input slot i (unless it is open) for the role expl through opef2, then lists the table.
// The default name is the whole name last given for the slot.
void opefin(int i, std::string_view expl, Mode mode);
// Opens output slot i (unless it is open) for the role expl through opef2, then lists the table.
void opefou(int i, std::string_view expl, Mode mode);
// Closes input slot i (unless it is closed), then lists the table.
void clofin(int i, Mode mode);
// Closes output slot i (unless it is closed), then lists the table.
void clofou(int i, Mode mode);

// Opens a file on a unit with status "old" (must exist) or "new" (must not exist; a file
// chosen at the keyboard may replace one after confirmation), for a name kept whole beside
// the text the console shows of it. `whole` is the default on entry (the whole name last
// given) and the opened file's whole name on return; `shown` then holds as much of that name
// as it takes, cut at a character boundary and padded with blanks. Mode::kCallerMenu asks
// (file chooser at the keyboard, the next answer line while a command file runs) and asks
// again after a failure; the line read from a command file becomes the name, refused or not,
// so that an empty line after a refusal tries the refused name again. Mode::kCaller opens the
// given name and stops the run when that fails. A failure's frame gives the name and, on the
// line under it, why: the system's reason, "No name given" for an empty answer or name, "File
// exists, not replaced" for no to the chooser's replace question. Returns only with the file
// open.
void opef2(std::string& whole, std::span<char> shown, std::string_view expl, int unit,
           std::string_view status, Mode mode);

// A file name that a question offers again as its default: the whole name last given, kept
// beside the text of N bytes that the console and the listings show of it.
template <std::size_t N>
struct FileName {
  Text<N> shown;
  std::string whole;
};

template <std::size_t N>
void opef2(FileName<N>& name, std::string_view expl, int unit, std::string_view status,
           Mode mode) {
  opef2(name.whole, std::span<char>(name.shown.data(), N), expl, unit, status, mode);
}

// opef2 for a name kept only as the text shown: the default is that text, and the opened
// file's name comes back cut or padded to its length.
void opef2(std::string& name, std::string_view expl, int unit, std::string_view status, Mode mode);

template <std::size_t N>
void opef2(Text<N>& name, std::string_view expl, int unit, std::string_view status, Mode mode) {
  std::string whole(name.view());
  opef2(whole, std::span<char>(name.data(), N), expl, unit, status, mode);
}

}  // namespace korbast::frame
