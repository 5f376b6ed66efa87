// The page images' PNG encoder: any image comes back pixel for pixel. The input gives the
// size and the pixels, as indices into a few colours or as colours of their own, and whole
// rows at once: rows like the one above (runs of many rows, as the blank parts of a page) and
// rows of two colours alternating pixel by pixel (a literal each pixel); the image data is
// inflated by libdeflate (strict on the checksum and the length) and each row's pixels
// rebuilt from the palette or the "up" filter. Encoding while clearing, on a thread of its
// own, gives the same file and leaves the image white. In this build the encoder ends the
// run when it writes past the room it reserved, however much memory it has spare.
#include <libdeflate.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "pages/png_writer.hpp"

namespace {

std::uint32_t be32(const std::string& s, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  // Small images, or (bit 1 of the third byte) images of page width, up to 3,600 pixels
  // wide and half a million pixels, whose sizes take a byte more each.
  const bool page = data[2] & 2;
  if (page && size < 5) return 0;
  const int w = page ? 1 + (data[0] << 8 | data[3]) % 3600 : 1 + data[0] % 80;
  const int h = page ? 1 + (data[1] << 8 | data[4]) % (1 + (1 << 19) / w) : 1 + data[1] % 40;
  const bool own_colours = data[2] & 1;  // else indices into eight colours
  const std::uint32_t few[8] = {0xFFFFFFu, 0x000000u, 0x808080u, 0xC0C0C0u,
                                0xFF0000u, 0x0000C0u, 0x40C0C0u, 0x010101u};
  std::vector<std::uint32_t> img(static_cast<std::size_t>(w) * h, 0xFFFFFFFFu);
  // The bytes paint the pixels in order, a pixel each (four bytes each for own colours); a
  // zero byte repeats the pixel above, the rest of the image stays white. At the start of a
  // row, 0xFE n makes n + 1 rows like the row above, and 0xFD c a row alternating the colours
  // c >> 3 & 7 and c & 7 (c & 7 first when bit 6 of c is set).
  std::size_t at = page ? 5 : 3;
  for (std::size_t k = 0; k < img.size() && at < size; ++k) {
    const auto uw = static_cast<std::size_t>(w);
    if (k % uw == 0 && at + 1 < size && (data[at] == 0xFE || data[at] == 0xFD)) {
      const std::size_t rows = data[at] == 0xFD ? 1 : data[at + 1] + 1u;
      const std::size_t end = std::min(img.size(), k + rows * uw);
      for (std::size_t c = data[at + 1]; k < end; ++k)
        img[k] = data[at] == 0xFD ? 0xFF000000u | few[(k % uw + (c >> 6)) % 2 ? c & 7 : c >> 3 & 7]
                 : k >= uw        ? img[k - uw]
                                  : 0xFFFFFFFFu;
      --k;
      at += 2;
      continue;
    }
    if (data[at] == 0 && k >= static_cast<std::size_t>(w)) {
      img[k] = img[k - w];
      ++at;
      continue;
    }
    std::uint32_t v = few[data[at] & 7];
    if (own_colours && at + 3 < size) v = data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3];
    img[k] = (data[at] & 0x80 ? 0x7F000000u : 0xFF000000u) | v;  // the top byte is not looked at
    at += own_colours ? 4 : 1;
  }
  const std::string png =
      korbast::pages::encode_png(reinterpret_cast<const unsigned char*>(img.data()), w, h, w * 4, 0);

  // The chunks: IHDR's colour type, PLTE, the image data.
  std::string plte, idat;
  int type = -1;
  for (std::size_t c = 8; c + 12 <= png.size();) {
    const std::uint32_t len = be32(png, c);
    const std::string kind = png.substr(c + 4, 4);
    if (kind == "IHDR") type = static_cast<unsigned char>(png[c + 8 + 9]);
    if (kind == "PLTE") plte = png.substr(c + 8, len);
    if (kind == "IDAT") idat += png.substr(c + 8, len);
    c += 12 + len;
  }
  if (type != 3 && type != 2) std::abort();
  const std::size_t row_bytes = type == 3 ? w + 1 : 3 * w + 1;
  std::vector<unsigned char> rows(row_bytes * h);
  libdeflate_decompressor* inflate = libdeflate_alloc_decompressor();
  const auto got =
      libdeflate_zlib_decompress(inflate, idat.data(), idat.size(), rows.data(), rows.size(), nullptr);
  libdeflate_free_decompressor(inflate);
  if (got != LIBDEFLATE_SUCCESS) std::abort();
  std::vector<unsigned char> above(row_bytes, 0);
  for (int y = 0; y < h; ++y) {
    unsigned char* r = rows.data() + y * row_bytes;
    if (type == 2) {
      if (r[0] != 2) std::abort();
      for (std::size_t i = 1; i < row_bytes; ++i) r[i] = static_cast<unsigned char>(r[i] + above[i]);
      above.assign(r, r + row_bytes);
    } else if (r[0] != 0) {
      std::abort();
    }
    for (int x = 0; x < w; ++x) {
      std::uint32_t v;
      if (type == 2) {
        v = r[1 + 3 * x] << 16 | r[2 + 3 * x] << 8 | r[3 + 3 * x];
      } else {
        const std::size_t i = r[1 + x];
        if (3 * i + 2 >= plte.size()) std::abort();
        v = static_cast<unsigned char>(plte[3 * i]) << 16 |
            static_cast<unsigned char>(plte[3 * i + 1]) << 8 | static_cast<unsigned char>(plte[3 * i + 2]);
      }
      if (v != (img[static_cast<std::size_t>(y) * w + x] & 0xFFFFFFu)) std::abort();
    }
  }

  // The encoder keeps its memory per thread: the image above was encoded in the memory the
  // inputs before it left, this one in fresh memory, as a page writer's first page.
  std::vector<std::uint32_t> cleared = img;
  std::string fresh;
  std::thread([&] {
    fresh = korbast::pages::encode_png_clearing(reinterpret_cast<unsigned char*>(cleared.data()), w,
                                                   h, w * 4, 0);
  }).join();
  if (fresh != png) std::abort();
  for (std::uint32_t v : cleared)
    if ((v & 0xFFFFFFu) != 0xFFFFFFu) std::abort();
  return 0;
}
