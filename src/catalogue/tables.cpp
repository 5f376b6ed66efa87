#include "catalogue/tables.hpp"

#include "catalogue/gcmtblk.hpp"
#include "frame/format.hpp"

namespace korbast::catalogue {

namespace {

namespace fmt = frame::fmt;

const char* const dek_names[dek_table_columns] = {
    "event_id", "date",    "time",    "latitude", "longitude", "depth",  "mb",     "Ms",
    "region",   "esrc",    "body",    "#stat",    "#rec",      "cutoff", "mantl",  "#stat",
    "#rec",     "cutoff",  "dtc",     "cdt",      "Dcdt",      "clat",   "Dclat",  "clong",
    "Dclong",   "cdepth",  "Dcdepth", "durc",     "hdur",      "ex",     "exp",    "Mrr",
    "DMrr",     "Mss",     "DMss",    "Mee",      "DMee",      "Mrs",    "DMrs",   "Mre",
    "DMre",     "Mse",     "DMse",    "m1",       "v1plge",    "v1azi",  "m2",     "v2plge",
    "v2azi",    "m3",      "v3plge",  "v3azi",    "M0",        "strike1", "dip1",  "rake1",
    "strike2",  "dip2",    "rake2",   "Fclvd",    "Erel",      "Nfree"};

const char* const ndk_names[ndk_table_columns] = {
    "hyporef", "date",    "time",    "latitude", "longitude", "depth",   "mb",      "Ms",
    "region",  "cmt_id",  "body",    "#stat",    "#rec",      "cutoff",  "surf",    "#stat",
    "#rec",    "cutoff",  "mantl",   "#stat",    "#rec",      "cutoff",  "inv",     "inv_type",
    "mt_type", "mt_dur",  "centroid", "cdt",     "Dcdt",      "clat",    "Dclat",   "clong",
    "Dclong",  "cdepth",  "Dcdepth", "deptype",  "stamp",     "exp",     "Mrr",     "DMrr",
    "Mss",     "DMss",    "Mee",     "DMee",     "Mrs",       "DMrs",    "Mre",     "DMre",
    "Mse",     "DMse",    "vers",    "m1",       "v1plge",    "v1azi",   "m2",      "v2plge",
    "v2azi",   "m3",      "v3plge",  "v3azi",    "M0",        "strike1", "dip1",    "rake1",
    "strike2", "dip2",    "rake2",   "Fclvd",    "Erel",      "Nfree"};

// Builds one event line value by value.
class Row {
 public:
  explicit Row(char sep) : sep_(sep) { s_ += ' '; }
  // A quoted text of w characters: the first w characters of the stored text, kept as they
  // are (trailing blanks too).
  Row& q(std::string_view text, int w) {
    next();
    s_ += '\'';
    std::string field(text.substr(0, static_cast<std::size_t>(w)));
    field.resize(static_cast<std::size_t>(w), ' ');
    s_ += field;
    s_ += '\'';
    return *this;
  }
  Row& i(long long v, int w) {
    next();
    s_ += fmt::I(v, w);
    return *this;
  }
  Row& f(float v, int w, int d) {
    next();
    s_ += fmt::F(v, w, d);
    return *this;
  }
  std::string str() const { return s_; }

