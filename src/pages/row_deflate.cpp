#include "pages/row_deflate.hpp"


#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace korbast::pages {

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
// The length codes of every length.
const std::array<std::uint8_t, kMaxMatch + 1> kLengthCode = [] {
  std::array<std::uint8_t, kMaxMatch + 1> t{};
  for (std::size_t l = 3; l <= kMaxMatch; ++l) t[l] = static_cast<std::uint8_t>(length_code(l));
  return t;
}();

[[noreturn]] void room_fault(const char* what) {
  std::fprintf(stderr, "korbast: the PNG deflate wrote %s\n", what);
  std::abort();
}

// Huffman code lengths (at most `limit` bits, n at most 286 symbols) for the frequencies
// into len; symbols never used get 0. At least two symbols get a code, so that the code is
// complete.
void code_lengths(const std::uint32_t* freq_in, int n, int limit, int* len) {
  std::uint32_t freq[286];
  std::copy(freq_in, freq_in + n, freq);
  int used = 0;
  for (int s = 0; s < n; ++s) used += freq[s] > 0;
  for (int s = 0; used < 2 && s < n; ++s)
    if (freq[s] == 0) {
      freq[s] = 1;
      ++used;
    }
  for (;;) {
    // The leaves by weight; the inner nodes, made in order of weight, after them: the two
    // lightest of the leaves and inner nodes left are joined each time.
    int leaf[286];
    int leaves = 0;
    for (int s = 0; s < n; ++s)
      if (freq[s] > 0) leaf[leaves++] = s;
    std::sort(leaf, leaf + leaves, [&](int a, int b) { return freq[a] < freq[b]; });
    std::uint64_t weight[2 * 286];
    int parent[2 * 286];  // of node k: leaves 0..leaves-1 (in leaf order), inner nodes after
    for (int k = 0; k < leaves; ++k) weight[k] = freq[leaf[k]];
    int next_leaf = 0, next_inner = leaves, made = leaves;
    auto lightest = [&] {
      if (next_leaf < leaves && (next_inner == made || weight[next_leaf] <= weight[next_inner]))
        return next_leaf++;
      return next_inner++;
    };
    while (made < 2 * leaves - 1) {
      const int a = lightest(), b = lightest();
      weight[made] = weight[a] + weight[b];
      parent[a] = parent[b] = made;
      ++made;
    }
    // Depths from the root (the last node) down.
    int depth[2 * 286];
    depth[made - 1] = 0;
    for (int k = made - 2; k >= 0; --k) depth[k] = depth[parent[k]] + 1;
    int longest = 0;
    std::fill(len, len + n, 0);
    for (int k = 0; k < leaves; ++k) {
      len[leaf[k]] = depth[k];
      longest = std::max(longest, depth[k]);
    }
    if (longest <= limit) return;
    for (int s = 0; s < n; ++s)
      if (freq[s] > 0) freq[s] = (freq[s] >> 1) | 1;  // flatter: shorter longest code
  }
}

// Canonical codes of the lengths of n symbols, bit-reversed for the LSB-first stream.
void codes_of(const int* len, int n, std::uint32_t* out) {
  int count[16] = {};
  for (int s = 0; s < n; ++s) ++count[len[s]];
  count[0] = 0;
  std::uint32_t next[16] = {};
  std::uint32_t code = 0;
  for (int b = 1; b < 16; ++b) {
    code = (code + count[b - 1]) << 1;
    next[b] = code;
  }
  for (int s = 0; s < n; ++s) {
    const int l = len[s];
    out[s] = 0;
    if (l == 0) continue;
    std::uint32_t c = next[l]++, r = 0;
    for (int b = 0; b < l; ++b) r |= ((c >> b) & 1u) << (l - 1 - b);
    out[s] = r;
  }
}

