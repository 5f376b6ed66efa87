#include "pages/pdf_font.hpp"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>

namespace korbast::pages {

namespace {

std::uint16_t u16(const std::string& t, std::size_t at) {
  if (at + 2 > t.size()) return 0;
  return static_cast<std::uint16_t>((static_cast<unsigned char>(t[at]) << 8) |
                                    static_cast<unsigned char>(t[at + 1]));
}
std::uint32_t u32(const std::string& t, std::size_t at) {
  return (static_cast<std::uint32_t>(u16(t, at)) << 16) | u16(t, at + 2);
}
void put16(std::string& t, std::uint32_t v) {
  t += static_cast<char>(v >> 8);
  t += static_cast<char>(v);
}
void put32(std::string& t, std::uint32_t v) {
  put16(t, v >> 16);
  put16(t, v & 0xFFFF);
}
void set16(std::string& t, std::size_t at, std::uint32_t v) {
  if (at + 2 > t.size()) return;
  t[at] = static_cast<char>(v >> 8);
  t[at + 1] = static_cast<char>(v);
}
void set32(std::string& t, std::size_t at, std::uint32_t v) {
  set16(t, at, v >> 16);
  set16(t, at + 2, v & 0xFFFF);
}

std::uint32_t checksum(const std::string& t) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < t.size(); i += 4) {
    std::uint32_t w = 0;
    for (std::size_t k = 0; k < 4; ++k)
      w = (w << 8) | (i + k < t.size() ? static_cast<unsigned char>(t[i + k]) : 0u);
    sum += w;
  }
  return sum;
}

std::string number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  std::string s = buf;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

// The page font's TrueType tables, read once from the face Cairo draws with.
struct Face {
  bool ok = false;
  std::map<std::string, std::string> tables;  // by tag
  unsigned glyphs = 0;                         // maxp's count
  unsigned units = 2048;                       // units per em
  bool long_loca = false;
  std::vector<std::uint32_t> loca;             // glyphs + 1 offsets into glyf
  std::vector<std::uint16_t> advance;          // per glyph, font units
  std::map<unsigned, char32_t> unicode;        // glyph -> the lowest character mapped to it

  Face() {
    cairo_font_face_t* face =
        cairo_toy_font_face_create("DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_matrix_t fm, ctm;
    cairo_matrix_init_scale(&fm, 1000, 1000);
    cairo_matrix_init_identity(&ctm);
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_scaled_font_t* sf = cairo_scaled_font_create(face, &fm, &ctm, fo);
    cairo_font_options_destroy(fo);
    cairo_font_face_destroy(face);
    if (cairo_scaled_font_status(sf) == CAIRO_STATUS_SUCCESS &&
        cairo_scaled_font_get_type(sf) == CAIRO_FONT_TYPE_FT) {
      if (FT_Face ft = cairo_ft_scaled_font_lock_face(sf)) {
        read(ft);
        cairo_ft_scaled_font_unlock_face(sf);
      }
    }
    cairo_scaled_font_destroy(sf);
  }

  void read(FT_Face ft) {
    for (const char* tag : {"head", "hhea", "maxp", "hmtx", "loca", "glyf", "cvt ", "fpgm", "prep",
                            "OS/2"}) {
      const FT_ULong t = FT_MAKE_TAG(tag[0], tag[1], tag[2], tag[3]);
      FT_ULong len = 0;
      if (FT_Load_Sfnt_Table(ft, t, 0, nullptr, &len) != 0) continue;
      std::string data(len, '\0');
      if (FT_Load_Sfnt_Table(ft, t, 0, reinterpret_cast<FT_Byte*>(data.data()), &len) != 0) continue;
      tables[tag] = std::move(data);
    }
    for (const char* need : {"head", "hhea", "maxp", "hmtx", "loca", "glyf"})
      if (!tables.count(need)) return;
    const std::string& head = tables["head"];
    units = u16(head, 18);
    long_loca = u16(head, 50) != 0;
    glyphs = u16(tables["maxp"], 4);
    const std::string& lt = tables["loca"];
    loca.resize(glyphs + 1);
    for (unsigned g = 0; g <= glyphs; ++g)
      loca[g] = long_loca ? u32(lt, 4 * g) : 2u * u16(lt, 2 * g);
    const unsigned metrics = u16(tables["hhea"], 34);
    const std::string& hm = tables["hmtx"];
    advance.resize(glyphs);
    for (unsigned g = 0; g < glyphs; ++g)
      advance[g] = u16(hm, 4 * std::min(g, metrics > 0 ? metrics - 1 : 0));
    FT_UInt g = 0;
    for (FT_ULong c = FT_Get_First_Char(ft, &g); g != 0; c = FT_Get_Next_Char(ft, c, &g)) {
      unicode.emplace(g, static_cast<char32_t>(c));  // characters come in rising order
    }
    ok = units > 0 && glyphs > 0 && loca.back() <= tables["glyf"].size();
  }

  // The glyph's bytes in glyf (empty for a glyph without outline).
  std::string_view glyph(unsigned g) const {
    if (g >= glyphs || loca[g + 1] < loca[g]) return {};
    return std::string_view(tables.at("glyf")).substr(loca[g], loca[g + 1] - loca[g]);
  }
};

// Made once and never destroyed: a page writer given up on a write that does not end (a
// FIFO at a page's name) is never joined and may still read it while the program ends.
const Face& face() {
  static const Face* const f = new Face;
  return *f;
}

}  // namespace

