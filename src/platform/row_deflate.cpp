#include "platform/row_deflate.hpp"

#include <libdeflate.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <queue>
#include <vector>

namespace korbast::platform {

namespace {

constexpr int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistBase[30] = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                               33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                               1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr int kClOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
constexpr std::size_t kMaxMatch = 258;
constexpr std::size_t kWindow = 32768;

int length_code(std::size_t len) {  // 0..28 for 3..258
  int c = 28;
  while (kLengthBase[c] > static_cast<int>(len)) --c;
  return c;
}
int dist_code(std::size_t dist) {  // 0..29 for 1..32768
  int c = 29;
  while (kDistBase[c] > static_cast<int>(dist)) --c;
  return c;
}

// Huffman code lengths (at most `limit` bits) for the frequencies; symbols never used get
// 0. At least two symbols get a code, so that the code is complete.
std::vector<int> code_lengths(std::vector<std::uint32_t> freq, int limit) {
  const int n = static_cast<int>(freq.size());
  int used = 0;
  for (auto f : freq) used += f > 0;
  for (int s = 0; used < 2 && s < n; ++s)
    if (freq[s] == 0) {
      freq[s] = 1;
      ++used;
    }
  std::vector<int> len(n, 0);
  for (;;) {
    // Nodes: leaves 0..n-1, inner nodes after; a min-heap by weight.
    std::vector<std::uint64_t> weight(freq.begin(), freq.end());
    std::vector<int> parent(n, -1);
    using Item = std::pair<std::uint64_t, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> heap;
    for (int s = 0; s < n; ++s)
      if (freq[s] > 0) heap.push({freq[s], s});
    while (heap.size() > 1) {
      const auto a = heap.top();
      heap.pop();
      const auto b = heap.top();
      heap.pop();
      const int node = static_cast<int>(weight.size());
      weight.push_back(a.first + b.first);
      parent.push_back(-1);
      parent[a.second] = node;
      parent[b.second] = node;
      heap.push({a.first + b.first, node});
    }
    int longest = 0;
    for (int s = 0; s < n; ++s) {
      if (freq[s] == 0) {
        len[s] = 0;
        continue;
      }
      int d = 0;
      for (int p = parent[s]; p >= 0; p = parent[p]) ++d;
      len[s] = d;
      longest = std::max(longest, d);
    }
    if (longest <= limit) return len;
    for (auto& f : freq)
      if (f > 0) f = (f >> 1) | 1;  // flatter: shorter longest code
  }
}

// Canonical codes of the lengths, bit-reversed for the LSB-first stream.
std::vector<std::uint32_t> codes_of(const std::vector<int>& len) {
  int count[16] = {};
  for (int l : len) ++count[l];
  count[0] = 0;
  std::uint32_t next[16] = {};
  std::uint32_t code = 0;
  for (int b = 1; b < 16; ++b) {
    code = (code + count[b - 1]) << 1;
    next[b] = code;
  }
  std::vector<std::uint32_t> out(len.size(), 0);
  for (std::size_t s = 0; s < len.size(); ++s) {
    const int l = len[s];
    if (l == 0) continue;
    std::uint32_t c = next[l]++, r = 0;
    for (int b = 0; b < l; ++b) r |= ((c >> b) & 1u) << (l - 1 - b);
    out[s] = r;
  }
  return out;
}

// Bits, the first in the lowest bit, into a buffer with room for all of them.
class Bits {
 public:
  explicit Bits(unsigned char* at) : at_(at) {}
  void put(std::uint32_t v, int n) {
    acc_ |= static_cast<std::uint64_t>(v) << fill_;
    fill_ += n;
    if (fill_ >= 32) {
      const auto w = static_cast<std::uint32_t>(acc_);
      std::memcpy(at_, &w, 4);  // little-endian: the first bits first
      at_ += 4;
      acc_ >>= 32;
      fill_ -= 32;
    }
  }
  // The end of the bits, after the last partly filled byte.
  unsigned char* finish() {
    while (fill_ > 0) {
      *at_++ = static_cast<unsigned char>(acc_);
      acc_ >>= 8;
      fill_ -= 8;
    }
    fill_ = 0;
    return at_;
  }

