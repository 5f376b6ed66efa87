#include "pages/png_writer.hpp"

#include <fcntl.h>
#include <libdeflate.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <algorithm>
#include <vector>

#include "pages/page_io.hpp"
#include "pages/row_deflate.hpp"

namespace korbast::pages {

namespace {

constexpr int kPngLevel = 2;  // faster than 1 on pages (fewer matches tried), files barely larger

void put_be32(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v >> 24);
  s += static_cast<char>(v >> 16);
  s += static_cast<char>(v >> 8);
  s += static_cast<char>(v);
}

void png_chunk(std::string& out, const char* type, const std::string& data) {
  put_be32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t at = out.size();
  out.append(type, 4);
  out += data;
  put_be32(out, libdeflate_crc32(0, out.data() + at, data.size() + 4));
}

// The palette of a page: colours by their order of first use. Greys (most of a page's
// colours: black, white and their blends) by table, the others by hash.
class Palette {
 public:
  Palette() {
    std::memset(keys_, 0xFF, sizeof keys_);  // no colour is 0xFFFFFFFF (the top byte is 0)
    std::fill(grey_, grey_ + 256, static_cast<std::int16_t>(-1));
  }
  // The index of colour v (0xRRGGBB); -1 when it would be the 257th.
  int index(std::uint32_t v) {
    if (v == last_) return last_index_;
    const std::uint32_t g = v & 0xFFu;
    int i;
    if (v == g * 0x010101u) {
      if (grey_[g] < 0) {
        if (count_ == 256) return -1;
        grey_[g] = static_cast<std::int16_t>(count_);
        colours_[count_++] = v;
      }
      i = grey_[g];
    } else {
      std::uint32_t slot = (v * 2654435761u) >> 22;
      while (keys_[slot] != v && keys_[slot] != 0xFFFFFFFFu) slot = (slot + 1) & 1023;
      if (keys_[slot] != v) {
        if (count_ == 256) return -1;
        keys_[slot] = v;
        index_[slot] = static_cast<std::uint8_t>(count_);
        colours_[count_++] = v;
      }
      i = index_[slot];
    }
    last_ = v;
    last_index_ = i;
    return i;
  }
  int count() const { return count_; }
  const std::uint32_t* colours() const { return colours_; }

 private:
  std::uint32_t keys_[1024];
  std::uint8_t index_[1024];
  std::int16_t grey_[256];
  std::uint32_t colours_[256];
  int count_ = 0;
  std::uint32_t last_ = 0xFFFFFFFFu;
  int last_index_ = 0;
};

// How many of the pixels a[0..n) are like b[0..n) (the colour alone: the top byte is left out).
inline int alike(const std::uint32_t* a, const std::uint32_t* b, int n) {
  int k = 0;
#if defined(__SSE2__)
  const __m128i top = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  for (; k + 4 <= n; k += 4) {
    const __m128i x = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + k)), top);
    const __m128i y = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k)), top);
    const unsigned same = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi32(x, y)));
    if (same != 0xFFFFu) return k + __builtin_ctz(~same) / 4;
  }
#endif
  while (k < n && ((a[k] ^ b[k]) & 0xFFFFFFu) == 0) ++k;
  return k;
}

// How many of the pixels a[0..n) are of colour v.
inline int of_colour(const std::uint32_t* a, std::uint32_t v, int n) {
  int k = 0;
#if defined(__SSE2__)
  const __m128i top = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i c = _mm_set1_epi32(static_cast<int>(v | 0xFF000000u));
  for (; k + 4 <= n; k += 4) {
    const __m128i x = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + k)), top);
    const unsigned same = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi32(x, c)));
    if (same != 0xFFFFu) return k + __builtin_ctz(~same) / 4;
  }
#endif
  while (k < n && (a[k] & 0xFFFFFFu) == v) ++k;
  return k;
}

