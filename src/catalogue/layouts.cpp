#include "catalogue/layouts.hpp"

#include <cmath>

#include "catalogue/gcmtblk.hpp"
#include "frame/fields.hpp"
#include "frame/format.hpp"

namespace korbast::catalogue {

namespace {

using frame::FieldReader;
using frame::fmt::Line;

Gcmtblk& g = gcmtblk;

template <std::size_t N>
void text(FieldReader& r, int w, Text<N>& t) {
  r.a(w, t.data(), static_cast<int>(N));
}

// ---- dek ----

// (2(a8,1x),a10,1x,f6.2,1x,f7.2,1x,f5.1,2(f3.1),a24)
bool read_dek1(FieldReader& r, int i) {
  text(r, 8, g.cmtlabel[i]);
  r.x(1);
  text(r, 8, g.date1[i]);
  r.x(1);
  text(r, 10, g.time[i]);
  r.x(1);
  r.f(6, 2, g.rlat[i]);
  r.x(1);
  r.f(7, 2, g.rlong[i]);
  r.x(1);
  r.f(5, 1, g.depth[i]);
  r.f(3, 1, g.rmb[i]);
  r.f(3, 1, g.rms[i]);
  text(r, 24, g.region[i]);
  return r.ok();
}

// (a3,2(1x,a3,i2,i3,1x,i3),1x,a3,f6.1,f4.1,1x,f6.2,1x,f4.2,1x,f7.2,1x,f4.2,1x,f5.1,1x,f4.1)
bool read_dek2(FieldReader& r, int i) {
  text(r, 3, g.hyporef[i]);
  r.x(1);
  text(r, 3, g.bwc[i]);
  r.i(2, g.ibstatn[i]);
  r.i(3, g.ibrec[i]);
  r.x(1);
  r.i(3, g.ibcutf[i]);
  r.x(1);
  text(r, 3, g.mwc[i]);
  r.i(2, g.imstatn[i]);
  r.i(3, g.imrec[i]);
  r.x(1);
  r.i(3, g.imcutf[i]);
  r.x(1);
  text(r, 3, g.clab[i]);
  r.f(6, 1, g.cdt[i]);
  r.f(4, 1, g.cdte[i]);
  r.x(1);
  r.f(6, 2, g.clat[i]);
  r.x(1);
  r.f(4, 2, g.clate[i]);
  r.x(1);
  r.f(7, 2, g.clong[i]);
  r.x(1);
  r.f(4, 2, g.clonge[i]);
  r.x(1);
  r.f(5, 1, g.cdepth[i]);
  r.x(1);
  r.f(4, 1, g.cdepthe[i]);
  return r.ok();
}

// (1x,a3,f4.1,1x,a2,i3,6(f6.2,f5.2))
bool read_dek3(FieldReader& r, int i) {
  r.x(1);
  text(r, 3, g.mtrttypc[i]);
  r.f(4, 1, g.rmtrtdur[i]);
  r.x(1);
  text(r, 2, g.cdeptyp[i]);
  r.i(3, g.iexmomt[i]);
  for (int j = 0; j < 6; ++j) {
    r.f(6, 2, g.tmomt[i][j]);
    r.f(5, 2, g.tmomte[i][j]);
  }
  return r.ok();
}

// (3(f7.2,f3.0,f4.0),f7.2,2(f4.0,f3.0,1x,f4.0))
bool read_dek4(FieldReader& r, int i) {
  for (int a = 0; a < 3; ++a) {
    r.f(7, 2, g.tmval[a][i]);
    r.f(3, 0, g.tmvecpl[a][i]);
    r.f(4, 0, g.tmvecaz[a][i]);
  }
  r.f(7, 2, g.tmt0[i]);
  for (int p = 0; p < 2; ++p) {
    r.f(4, 0, g.azd0[p][i]);
    r.f(3, 0, g.dipd0[p][i]);
    r.x(1);
    r.f(4, 0, g.rakd0[p][i]);
  }
  return r.ok();
}

// ---- ndk ----

// (a4,1x,a10,1x,a10,f7.2,f8.2,f6.1,2(f4.1),1x,a24)
bool read_ndk1(FieldReader& r, int i) {
  text(r, 4, g.hyporef[i]);
  r.x(1);
  text(r, 10, g.date1[i]);
  r.x(1);
  text(r, 10, g.time[i]);
  r.f(7, 2, g.rlat[i]);
  r.f(8, 2, g.rlong[i]);
  r.f(6, 1, g.depth[i]);
  r.f(4, 1, g.rmb[i]);
  r.f(4, 1, g.rms[i]);
  r.x(1);
  text(r, 24, g.region[i]);
  return r.ok();
}

// (a16,3(1x,a2,i3,i5,i4),1x,a4,i2,1x,a6,f5.1)
bool read_ndk2(FieldReader& r, int i) {
  text(r, 16, g.cmtlabel[i]);
  r.x(1);
  text(r, 2, g.bwc[i]);
  r.i(3, g.ibstatn[i]);
  r.i(5, g.ibrec[i]);
  r.i(4, g.ibcutf[i]);
  r.x(1);
  text(r, 2, g.swc[i]);
  r.i(3, g.isstatn[i]);
  r.i(5, g.isrec[i]);
  r.i(4, g.iscutf[i]);
  r.x(1);
  text(r, 2, g.mwc[i]);
  r.i(3, g.imstatn[i]);
  r.i(5, g.imrec[i]);
  r.i(4, g.imcutf[i]);
  r.x(1);
  text(r, 4, g.invtypc[i]);
  r.i(2, g.invtypi[i]);
  r.x(1);
  text(r, 6, g.mtrttypc[i]);
  r.f(5, 1, g.rmtrtdur[i]);
  return r.ok();
}

// (a9,f9.1,f4.1,f7.2,f5.2,f8.2,f5.2,f6.1,f5.1,1x,a4,1x,a16)
bool read_ndk3(FieldReader& r, int i) {
  text(r, 9, g.clab[i]);
  r.f(9, 1, g.cdt[i]);
  r.f(4, 1, g.cdte[i]);
  r.f(7, 2, g.clat[i]);
  r.f(5, 2, g.clate[i]);
  r.f(8, 2, g.clong[i]);
  r.f(5, 2, g.clonge[i]);
  r.f(6, 1, g.cdepth[i]);
  r.f(5, 1, g.cdepthe[i]);
  r.x(1);
  text(r, 4, g.cdeptyp[i]);
  r.x(1);
  text(r, 16, g.cstamp[i]);
  return r.ok();
}

// (i2,6(f7.3,f6.3))
bool read_ndk4(FieldReader& r, int i) {
  r.i(2, g.iexmomt[i]);
  for (int j = 0; j < 6; ++j) {
    r.f(7, 3, g.tmomt[i][j]);
    r.f(6, 3, g.tmomte[i][j]);
  }
  return r.ok();
}

// (a3,3(f8.3,f3.0,f4.0),f8.3,2(f4.0,f3.0,f5.0))
bool read_ndk5(FieldReader& r, int i) {
  text(r, 3, g.cvers[i]);
  for (int a = 0; a < 3; ++a) {
    r.f(8, 3, g.tmval[a][i]);
    r.f(3, 0, g.tmvecpl[a][i]);
    r.f(4, 0, g.tmvecaz[a][i]);
  }
  r.f(8, 3, g.tmt0[i]);
  for (int p = 0; p < 2; ++p) {
    r.f(4, 0, g.azd0[p][i]);
    r.f(3, 0, g.dipd0[p][i]);
    r.f(5, 0, g.rakd0[p][i]);
  }
  return r.ok();
}

}  // namespace

bool read_dek_line(int line, std::string_view text, int k) {
  FieldReader r(text);
  const int i = k - 1;
  switch (line) {
    case 1: return read_dek1(r, i);
    case 2: return read_dek2(r, i);
    case 3: return read_dek3(r, i);
    case 4: return read_dek4(r, i);
    default: return false;
  }
}

bool read_ndk_line(int line, std::string_view text, int k) {
  FieldReader r(text);
  const int i = k - 1;
  switch (line) {
    case 1: return read_ndk1(r, i);
    case 2: return read_ndk2(r, i);
    case 3: return read_ndk3(r, i);
    case 4: return read_ndk4(r, i);
    case 5: return read_ndk5(r, i);
    default: return false;
  }
}

std::string angle_field(float value, int w) {
  // Truncation toward zero first; a value that is not finite, or whose whole part cannot
  // fit the field, is never converted to an integer.
  if (!std::isfinite(value) || std::fabs(value) >= 1.0e9f) return std::string(static_cast<std::size_t>(w), '*');
  return frame::fmt::I(static_cast<long long>(std::trunc(value)), w);
}

// Text fields are written counting bytes, as they are read: a region in UTF-8 keeps its
// columns and every byte when a record is read and written back.
std::string write_dek_line(int line, int k) {
  const int i = k - 1;
  Line s;
  switch (line) {
    case 1:
      s.ab(g.cmtlabel[i].view(), 8).x().ab(g.date1[i].view(), 8).x().ab(g.time[i].view(), 10).x()
          .f(g.rlat[i], 6, 2).x().f(g.rlong[i], 7, 2).x().f(g.depth[i], 5, 1)
          .f(g.rmb[i], 3, 1).f(g.rms[i], 3, 1).ab(g.region[i].view(), 24);
      break;
    case 2:
      s.ab(g.hyporef[i].view(), 3)
          .x().ab(g.bwc[i].view(), 3).i(g.ibstatn[i], 2).i(g.ibrec[i], 3).x().i(g.ibcutf[i], 3)
          .x().ab(g.mwc[i].view(), 3).i(g.imstatn[i], 2).i(g.imrec[i], 3).x().i(g.imcutf[i], 3)
          .x().ab(g.clab[i].view(), 3).f(g.cdt[i], 6, 1).f(g.cdte[i], 4, 1)
          .x().f(g.clat[i], 6, 2).x().f(g.clate[i], 4, 2).x().f(g.clong[i], 7, 2)
          .x().f(g.clonge[i], 4, 2).x().f(g.cdepth[i], 5, 1).x().f(g.cdepthe[i], 4, 1);
      break;
    case 3:
      s.x().ab(g.mtrttypc[i].view(), 3).f(g.rmtrtdur[i], 4, 1).x().ab(g.cdeptyp[i].view(), 2)
          .i(g.iexmomt[i], 3);
      for (int j = 0; j < 6; ++j) s.f(g.tmomt[i][j], 6, 2).f(g.tmomte[i][j], 5, 2);
      break;
    case 4:
      for (int a = 0; a < 3; ++a) {
        s.f(g.tmval[a][i], 7, 2).a(angle_field(g.tmvecpl[a][i], 3))
            .a(angle_field(g.tmvecaz[a][i], 4));
      }
      s.f(g.tmt0[i], 7, 2);
      for (int p = 0; p < 2; ++p) {
        s.a(angle_field(g.azd0[p][i], 4)).a(angle_field(g.dipd0[p][i], 3)).x()
            .a(angle_field(g.rakd0[p][i], 4));
      }
      break;
    default:
      break;
  }
  return s.str();
}

std::string write_ndk_line(int line, int k) {
  const int i = k - 1;
  Line s;
  switch (line) {
    case 1:
      s.ab(g.hyporef[i].view(), 4).x().ab(g.date1[i].view(), 10).x().ab(g.time[i].view(), 10)
          .f(g.rlat[i], 7, 2).f(g.rlong[i], 8, 2).f(g.depth[i], 6, 1).f(g.rmb[i], 4, 1)
          .f(g.rms[i], 4, 1).x().ab(g.region[i].view(), 24);
      break;
    case 2:
      s.ab(g.cmtlabel[i].view(), 16)
          .x().ab(g.bwc[i].view(), 2).i(g.ibstatn[i], 3).i(g.ibrec[i], 5).i(g.ibcutf[i], 4)
          .x().ab(g.swc[i].view(), 2).i(g.isstatn[i], 3).i(g.isrec[i], 5).i(g.iscutf[i], 4)
          .x().ab(g.mwc[i].view(), 2).i(g.imstatn[i], 3).i(g.imrec[i], 5).i(g.imcutf[i], 4)
          .x().ab(g.invtypc[i].view(), 4).i(g.invtypi[i], 2).x().ab(g.mtrttypc[i].view(), 6)
          .f(g.rmtrtdur[i], 5, 1);
      break;
    case 3:
      s.ab(g.clab[i].view(), 9).f(g.cdt[i], 9, 1).f(g.cdte[i], 4, 1).f(g.clat[i], 7, 2)
          .f(g.clate[i], 5, 2).f(g.clong[i], 8, 2).f(g.clonge[i], 5, 2).f(g.cdepth[i], 6, 1)
          .f(g.cdepthe[i], 5, 1).x().ab(g.cdeptyp[i].view(), 4).x().ab(g.cstamp[i].view(), 16);
      break;
    case 4:
      s.i(g.iexmomt[i], 2);
      for (int j = 0; j < 6; ++j) s.f(g.tmomt[i][j], 7, 3).f(g.tmomte[i][j], 6, 3);
      break;
    case 5:
      s.ab(g.cvers[i].view(), 3);
      for (int a = 0; a < 3; ++a) {
        s.f(g.tmval[a][i], 8, 3).a(angle_field(g.tmvecpl[a][i], 3))
            .a(angle_field(g.tmvecaz[a][i], 4));
      }
      s.f(g.tmt0[i], 8, 3);
      for (int p = 0; p < 2; ++p) {
        s.a(angle_field(g.azd0[p][i], 4)).a(angle_field(g.dipd0[p][i], 3))
            .a(angle_field(g.rakd0[p][i], 5));
      }
      break;
    default:
      break;
  }
  return s.str();
}

}  // namespace korbast::catalogue
