// The content streams of the PDF page files, made from a page's drawing (PageOps): the
// page's stream whole or in pieces for the writer threads, and a shared drawing as the
// content of a form (pdf_content.cpp; the PDF file itself in pdf_writer.cpp).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "pages/page_ops.hpp"

namespace korbast::pages {

class PdfContent {
 public:
  // The content of `ops`, which must outlive this.
  explicit PdfContent(const PageOps& ops) : ops_(ops) {}

  // The PDF content stream of a page `height` pixels high, pixels scaled by `scale` points;
  // texts place the glyph forms /g<index> (the glyph indices used are added to `glyphs`,
  // sorted, once each). Given a cursor from `pieces` and the code where the next piece
  // starts, the stream of that piece alone: the pieces' streams in order make the page's.
  std::string content(double scale, double height, std::vector<unsigned>& glyphs) const;
  std::string content(double scale, double height, std::vector<unsigned>& glyphs,
                      const PageOps::Cursor& from, std::size_t to) const;
  // Where each of at most `count` pieces of about the same length starts (each between two
  // paints), with the drawing state there.
  std::vector<PageOps::Cursor> pieces(std::size_t count) const;
  // A shared drawing as the content of a PDF form placed as /D<number> by the page content,
  // in the page content's units, its box (x0 y0 x1 y1) as text; the glyphs its texts show
  // are added to `glyphs`.
  std::string form_content(std::string& bbox, std::vector<unsigned>& glyphs) const;

 private:
  // The stream from cursor `from` up to code `to`: of a page (in the page's turn from image
  // pixels, opened where the page starts and closed where it ends) or of a form.
  std::string content_of(double scale, double height, std::vector<unsigned>& glyphs,
                         const PageOps::Cursor& from, std::size_t to, bool page) const;

  const PageOps& ops_;
};

}  // namespace korbast::pages
