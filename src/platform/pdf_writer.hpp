// The PDF format of the page files, all in one place: a page's content stream (made from its
// drawing by PageOps::content and PageOps::pieces, defined here), the glyph forms its texts
// place, and the file the pages are added to.
#pragma once

#include <string>
#include <vector>

#include "platform/page_ops.hpp"

namespace korbast::platform {

// The outline of glyph `index` of the page font as a PDF form's content (nonzero fill) in
// units of 1/1000 of the font size, y downwards; its box (x0 y0 x1 y1) as text.
struct GlyphForm {
  std::string content;
  std::string bbox;
};
GlyphForm glyph_form(unsigned index);

// A page's content stream (or a piece of it) compressed for its stream object.
std::string compress_content(const std::string& text);

// The PDF file of one window, valid after every page added. Objects: 1 catalogue, 2 page
// tree, 3 document information; then, page by page, the forms of the glyphs the page is the
// first to use, its content stream and its page dictionary. Each page's objects go where the
// previous tail (page tree, cross-reference table, trailer) stood, followed by a fresh tail.
class PdfFile {
 public:
  // The file at `path` (created with the first page), titled `title` (UTF-8), on sheets of
  // sheet_w x sheet_h points.
  PdfFile(std::string path, std::string title, double sheet_w, double sheet_h);
  ~PdfFile();
  PdfFile(const PdfFile&) = delete;
  PdfFile& operator=(const PdfFile&) = delete;

  // Appends a page of these compressed content streams placing these glyph forms (sorted,
  // once each); the error text when it could not be written (the file keeps its pages).
  std::string add_page(const std::vector<std::string>& streams, const std::vector<unsigned>& glyphs);
  // Closes the file; the error text of the close.
  std::string close();
  bool holds_pages() const { return pages_ > 0; }

 private:
  std::string path_;
  std::string title_;
  double sheet_w_ = 0.0, sheet_h_ = 0.0;
  int fd_ = -1;
  int pages_ = 0;
  long long tail_at_ = 0;
  std::vector<long long> offsets_;
  std::vector<std::pair<unsigned, int>> glyph_objs_;  // glyph index, form object; sorted
  std::string kids_;
  std::string tail_;
};

}  // namespace korbast::platform
