#include "platform/png_writer.hpp"

#include <fcntl.h>
#include <libdeflate.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <algorithm>
#include <vector>

#include "platform/page_io.hpp"
#include "platform/row_deflate.hpp"

namespace korbast::platform {

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

}  // namespace

std::string encode_png(const unsigned char* data, int w, int h, int stride,
                       std::uint32_t pixels_per_metre) {
  // Indexed colour first: pages are mostly white and few-coloured.
  // The index rows in memory kept by the thread: fresh memory of this size would be mapped
  // and cleared by the system for every page.
  thread_local std::unique_ptr<char[]> raw;
  thread_local std::size_t raw_size = 0;
  if (raw_size < static_cast<std::size_t>(h) * (w + 1)) {
    raw_size = static_cast<std::size_t>(h) * (w + 1);
    raw.reset(new char[raw_size]);
  }
  std::uint32_t keys[1024];
  std::uint8_t index[1024];
  std::memset(keys, 0xFF, sizeof keys);  // no colour is 0xFFFFFFFF (the top byte is 0)
  std::int16_t grey[256];
  std::fill(grey, grey + 256, static_cast<std::int16_t>(-1));
  std::uint32_t palette[256];
  int colours = 0;
  bool indexed = true;
  std::uint32_t last = 0xFFFFFFFFu;
  std::uint8_t last_index = 0;
  const std::size_t raw_row = static_cast<std::size_t>(w) + 1;
  for (int y = 0; y < h && indexed; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    const auto* above = y > 0 ? reinterpret_cast<const std::uint32_t*>(
                                    data + static_cast<std::size_t>(y - 1) * stride)
                              : row;
    char* out = raw.get() + static_cast<std::size_t>(y) * raw_row;
    *out++ = 0;
    // A row like the one above (blank rows, mostly) has its indices.
    if (y > 0 && std::memcmp(row, above, static_cast<std::size_t>(w) * 4) == 0) {
      std::memcpy(out, out - raw_row, static_cast<std::size_t>(w));
      continue;
    }
    for (int x = 0; x < w;) {
      // Eight pixels like the eight above them have their indices.
      if (y > 0 && x + 8 <= w && std::memcmp(row + x, above + x, 32) == 0) {
        std::memcpy(out + x, out + x - raw_row, 8);
        x += 8;
        continue;
      }
      for (const int end = std::min(x + 8, w); x < end; ++x) {
        const std::uint32_t v = row[x] & 0xFFFFFFu;
        if (v != last) {
          const std::uint32_t g = v & 0xFFu;
          if (v == g * 0x010101u) {
            // Greys (the most of a page's colours: black, white and their blends) by table.
            if (grey[g] < 0) {
              if (colours == 256) {
                indexed = false;
                break;
              }
              grey[g] = static_cast<std::int16_t>(colours);
              palette[colours++] = v;
            }
            last_index = static_cast<std::uint8_t>(grey[g]);
          } else {
            std::uint32_t slot = (v * 2654435761u) >> 22;
            while (keys[slot] != v && keys[slot] != 0xFFFFFFFFu) slot = (slot + 1) & 1023;
            if (keys[slot] != v) {
              if (colours == 256) {
                indexed = false;
                break;
              }
              keys[slot] = v;
              index[slot] = static_cast<std::uint8_t>(colours);
              palette[colours++] = v;
            }
            last_index = index[slot];
          }
          last = v;
        }
        out[x] = static_cast<char>(last_index);
      }
      if (!indexed) break;
    }
  }
  std::string ihdr;
  put_be32(ihdr, static_cast<std::uint32_t>(w));
  put_be32(ihdr, static_cast<std::uint32_t>(h));
  ihdr += '\x08';                       // bit depth
  ihdr += indexed ? '\x03' : '\x02';    // palette or RGB
  ihdr += std::string(3, '\0');         // deflate, adaptive filters, no interlace
  std::string plte, rgb;
  if (indexed) {
    for (int i = 0; i < colours; ++i) {
      plte += static_cast<char>(palette[i] >> 16);
      plte += static_cast<char>(palette[i] >> 8);
      plte += static_cast<char>(palette[i]);
    }
  } else {
    // RGB rows with the "up" filter (byte minus the byte above).
    const std::size_t row_bytes = static_cast<std::size_t>(w) * 3 + 1;
    rgb.assign(row_bytes * h, '\0');
    std::vector<unsigned char> prev(row_bytes, 0), cur(row_bytes, 0);
    for (int y = 0; y < h; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
      for (int x = 0; x < w; ++x) {
        cur[1 + 3 * x] = static_cast<unsigned char>(row[x] >> 16);
        cur[2 + 3 * x] = static_cast<unsigned char>(row[x] >> 8);
        cur[3 + 3 * x] = static_cast<unsigned char>(row[x]);
      }
      char* out = rgb.data() + y * row_bytes;
      out[0] = 2;
      for (std::size_t i = 1; i < row_bytes; ++i) out[i] = static_cast<char>(cur[i] - prev[i]);
      std::swap(prev, cur);
    }
  }
  std::string png = "\x89PNG\r\n\x1a\n";
  png_chunk(png, "IHDR", ihdr);
  if (pixels_per_metre > 0) {
    std::string phys;
    put_be32(phys, pixels_per_metre);  // across
    put_be32(phys, pixels_per_metre);  // down
    phys += '\x01';                    // per metre
    png_chunk(png, "pHYs", phys);
  }
  if (indexed) png_chunk(png, "PLTE", plte);
  png_chunk(png, "IDAT",
            indexed ? row_deflate(reinterpret_cast<const unsigned char*>(raw.get()),
                                  raw_row * static_cast<std::size_t>(h), raw_row)
                    : zlib_compress(rgb.data(), rgb.size(), kPngLevel));
  png_chunk(png, "IEND", "");
  return png;
}

std::string write_png(const std::string& path, const std::string& bytes) {
  // Written whole under a hidden name beside the final one, then renamed: the final name
  // holds a whole file or none. What a failure leaves is removed.
  const auto slash = path.rfind('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  const std::string temp = path.substr(0, base) + "." + path.substr(base) + ".tmp-" +
                           std::to_string(static_cast<long>(getpid()));
  unlink(temp.c_str());
  int fd = -1;
  do fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) return std::strerror(errno);
  const bool wrote = write_all(fd, bytes.data(), bytes.size(), 0);
  std::string err = wrote ? "" : std::strerror(errno);
  if (close(fd) != 0 && err.empty()) err = std::strerror(errno);
  if (err.empty() && rename(temp.c_str(), path.c_str()) != 0) err = std::strerror(errno);
  if (!err.empty()) unlink(temp.c_str());
  return err;
}

}  // namespace korbast::platform
