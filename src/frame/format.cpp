// Fixed-column output. The digits come from std::to_chars on the double value, which is
// exact on the binary value and rounds exact ties to even; the old layout rules (sign,
// optional leading zero, asterisks, the G choice) are applied to that text.
#include "frame/format.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "frame/text.hpp"

namespace korbast::frame::fmt {

namespace {

std::string stars(int w) { return std::string(static_cast<std::size_t>(w > 0 ? w : 0), '*'); }

// The text right-justified in w columns, or w asterisks when it is too long.
std::string right(const std::string& s, int w) {
  const auto width = static_cast<std::size_t>(w);
  if (s.size() > width) return stars(w);
  return std::string(width - s.size(), ' ') + s;
}

std::string nonfinite(double v, int w) {
  if (std::isnan(v)) return right("NaN", w);
  if (std::signbit(v)) return right(w >= 9 ? "-Infinity" : "-Inf", w);
  return right(w >= 8 ? "Infinity" : "Inf", w);
}

// |v| with d decimals: digits, a point, d digits ("0.50", "45.").
std::string fixed_digits(double a, int d) {
  std::string buf(static_cast<std::size_t>(d) + 340, '\0');
  auto r = std::to_chars(buf.data(), buf.data() + buf.size(), a, std::chars_format::fixed, d);
  buf.resize(static_cast<std::size_t>(r.ptr - buf.data()));
  if (d == 0) buf += '.';
  return buf;
}

// |v| rounded to n significant digits (n >= 1): the digits and the decimal exponent of the
// first digit (v = d1.d2d3... times 10^exp10). Zero gives n zeros and exponent 0.
void significant(double a, int n, std::string& digits, int& exp10) {
  std::string buf(static_cast<std::size_t>(n) + 40, '\0');
  auto r = std::to_chars(buf.data(), buf.data() + buf.size(), a, std::chars_format::scientific,
                         n - 1);
  buf.resize(static_cast<std::size_t>(r.ptr - buf.data()));
  const auto epos = buf.find('e');
  digits.clear();
  for (std::size_t k = 0; k < epos; ++k)
    if (buf[k] != '.') digits += buf[k];
  exp10 = std::atoi(buf.c_str() + epos + 1);
  if (a == 0.0) exp10 = 0;
}

// The exponent part of E output: E+xx for |e| <= 99, +xxx up to 999 (the E dropped).
bool exponent_text(int e, std::string& out) {
  const int m = std::abs(e);
  if (m > 999) return false;
  std::string num = std::to_string(m);
  if (m <= 99) {
    out = std::string("E") + (e < 0 ? '-' : '+') + (m < 10 ? "0" : "") + num;
  } else {
    out = std::string(1, e < 0 ? '-' : '+') + num;
  }
  return true;
}

}  // namespace

std::string I(long long value, int w) {
  std::string s = std::to_string(value);
  if (w <= 0) return s;
  return right(s, w);
}

std::string F(double value, int w, int d) {
  if (w <= 0) return {};
  if (d < 0) return stars(w);
  if (!std::isfinite(value)) return nonfinite(value, w);
  const bool neg = std::signbit(value);
  std::string body = fixed_digits(std::fabs(value), d);
  // The 0 before the point is optional while decimals remain to show a digit.
  if (d > 0 && body[0] == '0' && body.size() + (neg ? 1 : 0) > static_cast<std::size_t>(w))
    body.erase(0, 1);
  return right(neg ? "-" + body : body, w);
}

std::string E(double value, int w, int d) {
  if (w <= 0) return {};
  if (d < 0) return stars(w);
  if (!std::isfinite(value)) return nonfinite(value, w);
  const bool neg = std::signbit(value);
  std::string digits;
  int e10 = 0;
  std::string body;
  std::string exp;
  if (d == 0) {
    // Ew.0 has no digit after the point of 0.ddd; it is written with one digit before it.
    significant(std::fabs(value), 1, digits, e10);
    if (!exponent_text(e10, exp)) return stars(w);
    body = digits + "." + exp;
  } else {
    significant(std::fabs(value), d, digits, e10);
    const int e = value == 0.0 ? 0 : e10 + 1;
    if (!exponent_text(e, exp)) return stars(w);
    body = "0." + digits + exp;
    if (body.size() + (neg ? 1 : 0) > static_cast<std::size_t>(w)) body.erase(0, 1);
  }
  return right(neg ? "-" + body : body, w);
}

std::string G(double value, int w, int d) {
  if (w <= 0) return {};
  if (d < 0) return stars(w);
  if (!std::isfinite(value)) return nonfinite(value, w);
  // The decimal exponent e of the value written as 0.d1d2...dd times 10^e after rounding
  // to d significant digits; zero has e = 0.
  int e = 0;
  if (value != 0.0) {
    if (d == 0) return E(value, w, d);
    std::string digits;
    int e10 = 0;
    significant(std::fabs(value), d, digits, e10);
    e = e10 + 1;
  }
  if (e < 0 || e > d) return E(value, w, d);
  if (w <= 4) return stars(w);
  const std::string f = F(value, w - 4, d - e);
  if (f.find('*') != std::string::npos) return stars(w);
  return f + "    ";
}

std::string L(bool value, int w) {
  if (w <= 0) return {};
  return std::string(static_cast<std::size_t>(w - 1), ' ') + (value ? 'T' : 'F');
}

std::string A(std::string_view text, int w) {
  if (w <= 0) return {};
  // Widths count characters, so that a converted ° or § takes one column.
  std::size_t k = 0;
  int chars = 0;
  while (k < text.size() && chars < w) {
    k += char_length(text, k);
    ++chars;
  }
  if (k < text.size()) return std::string(text.substr(0, k));  // cut to its first w
  return std::string(static_cast<std::size_t>(w - chars), ' ') + std::string(text);
}

std::string A_bytes(std::string_view text, int w) {
  if (w <= 0) return {};
  const auto width = static_cast<std::size_t>(w);
  if (text.size() >= width) return std::string(text.substr(0, width));
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t k = 0; k < text.size();) {
    const std::size_t n = char_length(text, k);
    if (n == 1 && static_cast<unsigned char>(text[k]) >= 0x80) out += '?';
    else out.append(text.substr(k, n));
    k += n;
  }
  return out;
}

std::string X(int n) { return std::string(static_cast<std::size_t>(n > 0 ? n : 0), ' '); }

}  // namespace korbast::frame::fmt
