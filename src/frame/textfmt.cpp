// Texts and numbers into messages, prompts, intervals and captions.
#include "frame/textfmt.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "frame/dialog.hpp"
#include "frame/dialog_detail.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

constexpr Identity id_intg2char{"intg2char", "3.00", "16-12-98"};
constexpr Identity id_careafmpn{"careafmpn", " 1.2", "16-04-2010"};
constexpr Identity id_careaempn{"careaempn", " 1.1", "16-04-2010"};
constexpr Identity id_real2charf1{"real2charf1", " 1.3", "30-01-2010"};

namespace {

// Writes s into the first characters of the text and blanks the rest (never past its end).
void put(std::span<char> text, std::string_view s) {
  std::size_t n = std::min(s.size(), text.size());
  std::copy_n(s.begin(), n, text.begin());
  std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
}

// The first `available` characters become "9"; the rest is left as it was.
void nines(std::span<char> text, int available) {
  std::size_t n = std::min(static_cast<std::size_t>(std::max(available, 0)), text.size());
  std::fill_n(text.begin(), n, '9');
}

void fill_x(std::span<char> text) { put(text, "X"); }

// The integer lines of the messages: "(3(1x,a,1x,i20))".
std::string pairs20(std::string_view a, long long i) {
  return fmt::Line().item(a).item(fmt::I(i, 20)).str();
}

// The error frame of a number that does not fit in `available` characters, its first line
// naming the number; the text is then filled with nines and count set to available.
void no_room_for(const Identity& id, const std::string& number_line, std::span<char> text,
                 int& count, int available) {
  errorhead(id);
  say(number_line);
  say(fmt::Line().item("with only ").item(fmt::I(available, 20)).item("digits").str());
  say_item("==> NEED LONGER CHARACTER STRING");
  say(pairs20("==> fill with 9 and set nchar =", available));
  errortail00();
  nines(text, available);
  count = available;
}

// caream's own star box on the console (no frame, no pause).
void star_box(std::string_view error_line, int m, std::string_view relation, int j) {
  const int unit = units::console;
  const std::string rule = rule_line('*', 27);
  units::write_line(unit, rule);
  units::write_line(unit, item(error_line));
  units::write_line(unit, fmt::Line()
                              .item("*** m =")
                              .item(std::to_string(m))
                              .item(relation)
                              .item(std::to_string(j))
                              .str());
  units::write_line(unit, item("*** => fill with X      ***"));
  units::write_line(unit, rule);
}

// The common logarithm of |x| in single precision, truncated toward zero.
int log10_trunc(float x) { return static_cast<int>(std::log10(std::fabs(x))); }

}  // namespace

void textlen(int& first, int& last, std::string_view text) {
  first = 1;
  last = static_cast<int>(text.size());
  while (first < last && text[static_cast<std::size_t>(first - 1)] == ' ') ++first;
  while (last > first && text[static_cast<std::size_t>(last - 1)] == ' ') --last;
}

void integlen(int& count, int n) {
  // An exact count of the digits, in 64 bits so that the most negative value has a magnitude.
  long long m = n;
  count = 0;
  if (m < 0) {
    ++count;
    m = -m;
  }
  do {
    ++count;
    m /= 10;
  } while (m > 0);
}

void intg2char(std::span<char> text, int& count, int available, int n) {
  int c = 0;
  integlen(c, n);
  if (c > available) {
    no_room_for(id_intg2char, pairs20("Cannot write integer =", n), text, count, available);
    return;
  }
  put(text, fmt::I(n, c));
  count = c;
}

void carinm2(std::span<char> text, int& count, int available, int n) {
  intg2char(text, count, available, n);
}

namespace {

// The error of a format fm.n or em.n that cannot be written: the text is filled with X.
void invalid_format(const Identity& id, std::string_view format, std::span<char> text, int m,
                    int n) {
  errorhead(id);
  say(fmt::Line().item("m =").item(fmt::I(m, 10)).item("n =").item(fmt::I(n, 10)).str());
  say_item(std::string(format) + " is not a valid format");
  say_item(" ===> fill with X");
  errortail00();
  fill_x(text);
}

}  // namespace

