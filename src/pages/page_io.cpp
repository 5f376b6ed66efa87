#include "pages/page_io.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/run_threads.hpp"

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
    std::optional<platform::Interrupter> cut;  // where no thread watches this write
    if (watch && watch->interrupted) cut.emplace(watch->slice);
    const ssize_t got = pwrite(fd, data, ask, at);
    cut.reset();
    if (got < 0) {
      if (errno != EINTR) return false;
      if (watch && watch->interrupted) watch->interrupted();
      continue;
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

std::string put_in_place(const std::string& temp, const std::string& path, WriteWatch* watch) {
  if (stopped(watch)) return std::strerror(errno);
  platform::HeldFiles unwatched;  // let go at once
  return platform::rename_unless_held(temp, path, watch ? watch->placed : unwatched,
                                      platform::Placer::PageWriter);
}

std::string name_lost(const std::string& path, int fd) {
  return platform::why_not_at(path, platform::file_id(fd));
}

std::string name_lost(const std::string& path, const platform::FileId& id) {
  return platform::why_not_at(path, id, platform::Match::Unchanged);
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

namespace {

// Whether `text` starts with `head`, then cut off.
bool take(std::string_view& text, std::string_view head) {
  if (text.substr(0, head.size()) != head) return false;
  text.remove_prefix(head.size());
  return true;
}
// Whether `text` starts with a digit, then all its leading digits cut off.
bool take_digits(std::string_view& text) {
  std::size_t n = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
  text.remove_prefix(n);
  return n > 0;
}

// Whether `name` is the temp_name of a page file of the window whose PDF's name without ".pdf"
// is `stem`: ".<stem>.pdf.tmp-<n>" or ".<stem>_p<n>.png.tmp-<n>" (page_png_name's pages).
bool page_temp(std::string_view name, std::string_view stem) {
  if (!take(name, ".") || !take(name, stem)) return false;
  if (!take(name, ".pdf") && !(take(name, "_p") && take_digits(name) && take(name, ".png"))) {
    return false;
  }
  return take(name, ".tmp-") && take_digits(name) && name.empty();
}

}  // namespace

void remove_stale_temps(const std::string& pdf_path) {
  const auto slash = pdf_path.rfind('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  const std::string dir = base == 0 ? "." : pdf_path.substr(0, base);
  std::string_view stem = std::string_view(pdf_path).substr(base);
  if (stem.size() < 4 || stem.substr(stem.size() - 4) != ".pdf") return;
  stem.remove_suffix(4);
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  const int dfd = dirfd(d);
  while (const dirent* e = readdir(d)) {
    if (!page_temp(e->d_name, stem)) continue;
    const platform::FileId found = platform::file_id_at(e->d_name, false, dfd);
    const bool runs_own = !platform::held(found).why_kept().empty();  // an output given such a name
    if ((S_ISREG(found.kind) || S_ISLNK(found.kind)) && !runs_own) unlinkat(dfd, e->d_name, 0);
  }
  closedir(d);
}

}  // namespace korbast::pages
