// The PNG files of the pages.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "pages/page_io.hpp"

namespace korbast::pages {

// A PNG file image of w x h pixels of Cairo's RGB24 layout (rows `stride` bytes apart):
// indexed colour when the page has at most 256 colours, 8-bit RGB otherwise; fast deflate.
// With pixels_per_metre, the file records the resolution (a pHYs chunk).
std::string encode_png(const unsigned char* data, int w, int h, int stride,
                       std::uint32_t pixels_per_metre = 0);

// As encode_png, and leaves every pixel white, each row cleared (to bytes 0xFF) while it is
// still at hand: a page image ready to be drawn on again.
std::string encode_png_clearing(unsigned char* data, int w, int h, int stride,
                                std::uint32_t pixels_per_metre = 0);

// Writes the PNG file image `bytes` to `path`, whole or not at all (written under a hidden
// name in the same folder and renamed when complete); the error text when it could not be
// written, and then nothing of it is left under either name ("Replaced by another program"
// when the name did not hold the file written after the rename). With `kept`, the file is
// handed out there open (a descriptor of its own, for name_lost); once `watch->given_up` is
// set, nothing more is written or renamed.
std::string write_png(const std::string& path, const std::string& bytes, int* kept = nullptr,
                      WriteWatch* watch = nullptr);

}  // namespace korbast::pages