// Bits, the first in the lowest bit, into a buffer that ends at `end`, with room for all of
// them and 7 bytes more: each put stores a whole 64-bit word from the byte its first bit
// goes into, the last one at most 7 bytes past the last byte of the bits.
class Bits {
 public:
  Bits(unsigned char* at, const unsigned char* end) : at_(at), end_(end) {}
  // The n (at most 56) low bits of v.
  void put(std::uint64_t v, int n) {
#if defined(KORBAST_ROOM_CHECKS)
    if (end_ - at_ < 8) room_fault("compressed bits past the room counted for them");
#endif
    acc_ |= v << fill_;
    fill_ += n;
    std::memcpy(at_, &acc_, 8);  // little-endian: the first bits first
    at_ += fill_ >> 3;
    acc_ >>= fill_ & ~7;
    fill_ &= 7;
  }
  // The end of the bits, after the last partly filled byte.
  unsigned char* finish() {
    if (fill_ > 0) *at_++ = static_cast<unsigned char>(acc_);
    acc_ = 0;
    fill_ = 0;
    return at_;
  }

 private:
  unsigned char* at_;
  [[maybe_unused]] const unsigned char* end_;  // checked with KORBAST_ROOM_CHECKS
  std::uint64_t acc_ = 0;
  int fill_ = 0;
};

}  // namespace

namespace {
struct TokenMemory {
  std::unique_ptr<std::uint32_t[]> data;
  std::size_t size = 0;
};
thread_local TokenMemory token_memory;
}  // namespace

RowTokens::RowTokens(std::size_t row_bytes)
    : row_bytes_(row_bytes), up_code_(dist_code(row_bytes)) {
  begin_ = end_ = token_memory.data.get();
  cap_ = begin_ + token_memory.size;
}

void RowTokens::grow(std::size_t n) {
  const std::size_t used = static_cast<std::size_t>(end_ - begin_);
  const std::size_t size = std::max(2 * token_memory.size, used + n + 4096);
  std::unique_ptr<std::uint32_t[]> more(new std::uint32_t[size]);
  if (used > 0) std::memcpy(more.get(), begin_, used * sizeof(std::uint32_t));
  token_memory.data = std::move(more);
  token_memory.size = size;
  begin_ = token_memory.data.get();
  end_ = begin_ + used;
  cap_ = begin_ + size;
}

void RowTokens::room_exceeded(const char* what) { room_fault(what); }

void RowTokens::matches(std::size_t n, std::size_t dist) {
  const std::uint32_t d = static_cast<std::uint32_t>(dist - 1);
  std::uint32_t& dist_count = dist_freq_[dist == 1 ? 0 : up_code_];
#if defined(KORBAST_ROOM_CHECKS)
  const std::size_t from = static_cast<std::size_t>(end_ - begin_), counted = match_tokens(n);
#endif
  while (n > 0) {
    // Pieces of at most 258 bytes, none shorter than 3.
    const std::size_t piece = n <= kMaxMatch ? n : n - kMaxMatch >= 3 ? kMaxMatch : n - 3;
    if (end_ == cap_) grow(1);
    *end_++ = 0x80000000u | static_cast<std::uint32_t>(piece) << 16 | d;
    ++lit_freq_[257 + kLengthCode[piece]];
    ++dist_count;
    n -= piece;
  }
#if defined(KORBAST_ROOM_CHECKS)
  if (static_cast<std::size_t>(end_ - begin_) - from > counted)
    room_fault("more pieces of a match than the room counts for it");
#endif
}

