// Fixed-length, blank-padded texts: assignment pads with blanks or cuts, as every stored
// name, label and catalogue text field expects.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace korbast::frame {

// The first n characters at chars, up to the first zero byte: what a text holds once set.
inline std::string_view text_view(const char* chars, std::size_t n) {
  std::string_view v(chars, n);
  return v.substr(0, v.find('\0'));
}

// Length in bytes of the character that starts at s[k]: a well-formed UTF-8 sequence is
// one character, any other byte is a character of its own (as the console counts them).
inline std::size_t char_length(std::string_view s, std::size_t k) {
  const auto c = static_cast<unsigned char>(s[k]);
  std::size_t n = 1;
  if (c >= 0xC2 && c <= 0xDF) n = 2;
  else if (c >= 0xE0 && c <= 0xEF) n = 3;
  else if (c >= 0xF0 && c <= 0xF4) n = 4;
  if (n == 1 || k + n > s.size()) return 1;
  for (std::size_t j = 1; j < n; ++j)
    if ((static_cast<unsigned char>(s[k + j]) & 0xC0) != 0x80) return 1;
  return n;
}

// The whole characters of s that fit in n bytes: a name cut to a text of n bytes never
// splits a character.
inline std::string_view whole_characters(std::string_view s, std::size_t n) {
  std::size_t k = 0;
  while (k < s.size() && k + char_length(s, k) <= n) k += char_length(s, k);
  return s.substr(0, k);
}

template <std::size_t N>
class Text {
 public:
  Text() { chars_.fill(' '); }
  Text(std::string_view s) { assign(s); }  // NOLINT: texts convert as they are assigned
  Text& operator=(std::string_view s) {
    assign(s);
    return *this;
  }

  // Texts that start as zero bytes rather than blanks (they print as nothing until set).
  static Text zeros() {
    Text t;
    t.chars_.fill('\0');
    return t;
  }

  void assign(std::string_view s) {
    std::size_t n = std::min(s.size(), N);
    std::copy_n(s.begin(), n, chars_.begin());
    std::fill(chars_.begin() + static_cast<std::ptrdiff_t>(n), chars_.end(), ' ');
  }

  static constexpr std::size_t size() { return N; }
  constexpr char* data() { return chars_.data(); }
  constexpr const char* data() const { return chars_.data(); }
  char& operator[](std::size_t i) { return chars_[i]; }
  char operator[](std::size_t i) const { return chars_[i]; }

  // The whole text with its trailing blanks (zero bytes left out).
  std::string_view view() const { return text_view(chars_.data(), N); }
  operator std::string_view() const { return view(); }  // NOLINT
  std::string str() const { return std::string(view()); }
  // Without leading and trailing blanks.
  std::string_view trimmed() const {
    std::string_view v = view();
    auto b = v.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    auto e = v.find_last_not_of(' ');
    return v.substr(b, e - b + 1);
  }
  bool blank() const { return trimmed().empty(); }

  bool operator==(const Text& o) const { return chars_ == o.chars_; }

 private:
  std::array<char, N> chars_;
};

}  // namespace korbast::frame
