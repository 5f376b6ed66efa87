// A zlib stream of image rows, made quickly for the page images: bytes repeating the byte
// before them or the byte above them (the row `row_bytes` earlier) become matches, whole
// rows like the one above become one match; the rest are literals, all in one block of
// Huffman codes made for the image. Pages, mostly white and few-coloured, compress about as
// well as with a general deflate at its fastest levels, several times faster.
#pragma once

#include <cstddef>
#include <string>

namespace korbast::platform {

// The zlib stream of the n bytes of image rows, row_bytes each.
std::string row_deflate(const unsigned char* data, std::size_t n, std::size_t row_bytes);

}  // namespace korbast::platform
