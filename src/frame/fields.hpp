// Fixed-column input: fields taken from a line by column, in the old descriptors A, I, F, X.
//
// Columns count from 1; a short line reads as if padded with blanks; blanks inside a numeric
// field are ignored and an all-blank field reads as 0 (in a real field also a lone sign or
// point: "-." is -0); a real field without a point takes its last d digits as the fraction,
// exponent or not; exponents are written with E, e, D, d or as a bare sign ("1.5+2").
// Anything else (letters, NaN, Inf, hex, a point or a lone sign in an integer, an exponent
// without digits before it, a value beyond the type's range) is a read error: the reader
// remembers the first failing column, leaves the target unchanged and converts no later
// field, as the old reads stop at the first bad field. A real too small for single
// precision reads as 0; an exponent beyond 9999 is a read error.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korbast::frame {

// Parse one numeric field on its own (the text of the w columns).

// An integer field (Iw): blanks ignored, all blank is 0; false for anything else.
bool parse_int_field(std::string_view field, int& value);
// A real field (Fw.d): d implied decimals when it has no point; false when unreadable.
bool parse_real_field(std::string_view field, int d, float& value);

namespace detail {
// A real field or free-format value: fixed_column adds the field rules (an exponent beyond
// 9999 is an error there; in free format a longer one makes a read error of any non-zero
// value, by underflow or overflow).
bool parse_real(std::string_view text, int d, bool fixed_column, float& value);
// The real of sign, integer digits, fraction digits and decimal exponent, correctly rounded
// to single precision; false when it is too large, or not zero and below the smallest
// normal single precision value.
bool convert_real(bool negative, std::string_view int_digits, std::string_view frac_digits,
                  long exponent, float& value);
}  // namespace detail

class FieldReader {
 public:
  explicit FieldReader(std::string_view line) : line_(line) {}

  // The next w columns as text (padded with blanks past the end of the line).
  std::string a(int w);
  // Aw into a text of n characters: the first w characters filled, the rest blanked (a
  // field wider than the text gives its rightmost n characters).
  void a(int w, char* text, int n);
  // Iw and Fw.d into the target; on a read error the target is kept and ok() turns false;
  // after an error no further field is converted.
  void i(int w, int& value);
  void f(int w, int d, float& value);
  void x(int n) { col_ += static_cast<std::size_t>(n); }

  bool ok() const { return error_col_ == 0; }
  // Column (from 1) where the first failing field starts, 0 when none failed.
  std::size_t error_column() const { return error_col_; }
  std::size_t column() const { return col_ + 1; }

 private:
  std::string_view take(int w);
  std::string_view line_;
  std::size_t col_ = 0;
  std::size_t error_col_ = 0;
};

}  // namespace korbast::frame
