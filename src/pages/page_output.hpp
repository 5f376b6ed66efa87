// Page files of the drawing device, written beside the dialog: the writer threads and their
// stops.
//
// A finished page is handed over as its drawing (PageOps); worker threads replay it into
// the page's pixels (a tall page in horizontal bands side by side, page_bands.cpp), encode
// the PNG (png_writer.hpp) and the PDF content stream, and one writer thread puts the pages
// into their files in page order (the PDF through pdf_writer.hpp, valid after every page).
// A page is announced on the standard error only when its bytes are in the files. The page
// files of a window are held by one run at a time, from its first page until they are
// closed: a run that finds another one writing them writes none of them, and says so. Where
// no hold can be had, a run finds out when the names no longer hold the files it wrote.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.hpp"
#include "pages/page_ops.hpp"

namespace korbast::pages {

// Called by an encoder thread before each part of a page it makes (a band of its image, its
// PNG, a piece of its PDF content): a test's stand-in for a slow processor. Never set by the
// program.
extern std::atomic<void (*)()> page_encode_hook;
// The clock of the bounded waits on the writer is the steady clock moved on by this many
// nanoseconds: a test moves it to stand for time that passes (a slow encoder, a stop) without
// waiting for it. Never set by the program.
extern std::atomic<std::int64_t> page_clock_ahead;
// Called by a bounded wait after each slice of waiting, between its look at the clock and its
// look for a stop (platform::continued): a test's stand-in for a stop landing there. Never set
// by the program.
extern std::atomic<void (*)()> page_slice_hook;

// The page files of one window. The first page takes the run's hold on them (a lock file
// beside them), and removes the hidden files of page writes that ended runs left; when
// another run holds them, no page is written, each is told as not written, and the files
// are reported failed once. The hold goes with the writer, or at the close when a write was
// given up. Right after a file takes its name, at each page and at the close the writer
// looks whether the names still hold the very files it wrote (kept open meanwhile): a file
// replaced or removed by another program is reported failed (no page of it is kept), and a
// PDF taken is written no more (the PNG files of the later pages are).
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
    std::uint32_t pixels_per_metre = 0;  // the resolution the PNG files record (0: none)
  };
  explicit PageWriter(Setup setup);
  ~PageWriter();  // finish()
  PageWriter(const PageWriter&) = delete;
  PageWriter& operator=(const PageWriter&) = delete;

  // Queues a finished page; waits only while too many pages are still being encoded or
  // written. Every wait on the writer is bounded: a writer that writes no byte for 3 seconds
  // of the waits (a hung network folder; a slow one that takes bytes is waited for, and time
  // the run is stopped does not count) is given up, its file reported as failed, the pages
  // still queued and every later one told as not written; the writer thread is then left to
  // itself, and writes and renames nothing more at the page files' names. Where no writer
  // thread could be started, the dialog writes the pages in its waits, and a write call of it
  // is given up by the same bound where the file system lets the call be interrupted.
  void submit(int page, std::string png_name, std::string png_path, int w, int h, PageOps ops);
  // Waits until every queued page is in its files (or the writer is given up, as above).
  void drain();
  // Waits until every queued page is in its files (or the writer is given up, as above),
  // looks whether the names still hold the files, closes the PDF and ends the threads. After
  // a give-up, the hold on the files is let go here.
  void finish();
  // The files written so far (PNG names and the PDF name once it holds a page).
  std::vector<std::string> files() const;
  // The files that failed since the last call: a failed PNG is not there at all, a failed
  // PDF keeps the pages written before.
  std::vector<platform::FileFailure> take_failures();

  struct Impl;

 private:
  Impl* impl_;
};

}  // namespace korbast::pages
