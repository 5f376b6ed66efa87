// The six map line file formats: how each file is cut into curves, listed and drawn. The
// menu of contours1 opens the file on unit 2, prints the listing head and hands it here; the
// reader runs to the file's end (or to a read error) and says which it was.
#pragma once

#include <string>
#include <string_view>

#include "maps/clip.hpp"

namespace korbast::maps {

// The unit every map line file is read on.
constexpr int kLineUnit = 2;

// The file being read and what the reader needs of the menu's state.
struct LineFile {
  int type = 0;                 // 1..6
  bool clip = false;            // clipping on (types 1, 2 and 5 only)
  ClipWindow window{};          // the map window in degrees: longitudes x, latitudes y
  ClipFrame frame{};            // the clipping frame of that window
  float* ptsperdeg = nullptr;   // the layer's setting, replaced by a selection polygon file
  int curves = 0;               // the curve counter
  std::string name;             // the file name as messages show it (30 characters)
};

enum class LineEnd {
  Normal,     // the file ended where a curve may end (or the single polygon was drawn)
  ReadError,  // a record did not convert (or a selection polygon file ended early)
};

// Reads and draws the whole file of the given type.
LineEnd read_line_file(LineFile& file);

// ---- Listings (printed while output level 2 is on) ----

// The listing head of a type: rules, the heading and the column titles.
void listing_head(int type, std::string_view heading);
// The column titles of a type (" | line #|   code|# point|").
std::string listing_titles(int type);
// One listing line: up to four integers (curve number, code, points, level) and up to four
// reals (west, east, south, north), as many as given.
std::string listing_line(const int* ints, int nint, const float* reals, int nreal);
// The second line of a clipped type 5 polygon: its reduced west and east.
std::string listing_reduced(float west2, float east2);
// A rule of 65 dashes.
std::string rule65();
// A rule of 43 dashes after one blank, as in the menus.
std::string rule43();

// The end of a file without error ("total nb of plotted curves", "input file ... closed")
// and the report of a read error. Both close the unit.

// The end of a file read without error: the count of curves drawn; closes the unit.
void normal_end(const LineFile& file);
// The error frame of a file that could not be read to its end; closes the unit.
void read_error_end(const LineFile& file);

}  // namespace korbast::maps
