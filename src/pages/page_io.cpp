#include "pages/page_io.hpp"

#include <libdeflate.h>
#include <unistd.h>

#include <cerrno>

namespace korbast::pages {

namespace {

// One compressor per thread and level (libdeflate's are not shared between threads).
struct Compressors {
  libdeflate_compressor* by_level[13] = {};
  ~Compressors() {
    for (auto* c : by_level)
      if (c) libdeflate_free_compressor(c);
  }
};

}  // namespace

std::string zlib_compress(const void* data, std::size_t n, int level) {
  thread_local Compressors mine;
  libdeflate_compressor*& c = mine.by_level[level];
  if (!c) c = libdeflate_alloc_compressor(level);
  std::string out;
  if (!c) return out;
  out.resize(libdeflate_zlib_compress_bound(c, n));
  const std::size_t got = libdeflate_zlib_compress(c, data, n, out.data(), out.size());
  out.resize(got);
  return out;
}

bool write_all(int fd, const char* data, std::size_t n, off_t at) {
  while (n > 0) {
    const ssize_t got = pwrite(fd, data, n, at);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) {
      errno = ENOSPC;
      return false;
    }
    data += got;
    n -= static_cast<std::size_t>(got);
    at += got;
  }
  return true;
}

std::string hidden_name(const std::string& path, std::string_view suffix) {
  const auto slash = path.rfind('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  std::string name = path.substr(0, base) + "." + path.substr(base);
  name += suffix;
  return name;
}

std::string temp_name(const std::string& path) {
  return hidden_name(path, ".tmp-" + std::to_string(static_cast<long>(getpid())));
}

}  // namespace korbast::pages
