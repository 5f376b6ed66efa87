// The PDF format of the page files, all in one place: a page's content stream (made from its
// drawing by PageOps::content and PageOps::pieces, defined here), the glyph forms its texts
// place, and the file the pages are added to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/page_ops.hpp"

namespace korbast::platform {

// A shared drawing as a form the pages place (PageOps::form_content): its number, its
// compressed content, its box.
struct PdfForm {
  std::uint64_t number = 0;
  std::string stream;
  std::string bbox;
};

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

  // Appends a page of these compressed content streams, showing these glyphs of the page
  // font (sorted, once each) and placing these shared drawings (those already in the file
  // are not written again); the error text when it could not be written (the file keeps
  // its pages).
  std::string add_page(const std::vector<std::string>& streams, const std::vector<unsigned>& glyphs,
                       const std::vector<PdfForm>& forms = {});
  // Whether the file holds the form of shared drawing `number`.
  bool has_form(std::uint64_t number) const;
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
  std::vector<unsigned> font_glyphs_;  // the glyphs of the font written last; sorted
  int font_obj_ = 0;                   // its object, 0 before the first text
  int resources_obj_ = 0;              // the resources of the pages, 0 before the first need
  std::vector<std::pair<std::uint64_t, int>> form_objs_;  // shared drawing, form object
  std::string kids_;
  std::string tail_;
};

}  // namespace korbast::platform
