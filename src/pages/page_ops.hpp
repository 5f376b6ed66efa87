// The drawing of one page as a compact list of operations, and the two ways it is turned
// into a page: replayed into a Cairo image (the only way the page's pixels are made: for the
// window, the PNG file and the tests alike) and written as a PDF content stream. Recording
// and replay are in page_ops.cpp, band planning and hidden-path culling in page_bands.cpp;
// the PDF content streams are made by PdfContent (pdf_content.hpp; the PDF file itself in
// pdf_writer.cpp).
//
// Points are kept as Cairo keeps them, in 24.8 fixed point of the image (x to the right, y
// downwards), so a replay hands Cairo the very coordinates direct drawing would have handed
// it: the pixels are the same. Colours and line widths are kept only where they change;
// texts keep their position, angle, size and bytes.
#pragma once

#include <cairo.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.hpp"

namespace korbast::pages {

// Cairo's own conversion of an image coordinate to its 24.8 fixed point.
std::int32_t to_fixed(double v);

// v rounded to 1/10^decimals in its shortest form ("12.5", "-3", ".25", "-.5").
void put_number(std::string& out, double v, int decimals);

// The pages' font, DejaVu Sans, as a face of the calling thread's own (its glyphs made and
// kept for that thread alone).
cairo_font_face_t* page_font_face();

// A context set up as every page is drawn: shapes with the fast anti-aliasing (or none),
// glyphs with grey-level anti-aliasing (or none), DejaVu Sans, butt caps, mitre joins.
void setup_page_context(cairo_t* cr, bool antialias);

// A path stroked as dots (PageOps::stroke with `dot`) has round line ends: a subpath of no
// length is a disc as wide as the line. Without anti-aliasing Cairo inks only the pixels
// whose centres the disc holds, and a disc narrower than this may hold none; such dots are
// drawn this wide there. Paths stroked otherwise have butt ends: no length, no ink.
constexpr double kNarrowestDot = 1.5;

class PageOps {
 public:
  void clear();
  bool empty() const { return code_.empty(); }
  std::size_t bytes() const;
  std::size_t size() const { return code_.size(); }  // operations recorded

  void antialias(bool on);
  // A path in image pixels; stroking and filling end it.
  void move(double x, double y);
  void line(double x, double y);
  void close();
  // `dot`: stroked as dots (kNarrowestDot above), for the point symbols.
  void stroke(const platform::Rgb& colour, double width, bool dot = false);
  void fill_stroke(const platform::Rgb& fill, const platform::Rgb& stroke, double width);
  // The rectangle (x, y top, w, h) painted white.
  void clear_rect(double x, double y, double w, double h);
  // A text (UTF-8) with its baseline starting at image point (x, y), turned by angle
  // radians counter-clockwise, in the fill colour.
  void text(double x, double y, double angle, double size, const platform::Rgb& colour,
            std::string utf8);

  // ---- shared drawings: one drawing placed at many points (the stereonet of every ball)
  // Makes this a shared drawing: its points are kept from image point (x, y) (24.8 fixed),
  // the point it is placed by. It gets a number of its own.
  void set_origin(std::int32_t x, std::int32_t y);
  std::uint64_t number() const { return number_; }
  // Whether `other` holds the same operations, its points within 1/256 pixel of these.
  bool same_drawing(const PageOps& other) const;
  // The shared drawing placed by image point (x, y) (24.8 fixed); kept once per page. A
  // drawing placed on blank paper has its pixels made once and copied (page_stamp.hpp);
  // others are replayed at their place.
  void place(std::shared_ptr<const PageOps> drawing, std::int32_t x, std::int32_t y, bool blank);
  // The row below the rows reached by the drawings replayed at their place that show in
  // rows [y0, y1), at least y1 and at most `height` (as PageOps::reach for paths).
  int placed_reach(int y0, int y1, int height) const;
  // The shared drawings the page places.
  const std::vector<std::shared_ptr<const PageOps>>& drawings() const { return drawings_; }
  // A shared drawing's reach from its point with its line widths and texts (24.8 fixed).
  struct Reach {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  };
  Reach reach_from_origin() const;
  // Ends the recording of a shared drawing (before it is shared): its reach is kept.
  void seal() { reach_ = reach_from_origin(); }

