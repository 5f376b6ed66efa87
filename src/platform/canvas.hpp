// The drawing device under the plot window: one window at a time showing one page, with a
// drawing context whose origin is the lower-left corner of the window content, x to the
// right, y upwards, one unit per pixel.
//
// Two implementations: CairoCanvas (the program's: an image of the page, page files, and an
// X11 window when a display opens) and LogCanvas (tests: one text line per operation).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korbast::platform {

// A rectangle in screen pixels, y growing downwards (the order of the window tables).
struct ScreenRect {
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const ScreenRect&) const = default;
};

struct Rgb {
  double r = 0.0;
  double g = 0.0;
  double b = 0.0;
  bool operator==(const Rgb&) const = default;
};

// What the device needs to know of the page shown in a window.
struct PageInfo {
  std::string name;        // the plot name: the base of the page files
  double scale = 1.0;      // pixels per centimetre of the page
  bool landscape = false;  // the page lies on its long side
};

// A page file the device could not write: its name, the step that failed ("WHILE
// WRITING"), why, and how many pages it holds (0: it is not there).
struct FileFailure {
  std::string file;
  std::string stage;
  std::string reason;
  int pages = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The main screen (top, left, bottom, right).
  virtual ScreenRect screen_bounds() = 0;

  // Opens a window whose content is the rectangle, titled, showing a white page.
  virtual void window_open(const ScreenRect& content, std::string_view title,
                           const PageInfo& page) = 0;
  // Rectangles of the open window: 33 content, 40 port, 32 whole window, 0 title bar.
  virtual ScreenRect window_region(int code) = 0;
  virtual bool window_is_open() const = 0;

  // The drawing context: stroke and fill colours start black, line width 1, no path.
  virtual void context_begin(bool antialias) = 0;

  virtual void set_stroke_rgb(const Rgb& c) = 0;
  virtual void set_fill_rgb(const Rgb& c) = 0;
  virtual Rgb fill_rgb() const = 0;
  virtual void set_line_width(double w) = 0;
  // The one sans font at a size in context units; set_font_size changes only the size.
  virtual void select_font(double size) = 0;
  virtual void set_font_size(double size) = 0;

  // Paths of straight segments. Stroking and filling consume the path.
  virtual void path_begin() = 0;
  virtual void path_move(double x, double y) = 0;
  virtual void path_line(double x, double y) = 0;
  virtual void path_close() = 0;
  // Strokes with the stroke colour and line width and plain (butt) line ends: a subpath of
  // no length shows nothing.
  virtual void path_stroke() = 0;
  virtual void path_fill_stroke() = 0;  // fill (non-zero) with the fill colour, then stroke
  // Strokes as path_stroke does but with round line ends, so that a subpath of no length
  // shows as a dot, a disc as wide as the line (the point symbols). A device on which so
  // narrow a disc could leave no ink draws it wider.
  virtual void path_stroke_dot() = 0;

  // A drawing repeated at many places (the same paths, texts, colours and widths, only
  // moved), drawn between these two calls with (x, y) the point it is placed by. The device
  // may keep it once and place it again. `blank`: it lies on blank paper wherever it is put
  // (nothing drawn before reaches it), so its pixels may be made once and copied; where
  // something does lie below, the edge pixels differ a little. White paint ends it.
  virtual void shared_begin(double x, double y, bool blank) { (void)x, (void)y, (void)blank; }
  virtual void shared_end() {}

  // The advance width of a text (bytes of the old character set), unrotated, unmarked.
  virtual double text_advance(std::string_view bytes) = 0;
  // Draws a text with the fill colour, its baseline starting at (x, y), turned about that
  // point by angle radians counter-clockwise (0 exactly: no turn).
  virtual void text_show(double x, double y, double angle, std::string_view bytes) = 0;

  // Paints the rectangle (x, y, width, height) opaque white, whatever the colours hold; the
  // colour slots are left as they were. Painting the whole window starts a new page.
  virtual void clear_white(double x, double y, double w, double h) = 0;

  virtual void flush() = 0;  // everything drawn so far shows now
  virtual void sync() = 0;   // the drawing shows soon (may be throttled)

  // Writes the current page to the page files when something was drawn on it since it was
  // last white or written.
  virtual void write_page() = 0;

  virtual void context_end() = 0;
  // Removes the window and finishes its files.
  virtual void window_dispose() = 0;
  // The page files that failed since the last call (each once), for the caller to report.
  virtual std::vector<FileFailure> take_file_failures() { return {}; }
};

}  // namespace korbast::platform
