// The caller's arrays as the column-data reader sees them: a list of fixed-length names, and
// a two-dimensional array of reals addressed by row and column (both counted from 1).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string_view>

#include "frame/text.hpp"

namespace korbast::columns {

// A list of names of one declared length each (the variable names, the array column names).
// Assigning a name pads it with blanks or cuts it to that length.
class TextArray {
 public:
  TextArray() = default;
  template <std::size_t N>
  TextArray(frame::Text<N>* texts, std::size_t count)  // NOLINT: lists convert as passed
      : base_(reinterpret_cast<char*>(texts)), length_(N), stride_(sizeof(frame::Text<N>)),
        count_(texts == nullptr ? 0 : count) {
    static_assert(sizeof(frame::Text<N>) == N, "names must be stored without gaps");
  }
  template <std::size_t N, std::size_t M>
  TextArray(frame::Text<N> (&texts)[M]) : TextArray(texts, M) {}  // NOLINT
  template <std::size_t N>
  TextArray(std::span<frame::Text<N>> texts) : TextArray(texts.data(), texts.size()) {}  // NOLINT

  std::size_t count() const { return count_; }
  std::size_t length() const { return length_; }
  // Name k (1-based) with its trailing blanks; empty outside the list.
  std::string_view get(int k) const {
    if (!has(k)) return {};
    return {base_ + (static_cast<std::size_t>(k) - 1) * stride_, length_};
  }
  // Name k (1-based) set, padded or cut; nothing happens outside the list.
  void set(int k, std::string_view text) const {
    if (!has(k)) return;
    char* p = base_ + (static_cast<std::size_t>(k) - 1) * stride_;
    const std::size_t n = std::min(text.size(), length_);
    std::copy_n(text.data(), n, p);
    std::fill(p + n, p + length_, ' ');
  }
  std::span<char> chars(int k) const {
    if (!has(k)) return {};
    return {base_ + (static_cast<std::size_t>(k) - 1) * stride_, length_};
  }
  bool has(int k) const { return k >= 1 && static_cast<std::size_t>(k) <= count_; }

 private:
  char* base_ = nullptr;
  std::size_t length_ = 0;
  std::size_t stride_ = 0;
  std::size_t count_ = 0;
};

// The caller's array of reals, rdat(ldim, ncol): stored column by column, or given as
// separate columns (the x and y arrays of a point buffer). Element (i, j) exists for
// 1 <= i <= rows() and 1 <= j <= columns().
class RealArray {
 public:
  static constexpr int max_columns = 99;

  RealArray() = default;
  // Column-major storage: element (i, j) is data[(j - 1) * ldim + (i - 1)]. Only the columns
  // that fit into the data whole are used.
  RealArray(std::span<float> data, int ldim, int ncol) : rows_(std::max(ldim, 0)) {
    const std::size_t rows = static_cast<std::size_t>(rows_);
    int n = std::clamp(ncol, 0, max_columns);
    if (rows > 0) n = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(n), data.size() / rows));
    for (int j = 0; j < n; ++j) cols_[static_cast<std::size_t>(j)] = data.data() + static_cast<std::size_t>(j) * rows;
    ncol_ = n;
  }
  // Separate columns of `rows` values each.
  RealArray(std::initializer_list<float*> columns, int rows) : rows_(std::max(rows, 0)) {
    for (float* c : columns) {
      if (ncol_ == max_columns) break;
      cols_[static_cast<std::size_t>(ncol_++)] = c;
    }
  }

  int rows() const { return rows_; }
  int columns() const { return ncol_; }
  // Element (i, j), or nullptr when the array has no such element.
  float* at(int i, int j) const {
    if (i < 1 || i > rows_ || j < 1 || j > ncol_) return nullptr;
    float* c = cols_[static_cast<std::size_t>(j - 1)];
    return c == nullptr ? nullptr : c + (i - 1);
  }

 private:
  std::array<float*, max_columns> cols_{};
  int rows_ = 0;
  int ncol_ = 0;
};

}  // namespace korbast::columns
