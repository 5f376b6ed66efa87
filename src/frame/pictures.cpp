// The end-of-run pictures and the sad face of the error tails. Every line is stored at the
// picture's full width, trailing blanks included; the section sign of the fault pictures is
// written in UTF-8 (one character of the width, two bytes).
#include "frame/pictures.hpp"

#include <string>
#include <string_view>

#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

namespace {

// happyface: 18 lines of 40 characters
const char* const happyface_lines[] = {
    "            &&&&&&&&&&&&                ",
    "        &&                &&            ",
    "     &&                      &&         ",
    "   &&                          &&       ",
    "  &&                            &&      ",
    " &&                              &&     ",
    " &        &&&          &&&        &     ",
    "&&        &&&          &&&        &&    ",
    "&&                                &&    ",
    "&&                                &&    ",
    "&&                                &&    ",
    " &     &&                  &&     &     ",
    " &&      &&&            &&&      &&     ",
    "  &&        &&&&&&&&&&&&        &&      ",
    "   &&                          &&       ",
    "     &&                      &&         ",
    "        &&                &&            ",
    "            &&&&&&&&&&&&                ",
};
// sator: 5 lines of 30 characters
const char* const sator_lines[] = {
    "                 S A T O R    ",
    "                 A R E P O    ",
    "                 T E N E T    ",
    "                 O P E R A    ",
    "                 R O T A S    ",
};
// carmag33: 7 lines of 30 characters
const char* const carmag33_lines[] = {
    "              -------------   ",
    "              | 8 | 1 | 6 |   ",
    "              |---|---|---|   ",
    "              | 3 | 5 | 7 |   ",
    "              |---|---|---|   ",
    "              | 4 | 9 | 2 |   ",
    "              -------------   ",
};
// endfun1: 8 lines of 44 characters
const char* const endfun1_lines[] = {
    "                \\|/ ____ \\|/    -     -     ",
    "       \\|/       @~/ ,. \\~@   o' \\,=./ `o   ",
    "      (o -)     /_( \\__/ )_\\     (o o)      ",
    "|-oo0--(_)--0oo----\\--U-/----oo0--(_)--0oo-|",
    "|                                          |",
    "|            THAT'S ALL FOLKS !            |",
    "|                                          |",
    "|------------------------------------------|",
};
// tetrakis: 6 lines of 30 characters
const char* const tetrakis_lines[] = {
    "                              ",
    "                     O        ",
    "                   O   O      ",
    "                 O   O   O    ",
    "               O   O   O   O  ",
    "                              ",
};
// tetratemple1: 14 lines of 35 characters
const char* const tetratemple1_lines[] = {
    "                                   ",
    "                     O             ",
    "                  O     O          ",
    "               O     O     O       ",
    "            O     O     O     O    ",
    "            ===================    ",
    "              | |   | |   | |      ",
    "              | |   | |   | |      ",
    "              | |   | |   | |      ",
    "              | |   | |   | |      ",
    "              | |   | |   | |      ",
    "            ===================    ",
    "           =====================   ",
    "                                   ",
};
// tetratemple2: 18 lines of 36 characters
const char* const tetratemple2_lines[] = {
    "                                    ",
    "                         O          ",
    "                      O /   O       ",
    "                   O   /       O    ",
    "                O     /           O ",
    "               /     O           / /",
    "              /   O     O       / / ",
    "             / O     O     O   / /  ",
    "            O     O     O     O /   ",
    "            ===================/    ",
    "              | |   | |   | | ||    ",
    "              | |   | |   | | ||===/",
    "              | |   | |   | |     / ",
    "             /| |   | |   | |    /  ",
    "            / | |   | |   | |   /   ",
    "           /===================/    ",
    "           =====================    ",
    "                                    ",
};
// offsetnf: 10 lines of 43 characters
const char* const offsetnf_lines[] = {
    "-+                                         ",
    "&&\\-------------+                          ",
    "---\\&&&&&&&&&&&&&\\-------------+           ",
    "0000\\-------------\\&&&&&&&&&&&&&\\----------",
    "=====\\0000000000000\\-------------\\&&&&&&&&&",
    "######\\=============\\0000000000000\\--------",
    "§§§§§§§\\#############\\=============\\0000000",
    "§§§§§§§§\\§§§§§§§§§§§§§\\#############\\======",
    "§§§§§§§§§\\§§§§§§§§§§§§§\\§§§§§§§§§§§§§\\#####",
    "§§§§§§§§§§\\§§§§§§§§§§§§§\\§§§§§§§§§§§§§\\§§§§",
};
// offsetrf: 10 lines of 43 characters
const char* const offsetrf_lines[] = {
    "-------------+                             ",
    "&&&&&&&&&&&&/-------------+                ",
    "-----------/&&&&&&&&&&&&&/-------------+   ",
    "0000000000/-------------/&&&&&&&&&&&&&/----",
    "=========/0000000000000/-------------/&&&&&",
    "########/=============/0000000000000/------",
    "§§§§§§§/#############/=============/0000000",
    "§§§§§§/§§§§§§§§§§§§§/#############/========",
    "§§§§§/§§§§§§§§§§§§§/§§§§§§§§§§§§§/#########",
    "§§§§/§§§§§§§§§§§§§/§§§§§§§§§§§§§/§§§§§§§§§§",
};
// sorryface: 18 lines of 40 characters
const char* const sorryface_lines[] = {
    "            &&&&&&&&&&&&                ",
    "        &&                &&            ",
    "     &&                      &&         ",
    "   &&                          &&       ",
    "  &&                            &&      ",
    " &&                              &&     ",
    " &        &&&          &&&        &     ",
    "&&        &&&          &&&        &&    ",
    "&&                                &&    ",
    "&&                                &&    ",
    "&&                                &&    ",
    " &          &&&&&&&&&&&&          &     ",
    " &&      &&&            &&&      &&     ",
    "  &&   &&                  &&   &&      ",
    "   &&                          &&       ",
    "     &&                      &&         ",
    "        &&                &&            ",
    "            &&&&&&&&&&&&                ",
};

// A blank-looking line of indentation and two blanks, the picture, the same line again.
template <std::size_t N>
void draw(const char* const (&lines)[N], std::string_view indent) {
  const int unit = iocom.stdout_unit;
  const std::string frame_line = std::string(indent) + "  ";
  units::write_line(unit, frame_line);
  for (const char* line : lines) units::write_line(unit, std::string(indent) + line);
  units::write_line(unit, frame_line);
}

constexpr std::string_view face_indent = "    ";
constexpr std::string_view indent = " ";

}  // namespace

void happyface() { draw(happyface_lines, face_indent); }
void sator() { draw(sator_lines, indent); }
void carmag33() { draw(carmag33_lines, indent); }
void endfun1() { draw(endfun1_lines, indent); }
void tetrakis() { draw(tetrakis_lines, indent); }
void tetratemple1() { draw(tetratemple1_lines, indent); }
void tetratemple2() { draw(tetratemple2_lines, indent); }
void offsetnf() { draw(offsetnf_lines, indent); }
void offsetrf() { draw(offsetrf_lines, indent); }
void sorryface() { draw(sorryface_lines, face_indent); }

}  // namespace korbast::frame
