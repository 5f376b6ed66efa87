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