void careafmpn(std::span<char> text, int m, int n, float x) {
  if (m > 99 || m < 1 || n >= m || n < 0) {
    invalid_format(id_careafmpn, "fm.n", text, m, n);
    return;
  }
  put(text, fmt::F(x, m, n));
}

void careaempn(std::span<char> text, int m, int n, float x) {
  if (m > 99 || m <= 6 || n > m - 7 || n < 0) {
    invalid_format(id_careaempn, "em.n", text, m, n);
    return;
  }
  put(text, fmt::E(x, m, n));
}

void caream(std::span<char> text, int m, float x) {
  if (m < 3) {
    star_box("*** ERROR in caream     ***", m, "need m >", 2);
    fill_x(text);
    return;
  }
  // Zero, and values without a logarithm (NaN, Inf), in the fixed form, where the writer
  // shows a non-finite value as NaN, Inf or -Inf.
  if (x == 0.0f || !std::isfinite(x)) {
    careafmpn(text, m, m - 3, x);
    return;
  }
  const int k = log10_trunc(x);
  if (k >= 0) {
    const int j = k + 1;
    if (j < m - 2) {
      careafmpn(text, m, m - j - 2, x);
    } else if (j == m - 2 || j == m - 1) {
      careafmpn(text, m, 0, x);
    } else if (m >= 7) {
      careaempn(text, m, m - 7, x);
    } else {
      star_box("*** ERROR in carem      ***", m, "1+log10(x) >", j);
      fill_x(text);
    }
    return;
  }
  if (k >= -4) {
    careafmpn(text, m, m - 3, x);
  } else if (m >= 7) {
    careaempn(text, m, m - 7, x);
  } else {
    star_box("*** ERROR in carem      ***", m, "log10(x) <", k);
    fill_x(text);
  }
}

void real2charf1(std::span<char> text, int& count, int ndec, int available, float x) {
  const float e = static_cast<float>(std::pow(10.0, -ndec));
  const float margin = 1e-7f + e;
  const float xlow = x - margin;
  const float xhigh = x + margin;
  int d;
  int w;
  if (!std::isfinite(x)) {
    // NaN and Inf have no size: the width of four digits, reported.
    d = 4;
    w = ndec + 5;
    errorhead(id_real2charf1);
    say(fmt::Line().item("Cannot get size of real =").item(fmt::F(x, 30, 5)).str());
    say(fmt::Line()
            .item("set n before =")
            .item(fmt::I(4, 20))
            .item("set nchar =")
            .item(fmt::I(w, 20))
            .str());
    say_item("Watch for NaN or +/-Inf in output ?");
    errortail00();
  } else if (xhigh <= -1.0f) {
    d = log10_trunc(xlow) + 1;
    w = d + ndec + 2;
  } else if (x < 0.0f) {
    d = 1;
    w = ndec + 3;
  } else if (xlow < 1.0f) {
    d = 1;
    w = ndec + 2;
  } else {
    d = log10_trunc(xhigh) + 1;
    w = d + ndec + 1;
  }
  int decimals = ndec;
  if (w > available) {
    w = available;
    decimals = available - d - 2;
  }
  if (decimals < 0) {
    no_room_for(id_real2charf1, fmt::Line().item("Cannot write real =").item(fmt::F(x, 30, 5)).str(),
                text, count, available);
    return;
  }
  careafmpn(text, w, decimals, x);
  count = w;
}

std::string trimmed(std::string_view text) {
  int first = 0;
  int last = 0;
  textlen(first, last, text);
  if (last < first) return {};
  return std::string(text.substr(static_cast<std::size_t>(first - 1),
                                 static_cast<std::size_t>(last - first + 1)));
}

}  // namespace korbast::frame
