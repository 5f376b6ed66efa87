// The end-of-run pictures and the sad face of the error tails, printed on the standard output
// unit at every output level, each between two blank-looking lines (indentation + 2 blanks).
#pragma once

namespace korbast::frame {

void happyface();
void sator();
void carmag33();
void endfun1();
void tetrakis();
void tetratemple1();
void tetratemple2();
void offsetnf();
void offsetrf();
void sorryface();

}  // namespace korbast::frame
