// The colour of a pixel of a Cairo image, for the page tests.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <cstring>

namespace korbast::testing {

// The pixel (x, y) of an RGB24 or ARGB32 image as 0xRRGGBB.
inline std::uint32_t px(cairo_surface_t* s, int x, int y) {
  std::uint32_t v;
  std::memcpy(&v, cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s) + 4 * x, 4);
  return v & 0xFFFFFFu;
}

}  // namespace korbast::testing
