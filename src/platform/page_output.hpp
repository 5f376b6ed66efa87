// Page files of the drawing device, written beside the dialog.
//
// A finished page is handed over as its drawing (PageOps); worker threads replay it into
// the page's pixels (a tall page in horizontal bands side by side), encode the PNG and the
// PDF content stream, and one writer thread puts the pages into their files in page order. The PDF is valid after every page: each page's objects go where the previous
// tail (page tree, cross-reference table, trailer) stood, followed by a fresh tail. A page is
// announced on the standard error only when its bytes are in the files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.hpp"
#include "platform/page_ops.hpp"

namespace korbast::platform {

// A PNG file image of w x h pixels of Cairo's RGB24 layout (rows `stride` bytes apart):
// indexed colour when the page has at most 256 colours, 8-bit RGB otherwise; fast deflate.
std::string encode_png(const unsigned char* data, int w, int h, int stride);

// The page files of one window.
class PageWriter {
 public:
  struct Setup {
    std::string pdf_name;    // as told in the notices
    std::string pdf_path;    // where it is written
    std::string title;       // UTF-8
    double sheet_w = 0.0;    // points
    double sheet_h = 0.0;
    double scale = 1.0;      // points per pixel
    int bands = 0;           // bands per page image (0: as the threads allow)
    std::size_t piece = 250000;  // operations per piece of a page's PDF content
  };
  explicit PageWriter(Setup setup);
  ~PageWriter();  // finish()
  PageWriter(const PageWriter&) = delete;
  PageWriter& operator=(const PageWriter&) = delete;

  // Queues a finished page; waits only while too many pages are still being encoded.
  void submit(int page, std::string png_name, std::string png_path, int w, int h, PageOps ops);
  // Waits until every queued page is in its files.
  void drain();
  // Takes no more pages (submit waits for ever), then drain(): the program is ending.
  void halt();
  // drain(), then closes the PDF and ends the threads.
  void finish();
  // The files written so far (PNG names and the PDF name once it holds a page).
  std::vector<std::string> files() const;

  struct Impl;

 private:
  Impl* impl_;
};

}  // namespace korbast::platform
