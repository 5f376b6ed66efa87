// Fixed-column input. A numeric field is checked character by character and rebuilt as a
// clean number text ("-1234e-2"), which std::from_chars converts once, correctly rounded;
// the value is never assembled by floating-point arithmetic.
#include "frame/fields.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

namespace korbast::frame {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The common catalogue field: a sign, at most 7 significant digits, perhaps a point, no
// exponent. The digits (below 2^24) and the power of ten (at most 10^10) are exact in single
// precision, so one single-precision division gives the correctly rounded value, the same
// as the general conversion. Anything else (zeros and blanks included, which keep their own
// rules) is left to the general path: false.
bool parse_plain_real(std::string_view field, int d, float& value) {
  static const float powers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
  std::uint32_t mantissa = 0;
  int digits = 0;
  int decimals = 0;
  bool negative = false, sign = false, point = false, any = false;
  for (char c : field) {
    if (c == ' ') continue;
    if (is_digit(c)) {
      any = true;
      if (point) ++decimals;
      if (digits == 0 && c == '0') continue;  // leading zeros
      if (++digits > 7) return false;
      mantissa = mantissa * 10 + static_cast<std::uint32_t>(c - '0');
    } else if (c == '.' && !point) {
      point = true;
    } else if ((c == '-' || c == '+') && !sign && !point && !any) {
      sign = true;
      negative = c == '-';
    } else {
      return false;
    }
  }
  const int k = point ? decimals : d;
  if (mantissa == 0 || k < 0 || k > 10) return false;
  const float v = static_cast<float>(mantissa) / powers[k];
  value = negative ? -v : v;
  return true;
}

}  // namespace

bool parse_int_field(std::string_view field, int& value) {
  std::string clean;
  bool sign = false;
  bool digits = false;
  for (char c : field) {
    if (c == ' ') continue;
    if (c == '+' || c == '-') {
      if (sign || digits) return false;
      sign = true;
      if (c == '-') clean += '-';
    } else if (is_digit(c)) {
      clean += c;
      digits = true;
    } else {
      return false;  // a point, a letter, a tab, ...
    }
  }
  if (!digits) {
    if (sign) return false;  // a lone sign is not an integer
    value = 0;               // all blank
    return true;
  }
  int v = 0;
  const auto r = std::from_chars(clean.data(), clean.data() + clean.size(), v);
  if (r.ec != std::errc() || r.ptr != clean.data() + clean.size()) return false;  // overflow
  value = v;
  return true;
}

bool parse_real_field(std::string_view field, int d, float& value) {
  if (parse_plain_real(field, d, value)) return true;
  return detail::parse_real(field, d, true, value);
}

namespace detail {

bool parse_real(std::string_view field, int d, bool fixed_column, float& value) {
  bool negative = false;
  bool sign = false;
  bool point = false;
  std::string int_digits;
  std::string frac_digits;
  // Exponent: 0 none, 1 letter seen (sign allowed), 2 sign seen, 3 digits seen.
  int exp_state = 0;
  bool exp_negative = false;
  long exponent = 0;
  for (char c : field) {
    if (c == ' ') continue;
    if (exp_state == 0) {
      if ((c == '+' || c == '-') && !sign && !point && int_digits.empty()) {
        sign = true;
        negative = c == '-';
      } else if (is_digit(c)) {
        (point ? frac_digits : int_digits) += c;
      } else if (c == '.' && !point) {
        point = true;
      } else if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
        exp_state = 1;
      } else if (c == '+' || c == '-') {
        exp_state = 2;  // a bare signed exponent: "1.5+2"
        exp_negative = c == '-';
      } else {
        return false;
      }
    } else if ((c == '+' || c == '-') && exp_state == 1) {
      exp_state = 2;
      exp_negative = c == '-';
    } else if (is_digit(c)) {
      exp_state = 3;
      if (exponent < 100000) exponent = exponent * 10 + (c - '0');
    } else {
      return false;
    }
  }
  const bool mantissa = !int_digits.empty() || !frac_digits.empty();
  if (exp_state != 0) {
    if (exp_state != 3 || !mantissa) return false;  // "1.5E", "1+", "E5"
  }
  if (!mantissa) {
    // All blank, a lone sign or a lone point: zero ("-." keeps its sign).
    value = (negative && point) ? -0.0f : 0.0f;
    return true;
  }
  // A fixed-column exponent has at most four digits' worth (as the old reads have it);
  // in free format a longer one simply underflows or overflows.
  if (fixed_column && exponent > 9999) return false;
  if (exp_negative) exponent = -exponent;
  // Without a point the last d digits are the fraction, exponent or not.
  if (!point && d > 0) exponent -= d;
  return convert_real(negative, int_digits, frac_digits, exponent, value);
}

bool convert_real(bool negative, std::string_view int_digits, std::string_view frac_digits,
                  long exponent, float& value) {
  std::string clean;
  clean.reserve(int_digits.size() + frac_digits.size() + 16);
  if (negative) clean += '-';
  clean += int_digits;
  if (int_digits.empty()) clean += '0';
  if (!frac_digits.empty()) {
    clean += '.';
    clean += frac_digits;
  }
  clean += 'e';
  clean += std::to_string(exponent);
  float v = 0.0f;
  const auto r = std::from_chars(clean.data(), clean.data() + clean.size(), v);
  // Too large or too small: a non-zero value below the smallest normal single precision
  // value is as much a read error as one above the largest (0.78e-88 is no latitude).
  if (r.ec == std::errc::result_out_of_range) return false;
  if (r.ec != std::errc() || r.ptr != clean.data() + clean.size()) return false;
  if (v != 0.0f && std::fabs(v) < std::numeric_limits<float>::min()) return false;
  value = v;
  return true;
}

}  // namespace detail

std::string_view FieldReader::take(int w) {
  const std::size_t start = col_;
  const std::size_t n = static_cast<std::size_t>(w > 0 ? w : 0);
  col_ += n;
  if (start >= line_.size()) return {};
  return line_.substr(start, n);  // may be shorter: the rest reads as blanks
}

std::string FieldReader::a(int w) {
  std::string s(take(w));
  s.resize(static_cast<std::size_t>(w > 0 ? w : 0), ' ');
  return s;
}

void FieldReader::a(int w, char* text, int n) {
  const std::string_view field = take(w);  // the columns the line has; the rest are blanks
  if (n <= 0) return;
  const auto len = static_cast<std::size_t>(n);
  const auto width = static_cast<std::size_t>(w > 0 ? w : 0);
  // A field wider than the text gives its rightmost n characters: the first ones are skipped.
  const std::size_t skip = width > len ? width - len : 0;
  const std::size_t from = std::min(field.size(), skip);
  const std::size_t copied = field.size() - from;
  if (copied > 0) std::memcpy(text, field.data() + from, copied);
  std::memset(text + copied, ' ', len - copied);
}

void FieldReader::i(int w, int& value) {
  const std::size_t start = col_;
  const std::string_view field = take(w);
  if (error_col_ != 0) return;
  if (!parse_int_field(field, value)) error_col_ = start + 1;
}

void FieldReader::f(int w, int d, float& value) {
  const std::size_t start = col_;
  const std::string_view field = take(w);
  if (error_col_ != 0) return;
  if (!parse_real_field(field, d, value)) error_col_ = start + 1;
}

}  // namespace korbast::frame