double pdf_glyph_width(unsigned glyph) {
  const Face& f = face();
  if (!f.ok || glyph >= f.glyphs) return 0.0;
  return f.advance[glyph] * 1000.0 / f.units;
}

namespace {

// The glyphs to keep, a flag per glyph of the face: those wanted with those their composite
// outlines are built from; 0 (the missing glyph) always.
std::vector<bool> kept_glyphs(const Face& f, const std::vector<unsigned>& wanted) {
  std::vector<bool> keep(f.glyphs, false);
  std::vector<unsigned> todo{0};
  for (unsigned g : wanted)
    if (g < f.glyphs) todo.push_back(g);
  while (!todo.empty()) {
    const unsigned g = todo.back();
    todo.pop_back();
    if (keep[g]) continue;
    keep[g] = true;
    const std::string s(f.glyph(g));
    if (s.size() < 10 || static_cast<std::int16_t>(u16(s, 0)) >= 0) continue;
    for (std::size_t at = 10; at + 4 <= s.size();) {
      const unsigned flags = u16(s, at), part = u16(s, at + 2);
      if (part < f.glyphs) todo.push_back(part);
      at += 4 + ((flags & 0x1) ? 4 : 2);
      if (flags & 0x8) at += 2;
      else if (flags & 0x40) at += 4;
      else if (flags & 0x80) at += 8;
      if (!(flags & 0x20)) break;
    }
  }
  return keep;
}

// The face's tables cut down to the kept glyphs: glyf and loca (long offsets) with only their
// outlines, the metrics of the glyphs left out zero (the widths the file gives are its own).
std::map<std::string, std::string> subset_tables(const Face& f, const std::vector<bool>& keep) {
  std::string glyf, loca;
  for (unsigned g = 0; g < f.glyphs; ++g) {
    put32(loca, static_cast<std::uint32_t>(glyf.size()));
    if (!keep[g]) continue;
    glyf += f.glyph(g);
    while (glyf.size() % 4) glyf += '\0';
  }
  put32(loca, static_cast<std::uint32_t>(glyf.size()));
  std::map<std::string, std::string> tables;
  for (const auto& [tag, data] : f.tables) tables[tag] = data;
  tables["glyf"] = std::move(glyf);
  tables["loca"] = std::move(loca);
  std::string& hmtx = tables["hmtx"];
  const unsigned metrics = u16(tables["hhea"], 34);
  for (unsigned g = 0; g < f.glyphs; ++g) {
    if (keep[g]) continue;
    if (g < metrics) set32(hmtx, 4 * g, 0);
    else set16(hmtx, 4 * metrics + 2 * (g - metrics), 0);
  }
  std::string& head = tables["head"];
  set32(head, 8, 0);    // checkSumAdjustment, set by truetype_file
  set16(head, 50, 1);   // long offsets
  return tables;
}

// The font file of these tables: offset table, table records (tags in order), tables on
// 4-byte boundaries, the whole file's checksum adjusted in head.
std::string truetype_file(const std::map<std::string, std::string>& tables) {
  const std::uint16_t n = static_cast<std::uint16_t>(tables.size());
  std::uint16_t pow2 = 1, log2 = 0;
  while (pow2 * 2 <= n) {
    pow2 = static_cast<std::uint16_t>(pow2 * 2);
    ++log2;
  }
  std::string ttf;
  put32(ttf, 0x00010000);
  put16(ttf, n);
  put16(ttf, pow2 * 16u);
  put16(ttf, log2);
  put16(ttf, n * 16u - pow2 * 16u);
  const std::size_t at = 12 + 16u * n;
  std::string body;
  std::size_t head_at = 0;
  for (const auto& [tag, data] : tables) {
    if (tag == "head") head_at = at + body.size();
    ttf += tag;
    put32(ttf, checksum(data));
    put32(ttf, static_cast<std::uint32_t>(at + body.size()));
    put32(ttf, static_cast<std::uint32_t>(data.size()));
    body += data;
    while (body.size() % 4) body += '\0';
  }
  ttf += body;
  set32(ttf, head_at + 8, 0xB1B0AFBAu - checksum(ttf));
  return ttf;
}

// The subset's name: six letters from the kept glyphs, then the face's name.
std::string subset_name(const Face& f, const std::vector<bool>& keep) {
  std::uint32_t hash = 2166136261u;
  for (unsigned g = 0; g < f.glyphs; ++g)
    if (keep[g]) hash = (hash ^ g) * 16777619u;
  std::string name;
  for (int k = 0; k < 6; ++k) {
    name += static_cast<char>('A' + hash % 26);
    hash /= 26;
  }
  return name + "+DejaVuSans";
}

// The face's box, ascent, descent and cap height in 1/1000 of the size.
void put_metrics(const Face& f, PdfFont& out) {
  const double em = 1000.0 / f.units;
  const std::string& hd = f.tables.at("head");
  out.bbox = number(static_cast<std::int16_t>(u16(hd, 36)) * em) + " " +
             number(static_cast<std::int16_t>(u16(hd, 38)) * em) + " " +
             number(static_cast<std::int16_t>(u16(hd, 40)) * em) + " " +
             number(static_cast<std::int16_t>(u16(hd, 42)) * em);
  const std::string& hh = f.tables.at("hhea");
  out.ascent = static_cast<int>(std::lround(static_cast<std::int16_t>(u16(hh, 4)) * em));
  out.descent = static_cast<int>(std::lround(static_cast<std::int16_t>(u16(hh, 6)) * em));
  out.cap_height = out.ascent;
  if (auto os2 = f.tables.find("OS/2"); os2 != f.tables.end() && os2->second.size() >= 90)
    out.cap_height = static_cast<int>(std::lround(static_cast<std::int16_t>(u16(os2->second, 88)) * em));
}

// The kept glyphs' widths (/W) and the map from them to Unicode, in one pass over the glyphs.
void put_widths_and_unicode(const Face& f, const std::vector<bool>& keep, PdfFont& out) {
  const double em = 1000.0 / f.units;
  out.widths = "[";
  std::string cmap_lines;
  int cmap_count = 0;
  std::string ranges;
  auto flush_cmap = [&] {
    if (cmap_count == 0) return;
    ranges += std::to_string(cmap_count) + " beginbfchar\n" + cmap_lines + "endbfchar\n";
    cmap_lines.clear();
    cmap_count = 0;
  };
  char buf[64];
  for (unsigned g = 0; g < f.glyphs; ++g) {
    if (!keep[g]) continue;
    out.widths += std::to_string(g) + " [" + number(f.advance[g] * em) + "] ";
    const auto u = f.unicode.find(g);
    if (u == f.unicode.end()) continue;
    char32_t c = u->second;
    if (c >= 0x10000) {
      c -= 0x10000;
      std::snprintf(buf, sizeof buf, "<%04X> <%04X%04X>\n", g, 0xD800u | (c >> 10),
                    0xDC00u | (c & 0x3FF));
    } else {
      std::snprintf(buf, sizeof buf, "<%04X> <%04X>\n", g, static_cast<unsigned>(c));
    }
    cmap_lines += buf;
    if (++cmap_count == 100) flush_cmap();
  }
  flush_cmap();
  out.widths += "]";
  out.to_unicode =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n" +
      ranges + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

}  // namespace

PdfFont pdf_font(const std::vector<unsigned>& wanted) {
  const Face& f = face();
  PdfFont out;
  if (!f.ok) return out;
  const std::vector<bool> keep = kept_glyphs(f, wanted);
  out.truetype = truetype_file(subset_tables(f, keep));
  out.name = subset_name(f, keep);
  put_metrics(f, out);
  put_widths_and_unicode(f, keep, out);
  out.ok = true;
  return out;
}

}  // namespace korbast::pages
