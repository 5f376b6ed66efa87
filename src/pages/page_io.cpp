#include "pages/page_io.hpp"

#include <fcntl.h>
#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

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

std::atomic<void (*)(const std::string& path, std::size_t bytes)> page_write_hook{nullptr};

namespace {

// Whether the writer was given up: then errno is ECANCELED.
bool stopped(const WriteWatch* watch) {
  if (!watch || !watch->given_up.load()) return false;
  errno = ECANCELED;
  return true;
}

}  // namespace

bool write_all(int fd, const char* data, std::size_t n, off_t at, const std::string& path,
               WriteWatch* watch) {
  while (n > 0) {
    // Looked at before each call: a call that was waiting when its writer was given up is the
    // last one that may still reach the file.
    if (stopped(watch)) return false;
    const std::size_t ask = std::min(n, kWriteChunk);
    if (auto* hook = page_write_hook.load()) hook(path, ask);
    const ssize_t got = pwrite(fd, data, ask, at);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) {
      errno = ENOSPC;
      return false;
    }
    if (watch) ++watch->progress;
    data += got;
    n -= static_cast<std::size_t>(got);
    at += got;
  }
  return true;
}

bool put_in_place(const std::string& temp, const std::string& path, const WriteWatch* watch) {
  return !stopped(watch) && std::rename(temp.c_str(), path.c_str()) == 0;
}

FileId file_id(int fd) {
  struct stat st {};
  if (fstat(fd, &st) != 0) return {};
  return {st.st_dev, st.st_ino};
}

std::string name_lost(const std::string& path, const FileId& id) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? "Removed by another program" : "";
  }
  return st.st_dev == id.dev && st.st_ino == id.ino ? "" : "Replaced by another program";
}

int open_retrying(const std::string& path, int flags) {
  int fd = -1;
  do fd = open(path.c_str(), flags, 0666);
  while (fd < 0 && errno == EINTR);
  return fd;
}

int open_temp(const std::string& temp) {
  unlink(temp.c_str());
  return open_retrying(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC);
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
