// Texts and names for the drawing device: the bytes the plot library draws become UTF-8
// before they reach the font layer, and the plot name becomes the base of the page files.
#pragma once

#include <string>
#include <string_view>

namespace korbast::pages {

// The drawn bytes as UTF-8. Well-formed UTF-8 characters pass unchanged; every other byte
// from 0x80 up is taken in the old Mac OS Roman character set (0xA1 is the degree sign, 0xA4
// the section sign), so a text may mix both. Zero bytes and other control bytes become
// blanks.
std::string text_to_utf8(std::string_view bytes);
// The drawn text in Latin-1 (the old X window name property), "?" for those beyond.
std::string text_to_latin1(std::string_view bytes);

// The base of the page files for a plot name: blanks trimmed at both ends, a final ".ps"
// dropped, every character outside A-Z a-z 0-9 . _ - replaced by "_"; "plot" when nothing
// is left.
std::string page_file_base(std::string_view name);

// "<base>_w<k>_p<nnn>.png", the file of one page.
std::string page_png_name(std::string_view base, int window, int page);
// "<base>_w<k>.pdf", the file of all pages of window k.
std::string page_pdf_name(std::string_view base, int window);

}  // namespace korbast::pages
