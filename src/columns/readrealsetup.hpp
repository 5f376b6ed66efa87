// The stored state of the column-data reader (`readrealsetup`). The routines that deal with
// the header lines of a column-data file are in columns/sfheader.hpp (the header layout menu
// and the header display) and columns/header_readers.hpp (the title and column-name readers).
#pragma once

#include "frame/text.hpp"

namespace korbast::columns {

constexpr int kMaxVariables = 99;    // variables of one assignment
constexpr int kMaxFileColumns = 99;  // values of one data record
constexpr int kNameLength = 11;      // stored variable and file-column names

struct Readrealsetup {
  int ndisp = 0;    // lines shown by the header display
  int iskip = 0;    // header lines (never data)
  int ititle = 0;   // line of the title, 0 none
  int iheader = 0;  // line of the column names, 0 none
  int jcol[kMaxVariables] = {};    // array column of each variable
  int jfcol[kMaxVariables] = {};   // file column of each variable
  int nvar = 0;                    // number of variables
  int nfcol = 0;                   // values read from each record (highest file column)
  float rr[kMaxFileColumns] = {};  // the values of the current record
  frame::Text<kNameLength> namvar[kMaxVariables];    // variable names
  frame::Text<kNameLength> namfcol[kMaxFileColumns]; // file-column names

  Readrealsetup() {
    for (auto& t : namvar) t = frame::Text<kNameLength>::zeros();
    for (auto& t : namfcol) t = frame::Text<kNameLength>::zeros();
  }
};
extern Readrealsetup readrealsetup;

}  // namespace korbast::columns
