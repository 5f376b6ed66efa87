// The fixed-column line layouts of the two catalogue formats: dek (four lines per event) and
// ndk (five lines per event). Each line is read straight into one slot of the event store
// and written back from it with the same columns; only the angles of the last line differ,
// read as reals and written as integers (truncated toward zero).
#pragma once

#include <string>
#include <string_view>

namespace korbast::catalogue {

inline constexpr int dek_nlines = 4;
inline constexpr int ndk_nlines = 5;

// Parses line `line` (1..4 dek, 1..5 ndk) of an event into slot k (1..nmaxdata). Returns
// false when a field cannot be converted; fields before it are stored, the failing one and
// those after it are left as they were.

// Parses line `line` (1..4) of a dek event into slot k.
bool read_dek_line(int line, std::string_view text, int k);
// Parses line `line` (1..5) of an ndk event into slot k.
bool read_ndk_line(int line, std::string_view text, int k);

// Formats line `line` of the event in slot k. A value too wide for its field is written as
// asterisks; so is an angle of the last line that is not finite.

// Formats line `line` (1..4) of the dek event in slot k.
std::string write_dek_line(int line, int k);
// Formats line `line` (1..5) of the ndk event in slot k.
std::string write_ndk_line(int line, int k);

// An angle of the last line: truncated toward zero and written as an integer in w columns;
// asterisks when it is not finite or does not fit.
std::string angle_field(float value, int w);

}  // namespace korbast::catalogue
