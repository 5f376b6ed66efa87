// The pixels of a shared drawing (one drawn the same at many places of the pages, like the
// stereonet under every beach ball), made once and copied to each place.
//
// A drawing whose points are kept from its placing point is drawn at that point plus its
// points. Cairo makes the same pixels for a drawing moved by whole pixels, so one image per
// sub-pixel offset of the placing point (and per anti-aliasing) serves every place with that
// offset: the pages of a document place their drawings at a few offsets only. The image is
// made on white and put by multiplying: a white page pixel takes the image's pixel as it
// is, which is every pixel of a drawing placed on blank paper; over earlier drawing the
// edge pixels differ a little from drawing it there.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>

namespace korbast::pages {

struct SharedPlace {
  std::uint64_t drawing = 0;       // the drawing's own number (never reused)
  std::int32_t left = 0, top = 0;  // the drawing's reach from its placing point: 24.8 fixed,
  std::int32_t right = 0, bottom = 0;  // with its line widths
  std::int32_t x = 0, y = 0;       // the placing point, 24.8 fixed image coordinates
  bool antialias = true;
};

// Draws the drawing into rows [y0, y1) of `target` (an RGB24 image surface): `draw` draws
// it into a context with its points moved by (dx, dy), 24.8 fixed. Made images are kept per
// thread. False when the target is not an image surface (nothing is drawn then).
bool put_shared(cairo_surface_t* target, const SharedPlace& place, int y0, int y1,
                const std::function<void(cairo_t*, std::int32_t dx, std::int32_t dy)>& draw);

}  // namespace korbast::pages
