#include "platform/file_id.hpp"

#include <cerrno>

namespace korbast::platform {

FileId file_id(const struct stat& st) {
  return {true, st.st_dev, st.st_ino, st.st_mode & S_IFMT, st.st_ctim};
}

FileId file_id(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? file_id(st) : FileId{};
}

bool same_file(const struct stat& st, const FileId& id, bool by_change) {
  return id.there && st.st_dev == id.dev && st.st_ino == id.ino && (st.st_mode & S_IFMT) == id.kind &&
         (!by_change || (st.st_ctim.tv_sec == id.changed.tv_sec && st.st_ctim.tv_nsec == id.changed.tv_nsec));
}

std::string why_not_at(const std::string& path, const FileId& id, bool by_change) {
  if (!id.there) return "";
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0)
    return errno == ENOENT || errno == ENOTDIR ? "Removed by another program" : "";
  return same_file(st, id, by_change) ? "" : "Replaced by another program";
}

}  // namespace korbast::platform
