// The end-of-run pictures and the sad face of the error tails, printed on the standard output
// unit at every output level, each between two blank-looking lines (indentation + 2 blanks).
#pragma once

namespace korbast::frame {

// The smiling face (18 lines), at the end of a run whose time ends in 0.
void happyface();
// The SATOR square (5 lines), for a time ending in 1.
void sator();
// The magic square of order 3 (7 lines), for a time ending in 2.
void carmag33();
// "THAT'S ALL FOLKS !" with three faces (8 lines), for a time ending in 3.
void endfun1();
// The tetractys of ten points (6 lines), for a time ending in 4 or 9.
void tetrakis();
// The tetractys on a temple front (14 lines), for a time ending in 5.
void tetratemple1();
// The temple in perspective (18 lines), for a time ending in 6.
void tetratemple2();
// Layers offset along a normal fault (10 lines), for a time ending in 7.
void offsetnf();
// Layers offset along a reverse fault (10 lines), for a time ending in 8.
void offsetrf();
// The sad face (18 lines) of the severity tails that may end the run.
void sorryface();

}  // namespace korbast::frame