 private:
  void next() {
    if (count_++ > 0) s_ += sep_;
  }
  std::string s_;
  char sep_;
  int count_ = 0;
};

std::string dek_line(int i, char sep) {
  const Gcmtblk& g = gcmtblk;
  Row r(sep);
  r.q(g.cmtlabel[i].view(), 8).q(g.date1[i].view(), 8).q(g.time[i].view(), 10)
      .f(g.rlat[i], 6, 2).f(g.rlong[i], 7, 2).f(g.depth[i], 5, 1).f(g.rmb[i], 3, 1)
      .f(g.rms[i], 3, 1).q(g.region[i].view(), 24).q(g.hyporef[i].view(), 3)
      .q(g.bwc[i].view(), 3).i(g.ibstatn[i], 2).i(g.ibrec[i], 3).i(g.ibcutf[i], 3)
      .q(g.mwc[i].view(), 3).i(g.imstatn[i], 2).i(g.imrec[i], 3).i(g.imcutf[i], 3)
      .q(g.clab[i].view(), 3).f(g.cdt[i], 6, 1).f(g.cdte[i], 4, 1).f(g.clat[i], 6, 2)
      .f(g.clate[i], 4, 2).f(g.clong[i], 7, 2).f(g.clonge[i], 4, 2).f(g.cdepth[i], 5, 1)
      .f(g.cdepthe[i], 4, 1).q(g.mtrttypc[i].view(), 3).f(g.rmtrtdur[i], 4, 1)
      .q(g.cdeptyp[i].view(), 2).i(g.iexmomt[i], 3);
  for (int j = 0; j < 6; ++j) r.f(g.tmomt[i][j], 6, 2).f(g.tmomte[i][j], 5, 2);
  for (int a = 0; a < 3; ++a) r.f(g.tmval[a][i], 7, 2).f(g.tmvecpl[a][i], 4, 0).f(g.tmvecaz[a][i], 5, 0);
  r.f(g.tmt0[i], 7, 2);
  for (int p = 0; p < 2; ++p) r.f(g.azd0[p][i], 5, 0).f(g.dipd0[p][i], 5, 0).f(g.rakd0[p][i], 5, 0);
  r.f(g.fclvd[i], 5, 2).f(g.erelm[i], 5, 2).i(g.nmfree[i], 1);
  return r.str();
}

std::string ndk_line(int i, char sep) {
  const Gcmtblk& g = gcmtblk;
  Row r(sep);
  r.q(g.hyporef[i].view(), 4).q(g.date1[i].view(), 10).q(g.time[i].view(), 10)
      .f(g.rlat[i], 7, 2).f(g.rlong[i], 8, 2).f(g.depth[i], 6, 1).f(g.rmb[i], 4, 1)
      .f(g.rms[i], 4, 1).q(g.region[i].view(), 24).q(g.cmtlabel[i].view(), 16)
      .q(g.bwc[i].view(), 2).i(g.ibstatn[i], 3).i(g.ibrec[i], 5).i(g.ibcutf[i], 4)
      .q(g.swc[i].view(), 2).i(g.isstatn[i], 3).i(g.isrec[i], 5).i(g.iscutf[i], 4)
      .q(g.mwc[i].view(), 2).i(g.imstatn[i], 3).i(g.imrec[i], 5).i(g.imcutf[i], 4)
      .q(g.invtypc[i].view(), 4).i(g.invtypi[i], 2).q(g.mtrttypc[i].view(), 6)
      .f(g.rmtrtdur[i], 5, 1).q(g.clab[i].view(), 9).f(g.cdt[i], 9, 1).f(g.cdte[i], 4, 1)
      .f(g.clat[i], 7, 2).f(g.clate[i], 5, 2).f(g.clong[i], 8, 2).f(g.clonge[i], 5, 2)
      .f(g.cdepth[i], 6, 1).f(g.cdepthe[i], 5, 1).q(g.cdeptyp[i].view(), 4)
      .q(g.cstamp[i].view(), 16).i(g.iexmomt[i], 2);
  for (int j = 0; j < 6; ++j) r.f(g.tmomt[i][j], 7, 3).f(g.tmomte[i][j], 6, 3);
  r.q(g.cvers[i].view(), 3);
  for (int a = 0; a < 3; ++a) r.f(g.tmval[a][i], 8, 3).f(g.tmvecpl[a][i], 3, 0).f(g.tmvecaz[a][i], 4, 0);
  r.f(g.tmt0[i], 8, 3);
  for (int p = 0; p < 2; ++p) r.f(g.azd0[p][i], 4, 0).f(g.dipd0[p][i], 3, 0).f(g.rakd0[p][i], 5, 0);
  r.f(g.fclvd[i], 5, 2).f(g.erelm[i], 5, 2).i(g.nmfree[i], 1);
  return r.str();
}

}  // namespace

std::string table_name_line(std::string_view name40) {
  std::string s = " '";
  s += name40;
  s += '\'';
  return s;
}

std::string table_names_line(int type, char sep) {
  const char* const* names = type == 1 ? dek_names : ndk_names;
  const int n = type == 1 ? dek_table_columns : ndk_table_columns;
  std::string s = " ";
  for (int c = 0; c < n; ++c) {
    if (c > 0) s += sep;
    s += '\'';
    s += names[c];
    s += '\'';
  }
  return s;
}

std::string table_event_line(int type, int k, char sep) {
  return type == 1 ? dek_line(k - 1, sep) : ndk_line(k - 1, sep);
}

}  // namespace korbast::catalogue
