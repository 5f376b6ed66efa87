// A zlib stream of image rows, made quickly for the page images: the caller, who knows its
// rows, says which bytes repeat the byte before them or the bytes a row above them (matches)
// and which are literals; they go out in one block of Huffman codes made for the image.
// Pages, mostly white and few-coloured, compress about as well as with a general deflate at
// its fastest levels, several times faster.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korbast::pages {

class RowTokens {
 public:
  // Rows of `row_bytes` bytes (at most 32,768: a match a row back must reach).
  explicit RowTokens(std::size_t row_bytes);

  // Room for n more tokens: to be asked before literals (a token each). A match grows the
  // memory itself when it is full, but takes from the room asked before it: its tokens are
  // to be counted in the room asked for the literals after it (see match_tokens).
  // With KORBAST_ROOM_CHECKS (the sanitizer and fuzz builds, and the encoder of test_png), a
  // literal past the room asked ends the program, even where the memory had more. The memory
  // keeps kSpareTokens more than asked, so that a build without the checks does not write
  // past it on a count a little short; the checks compare with the count, never with the
  // memory.
  static constexpr std::size_t kSpareTokens = 16;
  void room(std::size_t n) {
    if (static_cast<std::size_t>(cap_ - end_) < n + kSpareTokens) grow(n + kSpareTokens);
#if defined(KORBAST_ROOM_CHECKS)
    asked_ = std::max(asked_, static_cast<std::size_t>(end_ - begin_) + n);
#endif
  }
  // A byte as it is.
  void literal(unsigned char b) {
#if defined(KORBAST_ROOM_CHECKS)
    if (static_cast<std::size_t>(end_ - begin_) >= asked_) room_exceeded("a literal past the room asked for it");
#endif
    *end_++ = b;
    ++lit_freq_[b];
  }
  // `n` (3 or more) bytes each like the byte before them.
  void repeat(std::size_t n) { matches(n, 1); }
  // `n` (3 or more) bytes each like the byte a row above.
  void above(std::size_t n) { matches(n, row_bytes_); }
  // The tokens of a match of n (3 or more) bytes: pieces of at most 258 bytes.
  static constexpr std::size_t match_tokens(std::size_t n) { return (n + 257) / 258; }

  // The zlib stream of the bytes said so far, whose Adler-32 checksum is `adler`.
  std::string zlib(std::uint32_t adler) const;

 private:
  void matches(std::size_t n, std::size_t dist);
  void grow(std::size_t n);
  // Ends the program: the encoder wrote past the room it reserved (`what`).
  [[noreturn]] static void room_exceeded(const char* what);

  std::size_t row_bytes_;
  int up_code_;
  // Tokens: a literal byte, or (bit 31) a match: length << 16 | distance - 1. Their memory
  // is kept by the thread: it serves every page.
  std::uint32_t* begin_;
  std::uint32_t* end_;
  std::uint32_t* cap_;
  std::size_t asked_ = 0;  // tokens from begin_ that the room asked so far covers
  std::uint32_t lit_freq_[286] = {};
  std::uint32_t dist_freq_[30] = {};
};

}  // namespace korbast::pages
