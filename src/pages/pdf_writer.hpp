// The PDF format of the page files: a page's content stream (made from its drawing by
// PdfContent, pdf_content.hpp), the page font and the forms of the shared drawings, and the
// file the pages are added to (pdf_writer.cpp).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pages/page_io.hpp"
#include "pages/page_ops.hpp"

namespace korbast::pages {

// A shared drawing as a form the pages place (PdfContent::form_content): its number, its
// compressed content, its box.
struct PdfForm {
  std::uint64_t number = 0;
  std::string stream;
  std::string bbox;
};

// A page's content stream (or a piece of it) compressed for its stream object.
std::string compress_content(const std::string& text);

// The PDF file of one window, readable after every page: each page is appended as
// incremental updates (the font, forms and resources it is the first to need, its content
// streams and page dictionary, the page tree
// nodes above it, each with a cross-reference section pointing back to the one before and
// a trailer), and nothing written is ever overwritten, so a copy cut anywhere holds every page appended
// before the cut. Objects: 1 catalogue, 2 the root of the page tree, 3 document information.
class PdfFile {
 public:
  // The file at `path` (given its name with the first page), titled `title` (UTF-8), on sheets of
  // sheet_w x sheet_h points, its writes counted in `watch` (write_all). Once
  // `watch->given_up` is set (its writer given up), nothing more is written into the file or
  // renamed.
  PdfFile(std::string path, std::string title, double sheet_w, double sheet_h,
          WriteWatch* watch = nullptr);
  ~PdfFile();
  PdfFile(const PdfFile&) = delete;
  PdfFile& operator=(const PdfFile&) = delete;

  // Appends a page of these compressed content streams, showing these glyphs of the page
  // font (sorted, once each) and placing the shared drawings numbered `placed` (sorted, once
  // each), whose forms are in the file or among `forms`; the error text when it could not be written (the file keeps
  // its pages; a file that would hold none is removed).
  std::string add_page(const std::vector<std::string>& streams, const std::vector<unsigned>& glyphs,
                       const std::vector<PdfForm>& forms = {},
                       const std::vector<std::uint64_t>& placed = {});
  // Whether the file holds the form of shared drawing `number`.
  bool has_form(std::uint64_t number) const;
  // Closes the file; the error text of the close.
  std::string close();
  // Why the file's name no longer holds the file (name_lost; the file stays open until the
  // close): "" while it does, and before the first page gives the file its name.
  std::string taken() const;
  int pages() const { return pages_; }
  long long bytes() const { return end_; }  // bytes written, all of them in the file

 private:
  // Page tree nodes below the root: kLevels levels of up to kFan kids (512 pages under each
  // of the root's kids), small enough for the second update of a page to stay short.
  static constexpr int kLevels = 3;
  static constexpr std::size_t kFan = 8;
  struct Node {
    int num = 0;  // object number
    std::vector<int> kids;
    int count = 0;  // pages below
  };
  // What the file's updates have made so far; a page works on a copy, kept once its updates
  // are in the file.
  struct State {
    long long xref_at = 0;  // the last update's cross-reference section
    int objects = 3;        // the highest object number used
    Node root{2, {}, 0};
    std::array<Node, kLevels> last;  // the last node of each level, the pages' level first
    std::vector<unsigned> font_glyphs;  // the glyphs of the font written last; sorted
    int font_obj = 0;                   // its object, 0 before the first text
    int resources_obj = 0;              // the resources of the pages, 0 before the first need
    std::map<std::uint64_t, int> form_objs;  // shared drawing, form object
    std::vector<std::uint64_t> resource_forms;  // the forms the last resources name; sorted
  };
  // The bytes of a page's updates, as they are made (pdf_writer.cpp).
  class Update;

  // Creates the file for the first page; the error text.
  std::string open_file();
  // The file's header and its first three objects.
  void put_head(Update& u) const;
  // A font holding the page's glyphs too, where the last one lacks some; whether one was
  // written.
  static bool put_font(Update& u, State& st, const std::vector<unsigned>& glyphs);
  // The forms of the shared drawings not yet in the file.
  void put_forms(Update& u, State& st, const std::vector<PdfForm>& forms) const;
  // The resources naming the font and the forms placed.
  static void put_resources(Update& u, State& st, const std::vector<std::uint64_t>& placed);
  // The page's content streams and its dictionary, with new page tree nodes above it where
  // the last ones are full: the page's object.
  int put_page(Update& u, State& st, const std::vector<std::string>& streams) const;
  // The page tree nodes above the page, rewritten with it among their kids.
  static void put_tree(Update& u, State& st, int page_obj);
  // Appends the updates and keeps what they made; the error text.
  std::string append(const std::string& body, State&& next);

  std::string path_;
  std::string title_;
  double sheet_w_ = 0.0, sheet_h_ = 0.0;
  WriteWatch* watch_ = nullptr;
  int fd_ = -1;
  std::string temp_;  // its hidden name before its first page
  int pages_ = 0;
  long long end_ = 0;  // the end of the last complete update
  State state_;
};

}  // namespace korbast::pages
