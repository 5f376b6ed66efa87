#include "pages/canvas_text.hpp"

#include <cstdio>

namespace korbast::pages {

namespace {

// Mac OS Roman, bytes 0x80..0xFF, as Unicode code points, as glibc's iconv maps them except
// 0xF0 (a logo glyph), which goes to the private-use U+F8FF.
constexpr char32_t kMacRoman[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x0394, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The length of the well-formed UTF-8 character at s[i] (no overlong forms, no surrogates,
// at most U+10FFFF), 0 when the bytes there are none.
std::size_t utf8_length(std::string_view s, std::size_t i, char32_t& c) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) {
    c = b;
    return 1;
  }
  int n;
  if (b >= 0xC2 && b <= 0xDF) { n = 1; c = b & 0x1F; }
  else if (b >= 0xE0 && b <= 0xEF) { n = 2; c = b & 0x0F; }
  else if (b >= 0xF0 && b <= 0xF4) { n = 3; c = b & 0x07; }
  else return 0;
  if (i + static_cast<std::size_t>(n) >= s.size()) return 0;  // cut short
  for (int k = 1; k <= n; ++k) {
    const auto cb = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
    if ((cb & 0xC0) != 0x80) return 0;
    c = (c << 6) | (cb & 0x3F);
  }
  if ((n == 2 && c < 0x800) || (n == 3 && (c < 0x10000 || c > 0x10FFFF))) return 0;
  if (c >= 0xD800 && c <= 0xDFFF) return 0;
  return static_cast<std::size_t>(n) + 1;
}

// Each character of the drawn bytes: a well-formed UTF-8 character as it is, any other byte
// from 0x80 up from the old set, control bytes as blanks.
template <typename Each>
void for_each_character(std::string_view bytes, Each each) {
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    const std::size_t n = utf8_length(bytes, i, c);
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (n == 0) {
      each(kMacRoman[b - 0x80], bytes.substr(i, 0));
      ++i;
    } else {
      if (b < 0x20 || b == 0x7F) each(U' ', std::string_view(" "));
      else each(c, bytes.substr(i, n));
      i += n;
    }
  }
}

}  // namespace

std::string text_to_utf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for_each_character(bytes, [&](char32_t c, std::string_view as_is) {
    if (!as_is.empty()) out += as_is;
    else append_utf8(out, c);
  });
  return out;
}

std::string text_to_latin1(std::string_view bytes) {
  std::string out;
  for_each_character(bytes, [&](char32_t c, std::string_view) {
    out += c < 0x100 ? static_cast<char>(c) : '?';
  });
  return out;
}

std::string page_file_base(std::string_view name) {
  std::size_t first = 0;
  std::size_t last = name.size();
  while (first < last && name[first] == ' ') ++first;
  while (last > first && name[last - 1] == ' ') --last;
  std::string_view trimmed = name.substr(first, last - first);
  if (trimmed.size() >= 3 && trimmed.substr(trimmed.size() - 3) == ".ps") {
    trimmed.remove_suffix(3);
  }
  std::string base;
  for (char c : trimmed) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                      (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    base += keep ? c : '_';
  }
  if (base.empty()) base = "plot";
  return base;
}

std::string page_png_name(std::string_view base, int window, int page) {
  char tail[48];
  std::snprintf(tail, sizeof tail, "_w%d_p%03d.png", window, page);
  return std::string(base) + tail;
}

std::string page_pdf_name(std::string_view base, int window) {
  char tail[32];
  std::snprintf(tail, sizeof tail, "_w%d.pdf", window);
  return std::string(base) + tail;
}

}  // namespace korbast::pages