 private:
  unsigned char* at_;
  std::uint64_t acc_ = 0;
  int fill_ = 0;
};

// The length of the match of data[i..] against data[i - back..], at most `most`.
std::size_t match(const unsigned char* data, std::size_t i, std::size_t back, std::size_t most) {
  std::size_t k = 0;
  while (k + 8 <= most) {
    std::uint64_t a, b;
    std::memcpy(&a, data + i + k, 8);
    std::memcpy(&b, data + i + k - back, 8);
    if (a != b) return k + static_cast<std::size_t>(__builtin_ctzll(a ^ b) >> 3);  // little-endian
    k += 8;
  }
  while (k < most && data[i + k] == data[i + k - back]) ++k;
  return k;
}

// The three bytes at p (a fourth byte after them is read and left out).
inline std::uint32_t load24(const unsigned char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v & 0xFFFFFFu;  // little-endian: the first three bytes
}

// How many of the 16 bytes from d start no match: neither their three bytes are the three
// above them (`back` bytes earlier) nor are all three the byte before them. Reads d[-back]
// to d[17].
inline int literals_ahead(const unsigned char* d, std::size_t back) {
#if defined(__SSE2__)
  auto same = [](const unsigned char* a, const unsigned char* b) {
    return static_cast<unsigned>(_mm_movemask_epi8(
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)),
                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)))));
  };
  const unsigned above = same(d, d - back) & same(d + 1, d + 1 - back) & same(d + 2, d + 2 - back);
  const unsigned before = same(d, d - 1) & same(d + 1, d) & same(d + 2, d + 1);
  const unsigned starts = above | before;
  return starts == 0 ? 16 : __builtin_ctz(starts);
#else
  for (int k = 0; k < 16; ++k) {
    const unsigned char* p = d + k;
    const bool above = p[0] == p[-static_cast<std::ptrdiff_t>(back)] &&
                       p[1] == p[1 - static_cast<std::ptrdiff_t>(back)] &&
                       p[2] == p[2 - static_cast<std::ptrdiff_t>(back)];
    if (above || (p[0] == p[-1] && p[1] == p[0] && p[2] == p[0])) return k;
  }
  return 16;
#endif
}

}  // namespace

