// The event store: up to 25000 centroid-moment-tensor events, one array per catalogue field.
//
// Slots are numbered from 1 in the dialog; in the arrays slot k sits at index k - 1.
// Shapes follow the storage order that callers hand around:
//   tmomt, tmomte   six values per event, event after event:   tmomt[k - 1][j - 1]
//   tmval, tmvecpl, tmvecaz (axes T, B, P) and azd0, dipd0, rakd0 (planes 1, 2) are stored
//   column by column, so one axis or one nodal plane is a plain float[25000]: azd0[p - 1].
// Only the catalogue reader writes events, nstored and idatatype; the map driver writes xd
// and yd. Events 1 to nstored are valid; idatatype says which format filled them (1 dek,
// 2 ndk) and so whether the ndk-only fields belong to them.
#pragma once

#include "frame/text.hpp"
#include "geometry/mechanism.hpp"

namespace korbast::catalogue {

inline constexpr int nmaxdata = 25000;  // capacity of the store

template <std::size_t N>
using Text = frame::Text<N>;

struct Gcmtblk {
  Gcmtblk();  // zero numbers and zero-byte texts, as at program start
  Gcmtblk(const Gcmtblk&) = delete;
  Gcmtblk& operator=(const Gcmtblk&) = delete;

  int nstored;
  int idatatype;  // 0 none, 1 dek, 2 ndk
  int ibstatn[nmaxdata];
  int ibrec[nmaxdata];
  int ibcutf[nmaxdata];
  int isstatn[nmaxdata];
  int isrec[nmaxdata];
  int iscutf[nmaxdata];
  int imstatn[nmaxdata];
  int imrec[nmaxdata];
  int imcutf[nmaxdata];
  int iexmomt[nmaxdata];
  int invtypi[nmaxdata];
  int nmfree[nmaxdata];
  float rlat[nmaxdata];
  float rlong[nmaxdata];
  float depth[nmaxdata];
  float rmb[nmaxdata];
  float rms[nmaxdata];
  float rmtrtdur[nmaxdata];
  float cdt[nmaxdata];
  float cdte[nmaxdata];
  float clat[nmaxdata];
  float clate[nmaxdata];
  float clong[nmaxdata];
  float clonge[nmaxdata];
  float cdepth[nmaxdata];
  float cdepthe[nmaxdata];
  float tmomt[nmaxdata][6];
  float tmomte[nmaxdata][6];
  float tmval[3][nmaxdata];
  float tmt0[nmaxdata];
  float tmvecpl[3][nmaxdata];
  float tmvecaz[3][nmaxdata];
  float azd0[2][nmaxdata];
  float dipd0[2][nmaxdata];
  float rakd0[2][nmaxdata];
  float fclvd[nmaxdata];
  float erelm[nmaxdata];
  float xd[nmaxdata];
  float yd[nmaxdata];
  Text<10> date1[nmaxdata];
  Text<10> time[nmaxdata];
  Text<24> region[nmaxdata];
  Text<4> hyporef[nmaxdata];
  Text<16> cmtlabel[nmaxdata];
  Text<3> bwc[nmaxdata];
  Text<3> swc[nmaxdata];
  Text<3> mwc[nmaxdata];
  Text<4> invtypc[nmaxdata];
  Text<6> mtrttypc[nmaxdata];
  Text<9> clab[nmaxdata];
  Text<4> cdeptyp[nmaxdata];
  Text<16> cstamp[nmaxdata];
  Text<3> cvers[nmaxdata];

  // Nodal plane p (1 or 2) of the stored events: its strike, dip and rake arrays.
  geometry::NodalPlane nodal_plane(int p) const {
    return {azd0[p - 1], dipd0[p - 1], rakd0[p - 1]};
  }
};

extern Gcmtblk gcmtblk;

}  // namespace korbast::catalogue
