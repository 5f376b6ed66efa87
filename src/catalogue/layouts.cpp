#include "catalogue/layouts.hpp"

#include <cmath>

#include "catalogue/gcmtblk.hpp"
#include "frame/fields.hpp"
#include "frame/format.hpp"

namespace korbast::catalogue {

namespace {

using frame::FieldReader;
using frame::fmt::Line;
using enum Kind;

constexpr Gcmtblk& g = gcmtblk;

// The rows: kind, width, decimals, store field, table column name and, for the dek angles,
// the table's wider column.

constexpr Field dek_line1[] = {  // 79 columns
    {Text, 8, 0, at(g.cmtlabel), "event_id"},
    {Blank, 1},
    {Text, 8, 0, at(g.date1), "date"},
    {Blank, 1},
    {Text, 10, 0, at(g.time), "time"},
    {Blank, 1},
    {Real, 6, 2, at(g.rlat), "latitude"},
    {Blank, 1},
    {Real, 7, 2, at(g.rlong), "longitude"},
    {Blank, 1},
    {Real, 5, 1, at(g.depth), "depth"},
    {Real, 3, 1, at(g.rmb), "mb"},
    {Real, 3, 1, at(g.rms), "Ms"},
    {Text, 24, 0, at(g.region), "region"},
};

constexpr Field dek_line2[] = {  // 79 columns
    {Text, 3, 0, at(g.hyporef), "esrc"},
    {Blank, 1},
    {Text, 3, 0, at(g.bwc), "body"},
    {Int, 2, 0, at(g.ibstatn), "#stat"},
    {Int, 3, 0, at(g.ibrec), "#rec"},
    {Blank, 1},
    {Int, 3, 0, at(g.ibcutf), "cutoff"},
    {Blank, 1},
    {Text, 3, 0, at(g.mwc), "mantl"},
    {Int, 2, 0, at(g.imstatn), "#stat"},
    {Int, 3, 0, at(g.imrec), "#rec"},
    {Blank, 1},
    {Int, 3, 0, at(g.imcutf), "cutoff"},
    {Blank, 1},
    {Text, 3, 0, at(g.clab), "dtc"},
    {Real, 6, 1, at(g.cdt), "cdt"},
    {Real, 4, 1, at(g.cdte), "Dcdt"},
    {Blank, 1},
    {Real, 6, 2, at(g.clat), "clat"},
    {Blank, 1},
    {Real, 4, 2, at(g.clate), "Dclat"},
    {Blank, 1},
    {Real, 7, 2, at(g.clong), "clong"},
    {Blank, 1},
    {Real, 4, 2, at(g.clonge), "Dclong"},
    {Blank, 1},
    {Real, 5, 1, at(g.cdepth), "cdepth"},
    {Blank, 1},
    {Real, 4, 1, at(g.cdepthe), "Dcdepth"},
};

constexpr Field dek_line3[] = {  // 80 columns
    {Blank, 1},
    {Text, 3, 0, at(g.mtrttypc), "durc"},
    {Real, 4, 1, at(g.rmtrtdur), "hdur"},
    {Blank, 1},
    {Text, 2, 0, at(g.cdeptyp), "ex"},
    {Int, 3, 0, at(g.iexmomt), "exp"},
    {Real, 6, 2, at(g.tmomt, 0), "Mrr"},
    {Real, 5, 2, at(g.tmomte, 0), "DMrr"},
    {Real, 6, 2, at(g.tmomt, 1), "Mss"},
    {Real, 5, 2, at(g.tmomte, 1), "DMss"},
    {Real, 6, 2, at(g.tmomt, 2), "Mee"},
    {Real, 5, 2, at(g.tmomte, 2), "DMee"},
    {Real, 6, 2, at(g.tmomt, 3), "Mrs"},
    {Real, 5, 2, at(g.tmomte, 3), "DMrs"},
    {Real, 6, 2, at(g.tmomt, 4), "Mre"},
    {Real, 5, 2, at(g.tmomte, 4), "DMre"},
    {Real, 6, 2, at(g.tmomt, 5), "Mse"},
    {Real, 5, 2, at(g.tmomte, 5), "DMse"},
};

constexpr Field dek_line4[] = {  // 73 columns
    {Real, 7, 2, at(g.tmval[0]), "m1"},
    {Angle, 3, 0, at(g.tmvecpl[0]), "v1plge", 4},
    {Angle, 4, 0, at(g.tmvecaz[0]), "v1azi", 5},
    {Real, 7, 2, at(g.tmval[1]), "m2"},
    {Angle, 3, 0, at(g.tmvecpl[1]), "v2plge", 4},
    {Angle, 4, 0, at(g.tmvecaz[1]), "v2azi", 5},
    {Real, 7, 2, at(g.tmval[2]), "m3"},
    {Angle, 3, 0, at(g.tmvecpl[2]), "v3plge", 4},
    {Angle, 4, 0, at(g.tmvecaz[2]), "v3azi", 5},
    {Real, 7, 2, at(g.tmt0), "M0"},
    {Angle, 4, 0, at(g.azd0[0]), "strike1", 5},
    {Angle, 3, 0, at(g.dipd0[0]), "dip1", 5},
    {Blank, 1},
    {Angle, 4, 0, at(g.rakd0[0]), "rake1", 5},
    {Angle, 4, 0, at(g.azd0[1]), "strike2", 5},
    {Angle, 3, 0, at(g.dipd0[1]), "dip2", 5},
    {Blank, 1},
    {Angle, 4, 0, at(g.rakd0[1]), "rake2", 5},
};

constexpr Field ndk_line1[] = {  // 80 columns
    {Text, 4, 0, at(g.hyporef), "hyporef"},
    {Blank, 1},
    {Text, 10, 0, at(g.date1), "date"},
    {Blank, 1},
    {Text, 10, 0, at(g.time), "time"},
    {Real, 7, 2, at(g.rlat), "latitude"},
    {Real, 8, 2, at(g.rlong), "longitude"},
    {Real, 6, 1, at(g.depth), "depth"},
    {Real, 4, 1, at(g.rmb), "mb"},
    {Real, 4, 1, at(g.rms), "Ms"},
    {Blank, 1},
    {Text, 24, 0, at(g.region), "region"},
};

constexpr Field ndk_line2[] = {  // 80 columns
    {Text, 16, 0, at(g.cmtlabel), "cmt_id"},
    {Blank, 1},
    {Text, 2, 0, at(g.bwc), "body"},
    {Int, 3, 0, at(g.ibstatn), "#stat"},
    {Int, 5, 0, at(g.ibrec), "#rec"},
    {Int, 4, 0, at(g.ibcutf), "cutoff"},
    {Blank, 1},
    {Text, 2, 0, at(g.swc), "surf"},
    {Int, 3, 0, at(g.isstatn), "#stat"},
    {Int, 5, 0, at(g.isrec), "#rec"},
    {Int, 4, 0, at(g.iscutf), "cutoff"},
    {Blank, 1},
    {Text, 2, 0, at(g.mwc), "mantl"},
    {Int, 3, 0, at(g.imstatn), "#stat"},
    {Int, 5, 0, at(g.imrec), "#rec"},
    {Int, 4, 0, at(g.imcutf), "cutoff"},
    {Blank, 1},
    {Text, 4, 0, at(g.invtypc), "inv"},
    {Int, 2, 0, at(g.invtypi), "inv_type"},
    {Blank, 1},
    {Text, 6, 0, at(g.mtrttypc), "mt_type"},
    {Real, 5, 1, at(g.rmtrtdur), "mt_dur"},
};

constexpr Field ndk_line3[] = {  // 80 columns
    {Text, 9, 0, at(g.clab), "centroid"},
    {Real, 9, 1, at(g.cdt), "cdt"},
    {Real, 4, 1, at(g.cdte), "Dcdt"},
    {Real, 7, 2, at(g.clat), "clat"},
    {Real, 5, 2, at(g.clate), "Dclat"},
    {Real, 8, 2, at(g.clong), "clong"},
    {Real, 5, 2, at(g.clonge), "Dclong"},
    {Real, 6, 1, at(g.cdepth), "cdepth"},
    {Real, 5, 1, at(g.cdepthe), "Dcdepth"},
    {Blank, 1},
    {Text, 4, 0, at(g.cdeptyp), "deptype"},
    {Blank, 1},
    {Text, 16, 0, at(g.cstamp), "stamp"},
};

constexpr Field ndk_line4[] = {  // 80 columns
    {Int, 2, 0, at(g.iexmomt), "exp"},
    {Real, 7, 3, at(g.tmomt, 0), "Mrr"},
    {Real, 6, 3, at(g.tmomte, 0), "DMrr"},
    {Real, 7, 3, at(g.tmomt, 1), "Mss"},
    {Real, 6, 3, at(g.tmomte, 1), "DMss"},
    {Real, 7, 3, at(g.tmomt, 2), "Mee"},
    {Real, 6, 3, at(g.tmomte, 2), "DMee"},
    {Real, 7, 3, at(g.tmomt, 3), "Mrs"},
    {Real, 6, 3, at(g.tmomte, 3), "DMrs"},
    {Real, 7, 3, at(g.tmomt, 4), "Mre"},
    {Real, 6, 3, at(g.tmomte, 4), "DMre"},
    {Real, 7, 3, at(g.tmomt, 5), "Mse"},
    {Real, 6, 3, at(g.tmomte, 5), "DMse"},
};

constexpr Field ndk_line5[] = {  // 80 columns
    {Text, 3, 0, at(g.cvers), "vers"},
    {Real, 8, 3, at(g.tmval[0]), "m1"},
    {Angle, 3, 0, at(g.tmvecpl[0]), "v1plge"},
    {Angle, 4, 0, at(g.tmvecaz[0]), "v1azi"},
    {Real, 8, 3, at(g.tmval[1]), "m2"},
    {Angle, 3, 0, at(g.tmvecpl[1]), "v2plge"},
    {Angle, 4, 0, at(g.tmvecaz[1]), "v2azi"},
    {Real, 8, 3, at(g.tmval[2]), "m3"},
    {Angle, 3, 0, at(g.tmvecpl[2]), "v3plge"},
    {Angle, 4, 0, at(g.tmvecaz[2]), "v3azi"},
    {Real, 8, 3, at(g.tmt0), "M0"},
    {Angle, 4, 0, at(g.azd0[0]), "strike1"},
    {Angle, 3, 0, at(g.dipd0[0]), "dip1"},
    {Angle, 5, 0, at(g.rakd0[0]), "rake1"},
    {Angle, 4, 0, at(g.azd0[1]), "strike2"},
    {Angle, 3, 0, at(g.dipd0[1]), "dip2"},
    {Angle, 5, 0, at(g.rakd0[1]), "rake2"},
};

constexpr std::span<const Field> dek_lines[dek_nlines] = {dek_line1, dek_line2, dek_line3,
                                                      dek_line4};
constexpr std::span<const Field> ndk_lines[ndk_nlines] = {ndk_line1, ndk_line2, ndk_line3,
                                                      ndk_line4, ndk_line5};

}  // namespace

std::span<const Field> layout(int type, int line) {
  if (line < 1 || line > line_count(type)) return {};
  return type == 1 ? dek_lines[line - 1] : ndk_lines[line - 1];
}

int line_count(int type) { return type == 1 ? dek_nlines : type == 2 ? ndk_nlines : 0; }

int last_number_column(int type, int line) {
  int column = 0;
  int end = 0;
  for (const Field& f : layout(type, line)) {
    column += f.width;
    if (f.kind == Kind::Int || f.kind == Kind::Real || f.kind == Kind::Angle) end = column;
  }
  return end;
}

bool read_record_line(int type, int line, std::string_view text, int k) {
  const std::span<const Field> fields = layout(type, line);
  if (fields.empty()) return false;
  using enum Kind;
  FieldReader r(text);
  const int i = k - 1;
  for (const Field& f : fields) {
    switch (f.kind) {
      case Text: r.a(f.width, f.store.text(i), f.store.n); break;
      case Int: r.i(f.width, f.store.integer(i)); break;
      case Real:
      case Angle: r.f(f.width, f.decimals, f.store.real(i)); break;
      case Blank: r.x(f.width); break;
    }
  }
  return r.ok();
}

// Text fields are written counting bytes, as they are read: a region in UTF-8 keeps its
// columns and every byte when a record is read and written back.
std::string write_record_line(int type, int line, int k) {
  using enum Kind;
  const int i = k - 1;
  Line s;
  for (const Field& f : layout(type, line)) {
    switch (f.kind) {
      case Text: s.ab(f.store.text_view(i), f.width); break;
      case Int: s.i(f.store.integer(i), f.width); break;
      case Real: s.f(f.store.real(i), f.width, f.decimals); break;
      case Angle: s.a(angle_field(f.store.real(i), f.width)); break;
      case Blank: s.x(f.width); break;
    }
  }
  return s.str();
}

bool read_dek_line(int line, std::string_view text, int k) {
  return read_record_line(1, line, text, k);
}

bool read_ndk_line(int line, std::string_view text, int k) {
  return read_record_line(2, line, text, k);
}

std::string write_dek_line(int line, int k) { return write_record_line(1, line, k); }

std::string write_ndk_line(int line, int k) { return write_record_line(2, line, k); }

std::string angle_field(float value, int w) {
  // Truncation toward zero first; a value that is not finite, or whose whole part cannot
  // fit the field, is never converted to an integer.
  if (!std::isfinite(value) || std::fabs(value) >= 1.0e9f) {
    return std::string(static_cast<std::size_t>(w), '*');
  }
  return frame::fmt::I(static_cast<long long>(std::trunc(value)), w);
}

}  // namespace korbast::catalogue
