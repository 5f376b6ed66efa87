// The PNG encoder: its files decode to the image (zlib's inflate and libpng), indexed or in
// full colour, at every code and limit of its deflate. These tests run with the encoder built
// with its room checks (tests/CMakeLists.txt), so that a room counted short ends them.
#include <gtest/gtest.h>
#include <cairo.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "pages/png_writer.hpp"
#include "support/tempfile.hpp"
#include "cairo_pixel.hpp"

namespace korbast::pages {
namespace {

using Dir = korbast::testing::TempDir;
using korbast::testing::px;

// Whether a zlib stream inflates (zlib's own inflate, checking the stream's end and its
// Adler-32 checksum) to exactly the size of `out`, into it.
bool inflates_to(const std::string& stream, std::vector<unsigned char>& out) {
  std::vector<unsigned char> room(out.size() + 1);  // a byte more: a longer result shows
  uLongf got = room.size();
  if (uncompress(room.data(), &got, reinterpret_cast<const Bytef*>(stream.data()), stream.size()) != Z_OK ||
      got != out.size())
    return false;
  std::copy_n(room.begin(), out.size(), out.begin());
  return true;
}

// Images made to meet each way the encoder reads pixels: rows like the one above, rows
// like it but in a few pixels (at the end of the first group of eight and of a row whose
// width is no multiple of eight), greys and colours side by side, a grey and colours sharing
// its blue or its green and blue, and more than 256 colours; widths whose white rows are
// runs just over the longest match (258 bytes). libpng (through Cairo) reads them back.
TEST(PngWriter, DecodesToTheImageIndexedOrInFullColour) {
  Dir d;
  for (int colours : {12, 300}) {
    for (int w : {37, 64, 259, 260, 261}) {
      const int h = 30;  // the last row all literals to the deflate
      std::vector<std::uint32_t> img(static_cast<std::size_t>(w) * h, 0xFFFFFFFFu);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          std::uint32_t& v = img[static_cast<std::size_t>(y) * w + x];
          if (y % 5 == 0) continue;                                             // white rows
          if (y % 5 == 1) v = 0xFF000000u | 0x010101u * ((x * 37 + y) & 0x7F);  // greys
          if (y % 5 == 2) v = 0xFF000000u | ((x * y) % colours) * 0x00035Bu;   // colours
          if (y % 5 == 3) v = img[static_cast<std::size_t>(y - 1) * w + x];     // as above
          if (y % 5 == 3 && (x == 7 || x == w - 1)) v = 0xFF0000C0u;  // but here
          if (y % 5 == 4) v = x % 3 == 0 ? 0xFFC0C0C0u : x % 3 == 1 ? 0xFF0000C0u : 0xFF40C0C0u;
        }
      }
      const std::string file = d / ("e" + std::to_string(colours) + "_" + std::to_string(w) + ".png");
      const std::string made = encode_png(reinterpret_cast<const unsigned char*>(img.data()), w, h, w * 4, 3780);
      {
        std::ofstream out(file, std::ios::binary);
        out << made;
      }
      // Made while clearing the image: the same file, and the image left white (with more
      // than 256 colours, after rows were cleared).
      std::vector<std::uint32_t> cleared = img;
      EXPECT_EQ(encode_png_clearing(reinterpret_cast<unsigned char*>(cleared.data()), w, h, w * 4, 3780), made);
      EXPECT_EQ(std::count(cleared.begin(), cleared.end(), 0xFFFFFFFFu), w * h);
      const std::string bytes = korbast::testing::read_file(file);
      EXPECT_EQ(bytes.find("PLTE") != std::string::npos, colours <= 256) << file;
      // The image data inflates (zlib, strict on the checksum and the length) to
      // exactly the rows: a filter byte and an index or three bytes a pixel.
      std::string idat;
      bool phys = false;
      for (std::size_t at = 8; at + 12 <= bytes.size();) {
        const auto len = static_cast<std::size_t>(static_cast<unsigned char>(bytes[at]) << 24 |
                                                  static_cast<unsigned char>(bytes[at + 1]) << 16 |
                                                  static_cast<unsigned char>(bytes[at + 2]) << 8 |
                                                  static_cast<unsigned char>(bytes[at + 3]));
        if (bytes.compare(at + 4, 4, "IDAT") == 0) idat += bytes.substr(at + 8, len);
        // 3780 (0xEC4) pixels per metre both ways, the unit 1 (the metre).
        if (bytes.compare(at + 4, 4, "pHYs") == 0)
          phys = bytes.substr(at, 17) == std::string("\0\0\0\x09pHYs\0\0\x0E\xC4\0\0\x0E\xC4\x01", 17);
        at += 12 + len;
      }
      EXPECT_TRUE(phys) << file;
      std::vector<unsigned char> rows(static_cast<std::size_t>(h) * (colours <= 256 ? w + 1 : 3 * w + 1));
      EXPECT_TRUE(inflates_to(idat, rows)) << file;
      cairo_surface_t* png = cairo_image_surface_create_from_png(file.c_str());
      ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << file;
      cairo_surface_flush(png);
      int differing = 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          differing += px(png, x, y) != (img[static_cast<std::size_t>(y) * w + x] & 0xFFFFFFu);
      EXPECT_EQ(differing, 0) << file;
      cairo_surface_destroy(png);
    }
  }
}

