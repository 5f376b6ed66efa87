#include "platform/file_id.hpp"

#include <sys/sysmacros.h>

#include <cerrno>

namespace korbast::platform {
namespace {

timespec time_of(const statx_timestamp& t) { return {t.tv_sec, t.tv_nsec}; }

bool same_time(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// statx of `path` from `dir` with `flags` ("" and AT_EMPTY_PATH for an open file); where the
// system has no statx, fstatat, which tells no birth. Not there, with errno, on a failure.
FileId look(int dir, const char* path, int flags) {
  struct statx sx {};
  if (::statx(dir, path, flags, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0) {
    const bool born = (sx.stx_mask & STATX_BTIME) != 0;
    const mode_t kind = sx.stx_mode & S_IFMT;
    return {true, makedev(sx.stx_dev_major, sx.stx_dev_minor), sx.stx_ino, kind,
            born, born ? time_of(sx.stx_btime) : timespec{}, time_of(sx.stx_ctime), sx.stx_nlink};
  }
  struct stat st {};
  if (errno != ENOSYS || ::fstatat(dir, path, &st, flags) != 0) return {};
  return {true, st.st_dev, st.st_ino, st.st_mode & S_IFMT, false, {}, st.st_ctim, st.st_nlink};
}

}  // namespace

FileId file_id(int fd) { return look(fd, "", AT_EMPTY_PATH); }

FileId file_id_at(const std::string& path, bool follow, int dir) {
  return look(dir, path.c_str(), follow ? 0 : AT_SYMLINK_NOFOLLOW);
}

bool same_file(const FileId& now, const FileId& id, Match how) {
  if (!now.there || !id.there || now.dev != id.dev || now.ino != id.ino || now.kind != id.kind) return false;
  if (now.born_known && id.born_known && !same_time(now.born, id.born)) return false;
  return how == Match::Identity || same_time(now.changed, id.changed);
}

std::string why_not_at(const std::string& path, const FileId& id, Match how) {
  if (!id.there) return "";
  const FileId now = file_id_at(path);
  if (!now.there) return errno == ENOENT || errno == ENOTDIR ? "Removed by another program" : "";
  return same_file(now, id, how) ? "" : "Replaced by another program";
}

}  // namespace korbast::platform