// The zlib stream of the page as indexed rows (a filter byte 0, then an index a pixel),
// its palette in `palette` and `colours`; none when the page has more than 256 colours.
// With `clear`, each row is made white once the row under it is done (`cleared` rows from
// the top, then in the index rows `raw`), and the last one at the end.
// The tokens are found on the pixels: bytes like the bytes a row above are those of pixels
// like the pixels above (a row's filter byte is like the one above), and a run of one colour
// repeats its first byte.
std::optional<std::string> encode_indexed(unsigned char* data, int w, int h, int stride, bool clear,
                                          std::uint32_t* palette, int& colours, int& cleared,
                                          const unsigned char*& raw_rows) {
  const std::size_t row_bytes = static_cast<std::size_t>(w) + 1;
  // The index rows in memory kept by the thread: fresh memory of this size would be mapped
  // and cleared by the system for every page.
  thread_local std::unique_ptr<unsigned char[]> raw;
  thread_local std::size_t raw_size = 0;
  if (raw_size < row_bytes * h) {
    raw_size = row_bytes * h;
    raw.reset(new unsigned char[raw_size]);
  }
  raw_rows = raw.get();
  cleared = 0;
  bool white_above = false;  // the row above is all white (known so)
  auto clear_above = [&](int y, bool white) {
    // Row y - 1 is no longer looked at.
    if (clear && y > 0) {
      if (!white_above) std::memset(data + static_cast<std::size_t>(y - 1) * stride, 0xFF, static_cast<std::size_t>(w) * 4);
      cleared = y;
    }
    white_above = white;
  };
  Palette pal;
  RowTokens tokens(row_bytes);
  const bool up = row_bytes <= 32768;  // a match a row back reaches that far
  std::size_t pending = 0;  // bytes like those above, not yet said, up to `end` of raw
  auto flush = [&](const unsigned char* end) {
    if (pending >= 3) {
      tokens.above(pending);
    } else {
      // Fewer than a match needs (rows of one or two pixels like the row above).
      tokens.room(pending);
      for (const unsigned char* b = end - pending; b != end; ++b) tokens.literal(*b);
    }
    pending = 0;
  };
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    const auto* above = y > 0 ? reinterpret_cast<const std::uint32_t*>(
                                    data + static_cast<std::size_t>(y - 1) * stride)
                              : row;
    unsigned char* out = raw.get() + static_cast<std::size_t>(y) * row_bytes;
    const unsigned char* out_above = out - row_bytes;
    out[0] = 0;
    if (y > 0 && up &&
        (std::memcmp(row, above, static_cast<std::size_t>(w) * 4) == 0 || alike(row, above, w) == w)) {
      // A row like the one above (blank rows, mostly): all of it one match on.
      std::memcpy(out, out_above, row_bytes);
      pending += row_bytes;
      clear_above(y, white_above);
      continue;
    }
    const bool white = y == 0 && of_colour(row, 0xFFFFFFu, w) == w;
    // Position p: 0 the filter byte, x + 1 the pixel x.
    // Room for the row's tokens: a token at most for each of its bytes, and the pieces of the
    // run of bytes like those above that it ends (many rows long after blank rows). The run
    // goes on into the row (by the filter byte at least); each byte it takes there adds a
    // piece at most, in place of that byte's token. A row of literals after a run of 258k
    // bytes fills this room to the last token.
    tokens.room(row_bytes + RowTokens::match_tokens(pending));
    const bool has_above = y > 0 && up;
    int p = 0;
    while (p <= w) {
      if (has_above) {
        // Bytes like those above: the filter byte, pixels like those above it.
        const int from = p;
        if (p == 0) p = 1;
        p += alike(row + p - 1, above + p - 1, w - (p - 1));
        const std::size_t n = static_cast<std::size_t>(p - from);
        if (n > 0 && (pending > 0 || n >= 3)) {
          std::memcpy(out + from, out_above + from, n);
          pending += n;
          continue;
        }
        p = from;
      }
      flush(out + p);
      if (p == 0) {
        tokens.literal(0);
        p = 1;
      }
      // Pixels as their indices, until three like those above, or a run of one colour
      // (said as a pixel and the run after it).
      while (p <= w) {
        const std::uint32_t v = row[p - 1] & 0xFFFFFFu;
        const int i = pal.index(v);
        if (i < 0) {
          // The colours so far: those of the rows already cleared.
          std::copy(pal.colours(), pal.colours() + 256, palette);
          return std::nullopt;
        }
        out[p] = static_cast<unsigned char>(i);
        tokens.literal(static_cast<unsigned char>(i));
        ++p;
        if (p + 2 <= w && (row[p - 1] & 0xFFFFFFu) == v && (row[p] & 0xFFFFFFu) == v &&
            (row[p + 1] & 0xFFFFFFu) == v) {
          const int run = 3 + of_colour(row + p + 2, v, w - p - 2);
          std::memset(out + p, i, static_cast<std::size_t>(run));
          tokens.repeat(static_cast<std::size_t>(run));
          p += run;
          break;
        }
        if (has_above && p + 2 <= w && ((row[p - 1] ^ above[p - 1]) & 0xFFFFFFu) == 0 &&
            ((row[p] ^ above[p]) & 0xFFFFFFu) == 0 && ((row[p + 1] ^ above[p + 1]) & 0xFFFFFFu) == 0) {
          break;
        }
      }
    }
    clear_above(y, white);
  }
  flush(raw.get() + row_bytes * h);
  clear_above(h, false);
  colours = pal.count();
  std::copy(pal.colours(), pal.colours() + colours, palette);
  return tokens.zlib(libdeflate_adler32(1, raw.get(), row_bytes * h));
}