// The clearing encoder gives every row back white, the first and the last too: an image
// inked only there (the rows between white, or like the inked row above them), in few colours
// and in more than 256.
TEST(PngWriter, ClearingLeavesTheFirstAndLastRowsWhite) {
  constexpr int w = 40, h = 9;
  for (int kind = 0; kind < 3; ++kind) {
    std::vector<std::uint32_t> img(static_cast<std::size_t>(w) * h, 0xFFFFFFFFu);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::uint32_t ink = kind == 2 ? 0xFF000000u | 0x010203u * (x + 40 * y) : 0xFF102030u;
        if (y == 0 || y == h - 1 || kind == 1) img[static_cast<std::size_t>(y) * w + x] = ink;
      }
    const std::string made = encode_png(reinterpret_cast<const unsigned char*>(img.data()), w, h, w * 4);
    EXPECT_EQ(encode_png_clearing(reinterpret_cast<unsigned char*>(img.data()), w, h, w * 4), made);
    for (int y : {0, 1, h - 2, h - 1})
      EXPECT_EQ(std::count(img.begin() + y * w, img.begin() + (y + 1) * w, 0xFFFFFFFFu), w)
          << "row " << y << ", image " << kind;
  }
}

// The pixels (0xRRGGBB) of an indexed PNG file image of w x h pixels; none when its image
// data does not inflate (zlib, strict on the checksum and the length) to exactly the rows,
// or a row's filter or index is not one the file allows.
std::vector<std::uint32_t> indexed_pixels(const std::string& png, int w, int h) {
  std::string plte, idat;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::size_t len = static_cast<unsigned char>(png[at]) << 24 | static_cast<unsigned char>(png[at + 1]) << 16 |
                            static_cast<unsigned char>(png[at + 2]) << 8 | static_cast<unsigned char>(png[at + 3]);
    if (png.compare(at + 4, 4, "PLTE") == 0) plte = png.substr(at + 8, len);
    if (png.compare(at + 4, 4, "IDAT") == 0) idat += png.substr(at + 8, len);
    at += 12 + len;
  }
  const std::size_t row_bytes = static_cast<std::size_t>(w) + 1;
  std::vector<unsigned char> rows(row_bytes * h);
  if (!inflates_to(idat, rows)) return {};
  std::vector<std::uint32_t> px;
  for (std::size_t y = 0; y < static_cast<std::size_t>(h); ++y) {
    if (rows[y * row_bytes] != 0) return {};
    for (std::size_t x = 1; x < row_bytes; ++x) {
      const std::size_t i = 3 * rows[y * row_bytes + x];
      if (i + 2 >= plte.size()) return {};
      px.push_back(static_cast<unsigned char>(plte[i]) << 16 | static_cast<unsigned char>(plte[i + 1]) << 8 |
                   static_cast<unsigned char>(plte[i + 2]));
    }
  }
  return px;
}

// An image w pixels wide: `busy` rows alternating black and white pixel by pixel, each in
// the other phase than the one above (a literal a pixel), then `like` rows like the last of
// them, then one in the other phase.
std::vector<std::uint32_t> busy_and_like_rows(int w, int busy, int like) {
  const int h = busy + like + 1;
  std::vector<std::uint32_t> img(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const int phase = y < busy ? y : y < busy + like ? busy - 1 : busy;
    for (int x = 0; x < w; ++x) img[static_cast<std::size_t>(y) * w + x] = (x + phase) % 2 ? 0xFF000000u : 0xFFFFFFFFu;
  }
  return img;
}

