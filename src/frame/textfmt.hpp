// Texts and numbers into messages, prompts, intervals and captions.
//
// Output texts are the caller's character buffer (std::span<char>: a std::string of the
// wanted size, a char array; or a Text<N>). The writers fill it from its first character;
// after a successful write the rest of it is blank. A number that does not fit is reported in
// an error frame and replaced by a marker: the available characters filled with "9"
// (intg2char, carinm2, real2charf1; the rest of the text left as it was) or the text "X"
// (careafmpn, careaempn, caream). None of them ends the run.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "frame/text.hpp"

namespace korbast::frame {

// First and last non-blank positions (1-based); all blank: both the length; empty: 1 and 0.
void textlen(int& first, int& last, std::string_view text);
// The text from its first to its last non-blank character (a text of blanks keeps its last
// character, an empty one gives nothing).
std::string trimmed(std::string_view text);
// Characters needed to write n (sign included).
void integlen(int& count, int n);
// n written left-aligned; count = characters used.
void intg2char(std::span<char> text, int& count, int available, int n);
// The same as intg2char (its older name).
void carinm2(std::span<char> text, int& count, int available, int n);
// x in the fixed-point form of width m with n decimals (Fm.n).
void careafmpn(std::span<char> text, int m, int n, float x);
// x in the exponent form of width m with n digits (Em.n).
void careaempn(std::span<char> text, int m, int n, float x);
// x in width m, fixed-point or exponent form by its size.
void caream(std::span<char> text, int m, float x);
// x with ndec decimals in the narrowest width; count = that width.
void real2charf1(std::span<char> text, int& count, int ndec, int available, float x);

template <std::size_t N>
void intg2char(Text<N>& t, int& count, int available, int n) {
  intg2char(std::span<char>(t.data(), N), count, available, n);
}
template <std::size_t N>
void carinm2(Text<N>& t, int& count, int available, int n) {
  carinm2(std::span<char>(t.data(), N), count, available, n);
}
template <std::size_t N>
void careafmpn(Text<N>& t, int m, int n, float x) {
  careafmpn(std::span<char>(t.data(), N), m, n, x);
}
template <std::size_t N>
void careaempn(Text<N>& t, int m, int n, float x) {
  careaempn(std::span<char>(t.data(), N), m, n, x);
}
template <std::size_t N>
void caream(Text<N>& t, int m, float x) {
  caream(std::span<char>(t.data(), N), m, x);
}
template <std::size_t N>
void real2charf1(Text<N>& t, int& count, int ndec, int available, float x) {
  real2charf1(std::span<char>(t.data(), N), count, ndec, available, x);
}

}  // namespace korbast::frame
