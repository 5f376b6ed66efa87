// The PNG files of the pages.
#pragma once

#include <string>

namespace korbast::platform {

// A PNG file image of w x h pixels of Cairo's RGB24 layout (rows `stride` bytes apart):
// indexed colour when the page has at most 256 colours, 8-bit RGB otherwise; fast deflate.
std::string encode_png(const unsigned char* data, int w, int h, int stride);

// Writes the PNG file image `bytes` to `path`; the error text when it could not be written.
std::string write_png(const std::string& path, const std::string& bytes);

}  // namespace korbast::platform
