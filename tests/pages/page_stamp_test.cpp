// A shared drawing put on a page: a white pixel takes the drawing's pixel, a drawn pixel the
// product of both, channel by channel; also where white and drawn pixels alternate. Made
// with anti-aliasing or without, as placed.
#include <gtest/gtest.h>
#include <cairo.h>

#include <cstdint>
#include <cstring>

#include "pages/page_stamp.hpp"

namespace {

using korbast::pages::put_shared;
using korbast::pages::SharedPlace;

std::uint32_t times(std::uint32_t a, std::uint32_t b) {  // a * b / 255, rounded
  const std::uint32_t t = a * b + 0x80;
  return (t + (t >> 8)) >> 8;
}

std::uint32_t pixel(cairo_surface_t* s, int x, int y) {
  std::uint32_t v;
  std::memcpy(&v, cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s) + 4 * x, 4);
  return v & 0xFFFFFFu;
}

TEST(PageStamp, OnWhiteTheDrawingOverDrawingTheProductOfBoth) {
  const int w = 48, h = 24;
  auto draw = [](cairo_t* c, std::int32_t dx, std::int32_t dy) {
    const double x = dx / 256.0, y = dy / 256.0;
    cairo_set_source_rgb(c, 0.2, 0.4, 0.6);
    cairo_set_line_width(c, 2.5);
    cairo_move_to(c, x + 2.3, y + 3.7);
    cairo_line_to(c, x + 40.1, y + 15.2);
    cairo_stroke(c);
    cairo_rectangle(c, x + 5.5, y + 10.25, 30, 4);
    cairo_fill(c);
  };
  SharedPlace p;
  p.drawing = 0xC0FFEE;
  p.right = 44 * 256;
  p.bottom = 20 * 256;
  p.x = 256 + 77;
  p.y = 256 + 133;
  cairo_surface_t* white = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_surface_t* striped = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_surface_t* before = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t v = 0xFF000000u | (x % 3 == 0 ? 0xFFFFFFu : 0xC08040u + 0x10203u * (y % 4));
      for (cairo_surface_t* s : {white, striped, before}) {
        const std::uint32_t put = s == white ? 0xFFFFFFFFu : v;
        std::memcpy(cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s) + 4 * x,
                    &put, 4);
      }
    }
  }
  for (cairo_surface_t* s : {white, striped, before}) cairo_surface_mark_dirty(s);
  ASSERT_TRUE(put_shared(white, p, 0, h, draw));
  ASSERT_TRUE(put_shared(striped, p, 0, h, draw));
  int on_white = 0, on_drawn = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t s = pixel(white, x, y), d = pixel(before, x, y);
      if (s == 0xFFFFFFu) continue;
      std::uint32_t want = s;
      if (d != 0xFFFFFFu) {
        want = times(d >> 16, s >> 16) << 16 | times((d >> 8) & 0xFF, (s >> 8) & 0xFF) << 8 |
               times(d & 0xFF, s & 0xFF);
        ++on_drawn;
      } else {
        ++on_white;
      }
      EXPECT_EQ(pixel(striped, x, y), want) << "at " << x << "," << y;
    }
  }
  EXPECT_GT(on_white, 50);
  EXPECT_GT(on_drawn, 100);
  for (cairo_surface_t* s : {white, striped, before}) cairo_surface_destroy(s);
}

// One shared drawing placed at the same sub-pixel offset with anti-aliasing on, then off:
// the second has only the drawing's pure colours, no grey edges.
TEST(PageStamp, AntiAliasingOffGivesNoGreyAfterItWasOn) {
  const int w = 40, h = 30;
  auto draw = [](cairo_t* c, std::int32_t dx, std::int32_t dy) {
    cairo_set_source_rgb(c, 0, 0, 0);
    cairo_set_line_width(c, 1.7);
    cairo_move_to(c, dx / 256.0 + 3.3, dy / 256.0 + 2.6);
    cairo_line_to(c, dx / 256.0 + 31.2, dy / 256.0 + 21.9);
    cairo_stroke(c);
  };
  SharedPlace p;
  p.drawing = 0xA11A5;
  p.right = 36 * 256;
  p.bottom = 26 * 256;
  p.x = 2 * 256 + 91;
  p.y = 256 + 170;
  int grey[2] = {}, black[2] = {};
  for (bool aa : {true, false}) {
    p.antialias = aa;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* c = cairo_create(s);
    cairo_set_source_rgb(c, 1, 1, 1);
    cairo_paint(c);
    cairo_destroy(c);
    ASSERT_TRUE(put_shared(s, p, 0, h, draw));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        black[aa] += pixel(s, x, y) == 0;
        grey[aa] += pixel(s, x, y) != 0 && pixel(s, x, y) != 0xFFFFFFu;
      }
    cairo_surface_destroy(s);
  }
  EXPECT_GT(grey[1], 20) << "anti-aliased edges";
  EXPECT_GT(black[0], 30);
  EXPECT_EQ(grey[0], 0) << "without anti-aliasing";
}

}  // namespace
