// The fixed-column line layouts of the two catalogue formats: dek (four lines per event) and
// ndk (five lines per event), one table per line. A row is one field of the line: its kind,
// width and decimals, the store field it holds and its column name in the catalogue tables.
// Reading a line, writing it and the table columns of an event are all driven by these
// tables, so each field's layout is stated once.
//
// Each line is read straight into one slot of the event store and written back from it with
// the same columns; only the angles of the last line differ, read as reals and written as
// integers (truncated toward zero).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "catalogue/gcmtblk.hpp"

namespace korbast::catalogue {

inline constexpr int dek_nlines = 4;
inline constexpr int ndk_nlines = 5;

// How a field is read, written and tabulated:
//   Text   w bytes, taken and written byte for byte (Aw); quoted in the tables
//   Int    an integer (Iw)
//   Real   a real with d decimals (Fw.d)
//   Angle  an angle of the last line: read as Fw.0 and written truncated toward zero as Iw;
//          the tables round it as a real F.0 (of their own width where one is given)
//   Blank  w blank columns, skipped on reading; no table column
enum class Kind : unsigned char { Text, Int, Real, Angle, Blank };

// Where a field's values lie in the event store: the value of the event at index i is
// element i * stride from the typed pointer of the field's kind (a text: n characters).
struct StoreRef {
  int* ints = nullptr;
  float* reals = nullptr;
  char* chars = nullptr;
  int stride = 1;
  int n = 0;

  int& integer(int i) const { return ints[i * stride]; }
  float& real(int i) const { return reals[i * stride]; }
  char* text(int i) const { return chars + i * stride; }
  std::string_view text_view(int i) const {
    return frame::text_view(text(i), static_cast<std::size_t>(n));
  }
};

// A whole per-event array of the store, or one member (tensor component j) of a group.
constexpr StoreRef at(int (&values)[nmaxdata]) { return {values, nullptr, nullptr, 1, 0}; }
constexpr StoreRef at(float (&values)[nmaxdata]) { return {nullptr, values, nullptr, 1, 0}; }
constexpr StoreRef at(float (&values)[nmaxdata][6], int j) {
  return {nullptr, &values[0][j], nullptr, 6, 0};
}
template <std::size_t N>
constexpr StoreRef at(Text<N> (&texts)[nmaxdata]) {
  static_assert(sizeof(Text<N>) == N, "texts lie side by side");
  return {nullptr, nullptr, texts[0].data(), static_cast<int>(N), static_cast<int>(N)};
}

// One field of a line, or its blank columns.
struct Field {
  Kind kind;
  int width;
  int decimals = 0;
  StoreRef store = {};
  const char* column = nullptr;  // the column name in the tables
  int table_width = 0;           // the width in the tables, where it is not `width`
};

// The layout of line `line` (1..4 dek, 1..5 ndk) of data type `type` (1 dek, 2 ndk); empty
// for any other line.
std::span<const Field> layout(int type, int line);
// Lines per event of data type `type`: 4 dek, 5 ndk, 0 for any other type.
int line_count(int type);

// The column where the last numeric field of line `line` of data type `type` ends (0 for a
// line without numbers, or any other line). Numbers stand right-aligned in their fields, so
// a whole line reaches it even right-trimmed: a last line of a file that stops before it,
// with no line end, was cut.
int last_number_column(int type, int line);

// Parses line `line` of an event of data type `type` into slot k (1..nmaxdata). Returns
// false when a field cannot be converted; the numbers before it are stored, the failing one
// and those after it are left as they were (texts are taken all the same).
bool read_record_line(int type, int line, std::string_view text, int k);
// Parses line `line` (1..4) of a dek event into slot k.
bool read_dek_line(int line, std::string_view text, int k);
// Parses line `line` (1..5) of an ndk event into slot k.
bool read_ndk_line(int line, std::string_view text, int k);

// Formats line `line` of the event of data type `type` in slot k. A value too wide for its
// field is written as asterisks; so is an angle of the last line that is not finite.
std::string write_record_line(int type, int line, int k);
// Formats line `line` (1..4) of the dek event in slot k.
std::string write_dek_line(int line, int k);
// Formats line `line` (1..5) of the ndk event in slot k.
std::string write_ndk_line(int line, int k);

// An angle of the last line: truncated toward zero and written as an integer in w columns;
// asterisks when it is not finite or does not fit.
std::string angle_field(float value, int w);

}  // namespace korbast::catalogue