// The PNG file image of the page; with `clear`, the page is left white.
std::string encode(unsigned char* data, int w, int h, int stride, std::uint32_t pixels_per_metre,
                   bool clear) {
  std::uint32_t palette[256];
  int colours = 0, cleared = 0;
  const unsigned char* raw = nullptr;
  std::string idat;
  if (std::optional<std::string> indexed =
          encode_indexed(data, w, h, stride, clear, palette, colours, cleared, raw)) {
    idat = std::move(*indexed);
  } else {
    // More than 256 colours: RGB rows with the "up" filter (byte minus the byte above). The
    // rows already cleared are in the index rows, of the colours so far.
    const std::size_t row_bytes = static_cast<std::size_t>(w) * 3 + 1;
    std::string rgb(row_bytes * h, '\0');
    std::vector<unsigned char> prev(row_bytes, 0), cur(row_bytes, 0);
    for (int y = 0; y < h; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
      const unsigned char* index = raw + static_cast<std::size_t>(y) * (w + 1) + 1;
      for (int x = 0; x < w; ++x) {
        const std::uint32_t v = y < cleared ? palette[index[x]] : row[x];
        cur[1 + 3 * x] = static_cast<unsigned char>(v >> 16);
        cur[2 + 3 * x] = static_cast<unsigned char>(v >> 8);
        cur[3 + 3 * x] = static_cast<unsigned char>(v);
      }
      char* out = rgb.data() + y * row_bytes;
      out[0] = 2;
      for (std::size_t i = 1; i < row_bytes; ++i) out[i] = static_cast<char>(cur[i] - prev[i]);
      std::swap(prev, cur);
    }
    if (clear) std::memset(data, 0xFF, static_cast<std::size_t>(h) * stride);
    idat = zlib_compress(rgb.data(), rgb.size(), kPngLevel);
    colours = 0;
  }
  std::string ihdr;
  put_be32(ihdr, static_cast<std::uint32_t>(w));
  put_be32(ihdr, static_cast<std::uint32_t>(h));
  ihdr += '\x08';                            // bit depth
  ihdr += colours > 0 ? '\x03' : '\x02';     // palette or RGB
  ihdr += std::string(3, '\0');              // deflate, adaptive filters, no interlace
  std::string png = "\x89PNG\r\n\x1a\n";
  png_chunk(png, "IHDR", ihdr);
  if (pixels_per_metre > 0) {
    std::string phys;
    put_be32(phys, pixels_per_metre);  // across
    put_be32(phys, pixels_per_metre);  // down
    phys += '\x01';                    // per metre
    png_chunk(png, "pHYs", phys);
  }
  if (colours > 0) {
    std::string plte;
    for (int i = 0; i < colours; ++i) {
      plte += static_cast<char>(palette[i] >> 16);
      plte += static_cast<char>(palette[i] >> 8);
      plte += static_cast<char>(palette[i]);
    }
    png_chunk(png, "PLTE", plte);
  }
  png_chunk(png, "IDAT", idat);
  png_chunk(png, "IEND", "");
  return png;
}

}  // namespace

std::string encode_png(const unsigned char* data, int w, int h, int stride,
                       std::uint32_t pixels_per_metre) {
  // Not cleared: the pixels are only read.
  return encode(const_cast<unsigned char*>(data), w, h, stride, pixels_per_metre, false);
}

std::string encode_png_clearing(unsigned char* data, int w, int h, int stride,
                                std::uint32_t pixels_per_metre) {
  return encode(data, w, h, stride, pixels_per_metre, true);
}

std::string write_png(const std::string& path, const std::string& bytes, int* kept,
                      WriteWatch* watch) {
  // Written whole under a hidden name beside the final one, then renamed: the final name
  // holds a whole file or none. What a failure leaves is removed. Nothing found at either
  // name is followed: the new file is made only where none is (O_EXCL), and the rename
  // replaces whatever stands at the final name, a link itself and not its target.
  const std::string temp = temp_name(path);
  const int fd = open_temp(temp);
  if (fd < 0) return std::strerror(errno);
  const bool wrote = write_all(fd, bytes.data(), bytes.size(), 0, path, watch);
  std::string err = wrote ? "" : std::strerror(errno);
  // A copy of the descriptor stays open through the rename and the look at the name after it
  // (and is handed out in `kept`): the file's inode number cannot go to another file meanwhile.
  // The one written through is closed first, which reports what a network folder could not
  // store.
  const int mine = err.empty() ? fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1;
  if (err.empty() && mine < 0) err = std::strerror(errno);
  if (close(fd) != 0 && err.empty()) err = std::strerror(errno);
  bool renamed = false;
  if (err.empty()) {
    const std::string why = put_in_place(temp, path, watch);
    renamed = why.empty();
    // Someone who can write the folder may have put another file under the hidden name
    // before the rename: the name then holds that, and not the page.
    err = renamed ? name_lost(path, mine) : why;
  }
  if (!renamed) unlink(temp.c_str());
  if (!err.empty() || !kept) {
    if (mine >= 0) close(mine);
    return err;
  }
  *kept = mine;
  return "";
}

}  // namespace korbast::pages