  // Where a replay stands, and the drawing state there.
  struct Cursor {
    std::size_t code = 0, pts = 0, vals = 0, texts = 0;
    platform::Rgb stroke, fill;
    double width = 1.0;
    bool fill_set = false;  // the fill colour a PDF content stream last set, if any
    platform::Rgb set_fill;
    std::int32_t dx = 0, dy = 0;  // a replay's shift of every point (24.8 fixed)
  };
  // Replays the operations from the cursor to the end into cr, whose target holds the image
  // rows [y0, y1) (paths wholly outside them are skipped; Cairo cuts the rest). With
  // `hidden` (a flag per path from the cursor on, as `hidden` makes them), flagged paths are
  // left out.
  void replay(cairo_t* cr, Cursor& at, int y0 = INT_MIN, int y1 = INT_MAX,
              const std::vector<std::uint8_t>* hidden = nullptr) const;
  // ---- band planning and hidden-path culling (page_bands.cpp)
  // A path of the page: where it starts, the rows and columns it reaches with its line width
  // (a little more, never less), the line width it is stroked with (a dot's at least
  // kNarrowestDot), whether it is filled too.
  struct PathSpan {
    std::uint32_t code = 0, pts = 0;
    float top = 0, bottom = 0, left = 0, right = 0, width = 1;
    bool fill = false;
  };
  // The page's paths in page order: what the band routines below work from.
  std::vector<PathSpan> paths() const;
  // A flag per path: set where every pixel the path touches in rows [y0, y1) of an image
  // `width` pixels wide is painted over in full by an opaque fill drawn after it. Such a
  // pixel ends as that fill's colour whatever lay below, so a replay that leaves the flagged
  // paths out makes the very same pixels in those rows. Crowded maps, where symbols pile up
  // many deep, are drawn several times faster this way.
  std::vector<std::uint8_t> hidden(const std::vector<PathSpan>& paths, int y0, int y1,
                                   int width) const;
  // The row below every row the paths showing in rows [y0, y1) reach (with their line
  // widths; flagged paths left out), at least y1 and at most `height`: a target from the top
  // row down to it cuts none of those paths, so their pixels in [y0, y1) come out as in a
  // replay of the whole page.
  static int reach(const std::vector<PathSpan>& paths, const std::vector<std::uint8_t>& hidden,
                   int y0, int y1, int height);
  // Row borders 0 = b[0] < b[1] < ... < b[n] = height of at most `bands` bands holding about
  // the same amount of drawing (the area the paths cover, and a share per path).
  static std::vector<int> split(const std::vector<PathSpan>& paths, int bands, int height);

 private:
  enum Op : std::uint8_t { kMove, kLine, kClose, kStrokeRgb, kFillRgb, kWidth, kStroke, kDot,
                           kFillStroke, kAntialias, kClearRect, kText, kPlace };
  // Whether the operation paints the path before it (and ends it).
  static bool paints(std::uint8_t op) { return op == kStroke || op == kDot || op == kFillStroke; }
  void state(Op op, const platform::Rgb* colour, double v);
  void set_stroke(const platform::Rgb& c, double width);
  void set_fill(const platform::Rgb& c);
  // The path from code i (points from p, values from u; line width `width` before it) up to
  // its paint: the index of the paint, the rows it reaches with its line width.
  std::size_t scan_path(std::size_t i, std::size_t p, std::size_t u, double width, double& top,
                        double& bottom, double* left = nullptr, double* right = nullptr) const;
  // Replays the path from code i (points from p, values from v; scanned up to code j) and
  // its paint, drawing them when `show`: the code after the paint.
  std::size_t replay_path(cairo_t* cr, Cursor& at, std::size_t i, std::size_t j, bool show,
                          std::size_t& p, std::size_t& v) const;
  // Replays the text of values v on and texts_[t] (left out when culled to rows [y0, y1)).
  void replay_text(cairo_t* cr, const Cursor& at, std::size_t v, std::size_t t, bool cull,
                   int y0, int y1) const;
  // Replays the placing of a shared drawing of values v on: its pixels copied where it lies
  // on blank paper, else replayed at its place (left out when culled to rows [y0, y1)).
  void replay_place(cairo_t* cr, const Cursor& at, std::size_t v, bool cull, int y0,
                    int y1) const;
  struct Outline;
  // The subpaths of the path from code i (points from p) up to its paint.
  void outline(std::size_t i, std::size_t p, Outline& out) const;
  // The PDF content of the operations reads them as they are kept (pdf_content.hpp).
  friend class PdfContent;

  std::vector<std::uint8_t> code_;
  std::vector<std::int32_t> pts_;  // x, y pairs in 24.8 fixed point
  std::vector<double> vals_;       // colours, widths, rectangles, text placements
  std::vector<std::string> texts_;
  bool have_stroke_ = false, have_fill_ = false, have_width_ = false, have_aa_ = false;
  platform::Rgb stroke_, fill_;
  double width_ = 1.0;
  bool aa_ = true;
  std::int32_t origin_x_ = 0, origin_y_ = 0;
  std::uint64_t number_ = 0;  // a shared drawing's number (0 for a page)
  Reach reach_;
  std::vector<std::shared_ptr<const PageOps>> drawings_;  // placed by kPlace, by index
};

}  // namespace korbast::pages