std::string row_deflate(const unsigned char* data, std::size_t n, std::size_t row_bytes) {
  // Tokens: a literal byte, or (bit 31) a match: length << 16 | distance - 1.
  thread_local std::vector<std::uint32_t> tokens;  // kept: its memory serves every page
  tokens.clear();
  tokens.reserve(n / 16 + 64);
  std::vector<std::uint32_t> lit_freq(286, 0), dist_freq(30, 0);
  const bool up = row_bytes > 0 && row_bytes <= kWindow;
  // The length codes of every length, the two distances' codes.
  static const std::array<std::uint8_t, kMaxMatch + 1> kLengthCode = [] {
    std::array<std::uint8_t, kMaxMatch + 1> t{};
    for (std::size_t l = 3; l <= kMaxMatch; ++l) t[l] = static_cast<std::uint8_t>(length_code(l));
    return t;
  }();
  const int up_code = up ? dist_code(row_bytes) : 0;
  for (std::size_t i = 0; i < n;) {
    const std::size_t most = std::min(kMaxMatch, n - i);
    std::size_t best = 0, dist = 0;
    const unsigned char* d = data + i;
    if (up && i >= row_bytes && i + 18 <= n) {
      // Bytes where no match starts are literals, found sixteen at a time.
      const int lits = literals_ahead(d, row_bytes);
      if (lits > 0) {
        for (int k = 0; k < lits; ++k) {
          tokens.push_back(d[k]);
          ++lit_freq[d[k]];
        }
        i += static_cast<std::size_t>(lits);
        continue;
      }
    }
    if (most >= 4 && i >= row_bytes && up) {
      // Three bytes like the three above, or like the byte before: tested together (most
      // bytes of a drawn row start neither).
      const std::uint32_t here = load24(d);
      const bool above = here == load24(d - row_bytes);
      const bool run = here == (d[-1] * 0x010101u);
      if (above) {
        best = match(data, i, row_bytes, most);
        dist = row_bytes;
      }
      if (run && best < most) {
        const std::size_t length = match(data, i, 1, most);
        if (length > best) {
          best = length;
          dist = 1;
        }
      }
    } else if (most >= 3) {
      if (up && i >= row_bytes && d[0] == d[-static_cast<std::ptrdiff_t>(row_bytes)] &&
          d[1] == d[1 - static_cast<std::ptrdiff_t>(row_bytes)] &&
          d[2] == d[2 - static_cast<std::ptrdiff_t>(row_bytes)]) {
        best = match(data, i, row_bytes, most);
        dist = row_bytes;
      }
      if (best < most && i >= 1 && d[0] == d[-1] && d[1] == d[0] && d[2] == d[0]) {
        const std::size_t run = match(data, i, 1, most);
        if (run > best) {
          best = run;
          dist = 1;
        }
      }
    }
    if (best >= 3) {
      tokens.push_back(0x80000000u | static_cast<std::uint32_t>(best) << 16 |
                       static_cast<std::uint32_t>(dist - 1));
      ++lit_freq[257 + kLengthCode[best]];
      ++dist_freq[dist == 1 ? 0 : up_code];
      i += best;
    } else {
      tokens.push_back(data[i]);
      ++lit_freq[data[i]];
      ++i;
    }
  }
  lit_freq[256] = 1;

  const std::vector<int> lit_len = code_lengths(lit_freq, 15);
  const std::vector<int> dist_len = code_lengths(dist_freq, 15);
  const std::vector<std::uint32_t> lit_code = codes_of(lit_len), dist_code_bits = codes_of(dist_len);
  int hlit = 286;
  while (hlit > 257 && lit_len[hlit - 1] == 0) --hlit;
  int hdist = 30;
  while (hdist > 1 && dist_len[hdist - 1] == 0) --hdist;
  std::vector<int> lengths(lit_len.begin(), lit_len.begin() + hlit);
  lengths.insert(lengths.end(), dist_len.begin(), dist_len.begin() + hdist);
  std::vector<std::uint32_t> cl_freq(19, 0);
  for (int l : lengths) ++cl_freq[l];
  const std::vector<int> cl_len = code_lengths(cl_freq, 7);
  const std::vector<std::uint32_t> cl_code = codes_of(cl_len);
  int hclen = 19;
  while (hclen > 4 && cl_len[kClOrder[hclen - 1]] == 0) --hclen;

  // At most 15 + 5 + 15 + 13 bits a token, and the header's few hundred bytes.
  // Written into memory kept by the thread (fresh memory would be cleared first), then
  // copied out at its length.
  thread_local std::unique_ptr<unsigned char[]> buffer;
  thread_local std::size_t buffer_size = 0;
  const std::size_t room = 2 + 1024 + tokens.size() * 6 + 8;
  if (buffer_size < room) {
    buffer.reset(new unsigned char[room]);
    buffer_size = room;
  }
  buffer[0] = 0x78;
  buffer[1] = 0x01;
  Bits bits(buffer.get() + 2);
  bits.put(1, 1);  // the last block
  bits.put(2, 2);  // Huffman codes of its own
  bits.put(static_cast<std::uint32_t>(hlit - 257), 5);
  bits.put(static_cast<std::uint32_t>(hdist - 1), 5);
  bits.put(static_cast<std::uint32_t>(hclen - 4), 4);
  for (int k = 0; k < hclen; ++k) bits.put(static_cast<std::uint32_t>(cl_len[kClOrder[k]]), 3);
  for (int l : lengths) bits.put(cl_code[l], cl_len[l]);
  for (const std::uint32_t t : tokens) {
    if (!(t & 0x80000000u)) {
      bits.put(lit_code[t], lit_len[t]);
      continue;
    }
    const std::size_t len = (t >> 16) & 0x1FF, dist = (t & 0xFFFF) + 1;
    const int lc = kLengthCode[len], dc = dist == 1 ? 0 : up_code;
    bits.put(lit_code[257 + lc], lit_len[257 + lc]);
    if (kLengthExtra[lc]) bits.put(static_cast<std::uint32_t>(len - kLengthBase[lc]), kLengthExtra[lc]);
    bits.put(dist_code_bits[dc], dist_len[dc]);
    if (kDistExtra[dc]) bits.put(static_cast<std::uint32_t>(dist - kDistBase[dc]), kDistExtra[dc]);
  }
  bits.put(lit_code[256], lit_len[256]);
  std::string out(reinterpret_cast<const char*>(buffer.get()),
                  static_cast<std::size_t>(bits.finish() - buffer.get()));
  const std::uint32_t adler = libdeflate_adler32(1, data, n);
  for (int s = 24; s >= 0; s -= 8) out += static_cast<char>(adler >> s);
  return out;
}

}  // namespace korbast::platform
