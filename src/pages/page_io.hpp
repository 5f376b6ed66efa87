// The bytes of the page files: deflate (zlib format) and checked writes.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace korbast::pages {

// data compressed in the zlib format at libdeflate's `level` (1-12); one compressor per
// thread and level. Empty when no compressor could be made.
std::string zlib_compress(const void* data, std::size_t n, int level);

// Writes all n bytes at offset `at` of fd; false with errno set when they do not all reach it.
bool write_all(int fd, const char* data, std::size_t n, off_t at);

}  // namespace korbast::pages