std::string RowTokens::zlib(std::uint32_t adler) const {
  std::uint32_t lit_freq[286];
  std::copy(lit_freq_, lit_freq_ + 286, lit_freq);
  lit_freq[256] = 1;

  int lit_len[286], dist_len[30];
  code_lengths(lit_freq, 286, 15, lit_len);
  code_lengths(dist_freq_, 30, 15, dist_len);
  std::uint32_t lit_code[286], dist_code_bits[30];
  codes_of(lit_len, 286, lit_code);
  codes_of(dist_len, 30, dist_code_bits);
  int hlit = 286;
  while (hlit > 257 && lit_len[hlit - 1] == 0) --hlit;
  int hdist = 30;
  while (hdist > 1 && dist_len[hdist - 1] == 0) --hdist;
  std::vector<int> lengths(lit_len, lit_len + hlit);
  lengths.insert(lengths.end(), dist_len, dist_len + hdist);
  std::uint32_t cl_freq[19] = {};
  for (int l : lengths) ++cl_freq[l];
  int cl_len[19];
  code_lengths(cl_freq, 19, 7, cl_len);
  std::uint32_t cl_code[19];
  codes_of(cl_len, 19, cl_code);
  int hclen = 19;
  while (hclen > 4 && cl_len[kClOrder[hclen - 1]] == 0) --hclen;

  // A match's bits: its length's code with the extra bits (at most 20), then its distance's
  // (a byte back, or a row: at most 28), put at once.
  std::uint32_t length_bits[kMaxMatch + 1] = {};
  int length_count[kMaxMatch + 1] = {};
  for (std::size_t l = 3; l <= kMaxMatch; ++l) {
    const int lc = kLengthCode[l];
    length_bits[l] = lit_code[257 + lc] |
                     static_cast<std::uint32_t>(l - kLengthBase[lc]) << lit_len[257 + lc];
    length_count[l] = lit_len[257 + lc] + kLengthExtra[lc];
  }
  const std::uint32_t dist_bits[2] = {
      dist_code_bits[0],
      dist_code_bits[up_code_] |
          static_cast<std::uint32_t>(row_bytes_ - kDistBase[up_code_]) << dist_len[up_code_]};
  const int dist_count[2] = {dist_len[0], dist_len[up_code_] + kDistExtra[up_code_]};

  // The stream's length in bits, from the codes' lengths and how often each is used: the
  // block's head (its kind, the three counts, the code-length code and the code lengths in
  // it), then every code with its extra bits, the end of the block among them.
  std::uint64_t stream_bits = 3 + 5 + 5 + 4 + 3 * static_cast<std::uint64_t>(hclen);
  for (int l : lengths) stream_bits += static_cast<std::uint64_t>(cl_len[l]);
  for (int s = 0; s < 286; ++s)
    stream_bits += static_cast<std::uint64_t>(lit_freq[s]) *
                   static_cast<std::uint64_t>(lit_len[s] + (s > 256 ? kLengthExtra[s - 257] : 0));
  for (int d = 0; d < 30; ++d)
    stream_bits += static_cast<std::uint64_t>(dist_freq_[d]) * static_cast<std::uint64_t>(dist_len[d] + kDistExtra[d]);

  // The zlib head, the stream's bytes and the 7 bytes the last put may store past them.
  // Written into memory kept by the thread (fresh memory would be cleared first), then
  // copied out at its length. The memory has some spare past that room, as the tokens'
  // does; the room checks compare with the room counted.
  constexpr std::size_t kSpareBytes = 64;
  thread_local std::unique_ptr<unsigned char[]> buffer;
  thread_local std::size_t buffer_size = 0;
  const std::size_t room = 2 + static_cast<std::size_t>((stream_bits + 7) / 8) + 7;
  if (buffer_size < room + kSpareBytes) {
    buffer.reset(new unsigned char[room + kSpareBytes]);
    buffer_size = room + kSpareBytes;
  }
  buffer[0] = 0x78;
  buffer[1] = 0x01;
  Bits bits(buffer.get() + 2, buffer.get() + room);
  bits.put(1, 1);  // the last block
  bits.put(2, 2);  // Huffman codes of its own
  bits.put(static_cast<std::uint32_t>(hlit - 257), 5);
  bits.put(static_cast<std::uint32_t>(hdist - 1), 5);
  bits.put(static_cast<std::uint32_t>(hclen - 4), 4);
  for (int k = 0; k < hclen; ++k) bits.put(static_cast<std::uint32_t>(cl_len[kClOrder[k]]), 3);
  for (int l : lengths) bits.put(cl_code[l], cl_len[l]);
  for (const std::uint32_t* at = begin_; at != end_; ++at) {
    const std::uint32_t t = *at;
    if (!(t & 0x80000000u)) {
      bits.put(lit_code[t], lit_len[t]);
      continue;
    }
    const std::size_t len = (t >> 16) & 0x1FF;
    const int far = (t & 0xFFFF) != 0;
    bits.put(length_bits[len] | static_cast<std::uint64_t>(dist_bits[far]) << length_count[len],
             length_count[len] + dist_count[far]);
  }
  bits.put(lit_code[256], lit_len[256]);
  std::string out(reinterpret_cast<const char*>(buffer.get()),
                  static_cast<std::size_t>(bits.finish() - buffer.get()));
  for (int s = 24; s >= 0; s -= 8) out += static_cast<char>(adler >> s);
  return out;
}

}  // namespace korbast::pages