// Whether the image, w pixels wide, encodes to an indexed PNG of its pixels.
::testing::AssertionResult encodes_indexed(const std::vector<std::uint32_t>& img, int w) {
  const int h = static_cast<int>(img.size() / static_cast<std::size_t>(w));
  const std::vector<std::uint32_t> got =
      indexed_pixels(encode_png(reinterpret_cast<const unsigned char*>(img.data()), w, h, w * 4), w, h);
  if (got.size() != img.size()) return ::testing::AssertionFailure() << "not an indexed PNG of its size";
  std::size_t differing = 0;
  for (std::size_t k = 0; k < img.size(); ++k) differing += got[k] != (img[k] & 0xFFFFFFu);
  if (differing > 0) return ::testing::AssertionFailure() << differing << " pixels differ";
  return ::testing::AssertionSuccess();
}

// A page that says many bytes like those above just before many literals: busy rows, then
// like rows, then one in the other phase. The run of like rows goes out in pieces of 258
// bytes right before that row's literals.
TEST(PngWriter, ALongRunOfLikeRowsBeforeABusyRowIsEncodedWhole) {
  constexpr int w = 786;
  auto check = [](int busy, int like) {
    EXPECT_TRUE(encodes_indexed(busy_and_like_rows(w, busy, like), w)) << busy << " busy rows, " << like << " like rows";
  };
  // Each on a new thread, whose token memory is not yet taken.
  for (int like : {3, 60, 100, 300, 5000}) std::thread([&] { check(5, like); }).join();
  // On a thread whose memory a larger page took first: the last busy row at each place of
  // that memory.
  std::thread([&] {
    check(64, 0);
    for (int busy = 1; busy <= 140; ++busy) check(busy, 300);
  }).join();
}

// The deflate's codes and limits, each met by an image that an independent inflate
// (libdeflate) gives back pixel for pixel:
// - like rows before a row in the other phase: a match a row back, whose distance is the
//   row's bytes (the pixels and the filter byte); rows of 2^k and 3 * 2^k bytes (the last
//   distance of a code) and of one byte more (the first of the next), up to 32,767 pixels
//   wide: every distance code a page reaches, at both ends;
// - like rows of 258k bytes before that row, whose filter byte makes the match one piece
//   longer and whose pixels are literals all: the room of a busy row and of a match's
//   pieces, taken to the last token (the room of the compressed bytes is taken to a byte or
//   two by every image);
// - runs of one colour of each length from 3 to 258 bytes, one a row: every length code;
// - many colours at uneven frequencies, 30000 / k^2 pixels of colour k (k = 1 .. 150), each
//   between white ones: without their depth limits, the literal code would be 16 bits deep
//   and the code-length code 8.
TEST(PngWriter, TheDeflateInflatesAtEveryCodeAndLimit) {
  std::set<int> widths;
  for (int k = 0; k <= 14; ++k)
    for (int last : {2 << k, 3 << k})
      for (int row_bytes : {last, last + 1})
        if (row_bytes <= 32768) widths.insert(row_bytes - 1);
  for (int w : widths) EXPECT_TRUE(encodes_indexed(busy_and_like_rows(w, 1, 1), w)) << "width " << w;
  for (auto [w, like] : {std::pair{1, 129}, {2, 86}, {128, 2}, {257, 1}, {171, 3}})
    EXPECT_TRUE(encodes_indexed(busy_and_like_rows(w, 1, like), w)) << "width " << w << ", " << like << " like rows";

  // Row y: a pixel, then y + 4 of one colour (a literal and a run of y + 3), then black and
  // white by turns; each pixel unlike the one above.
  constexpr int w = 260;
  std::vector<std::uint32_t> runs;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < w; ++x)
      runs.push_back(x == 0        ? (y % 2 ? 0xFF404040u : 0xFF202020u)
                     : x <= y + 4 ? (y % 2 ? 0xFF00C000u : 0xFFC00000u)
                     : (x + y) % 2 ? 0xFF000000u
                                   : 0xFFFFFFFFu);
  EXPECT_TRUE(encodes_indexed(runs, w)) << "runs of 3 to 258 bytes";

  // Rows of two pixels: white and a colour, by turns a row.
  std::vector<std::uint32_t> uneven;
  for (std::uint32_t k = 1; k <= 150; ++k)
    for (std::uint32_t n = 30000 / (k * k); n > 0; --n) {
      const bool white_first = uneven.size() / 2 % 2 == 0;
      uneven.push_back(white_first ? 0xFFFFFFFFu : 0xFF000000u | 0x010101u * k);
      uneven.push_back(white_first ? 0xFF000000u | 0x010101u * k : 0xFFFFFFFFu);
    }
  EXPECT_TRUE(encodes_indexed(uneven, 2)) << "uneven colours";
}

}  // namespace
}  // namespace korbast::pages
