// The bytes of the page files: deflate (zlib format), checked writes, and the hidden names
// beside a page file.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace korbast::pages {

// data compressed in the zlib format at libdeflate's `level` (1-12); one compressor per
// thread and level. Empty when no compressor could be made.
std::string zlib_compress(const void* data, std::size_t n, int level);

// Writes all n bytes at offset `at` of fd; false with errno set when they do not all reach it.
bool write_all(int fd, const char* data, std::size_t n, off_t at);

// A hidden name beside the file at `path`, in its folder: "." before its name, `suffix` after.
std::string hidden_name(const std::string& path, std::string_view suffix);
// The hidden name a page file is made under before it takes its own: this process's own,
// ".<name>.tmp-<process id>".
std::string temp_name(const std::string& path);

}  // namespace korbast::pages
