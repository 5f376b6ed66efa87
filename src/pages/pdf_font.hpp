// The page font as PDF files embed it: DejaVu Sans, the very face Cairo draws the pages
// with, cut down to the glyphs asked for. Texts are shown in it by glyph index (a composite
// font, Identity-H), so a reader draws the same outlines as the page image and can find
// and copy the texts through the font's map back to Unicode.
#pragma once

#include <string>
#include <vector>

namespace korbast::pages {

struct PdfFont {
  bool ok = false;          // false when the face could not be read (no texts can be set)
  std::string name;         // the subset's name, "ABCDEF+DejaVuSans"
  std::string truetype;     // the font file: every glyph not asked for left empty, the glyph
                            // indices kept as they are
  std::string widths;       // the /W array: "[3 [636.23] 17 [...] ...]", 1/1000 of the size
  std::string to_unicode;   // the CMap from glyph index (two bytes) to Unicode
  std::string bbox;         // "x0 y0 x1 y1", 1/1000 of the size
  int ascent = 0, descent = 0, cap_height = 0;
};

// The font holding the glyphs (glyph indices of the page font; indices the face does not
// have are left out). The glyphs composite glyphs are built from are taken along.
PdfFont pdf_font(const std::vector<unsigned>& glyphs);

// The advance width of a glyph in 1/1000 of the size, as /W gives it.
double pdf_glyph_width(unsigned glyph);

}  // namespace korbast::pages
