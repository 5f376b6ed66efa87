#include "frame/output_names.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/file_id.hpp"

namespace korbast::frame::units {

Look look_at(std::string_view path) {
  const std::string p(path);
  Look look;
  struct stat st {};
  if (::lstat(p.c_str(), &st) != 0) return look;
  look.name = platform::file_id(st);
  look.target = look.name;
  if (S_ISLNK(st.st_mode)) look.target = ::stat(p.c_str(), &st) == 0 ? platform::file_id(st) : platform::FileId{};
  const mode_t kind = look.target.kind;  // 0: a link that leads nowhere
  if (S_ISDIR(kind)) look.found = Found::Folder;
  else if (S_ISBLK(kind)) look.found = Found::Block;
  else if (S_ISFIFO(kind) || S_ISCHR(kind) || S_ISSOCK(kind)) look.found = Found::Stream;
  else look.found = Found::File;
  return look;
}

namespace names {
namespace {

std::string& last_refusal() {
  static std::string reason;
  return reason;
}

}  // namespace

int refuse(std::string_view reason) {
  last_refusal() = reason;
  errno = EPERM;
  return -1;
}

const std::string& refusal() { return last_refusal(); }

void clear_refusal() { last_refusal().clear(); }

namespace {

// The name of the k-th temporary file of path, beside it: "<name>.new", "<name>.new1" ...;
// where that would be longer than a name in the folder may be (name_max bytes), the name is
// cut first, never inside a UTF-8 character, so that every name that can be made can be
// replaced.
std::string temporary_name(const std::string& path, int k, std::size_t name_max) {
  const std::size_t slash = path.rfind('/');
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  std::string base = path.substr(start);
  const std::string suffix = ".new" + (k == 0 ? std::string() : std::to_string(k));
  if (base.size() + suffix.size() > name_max) {
    std::size_t keep = name_max > suffix.size() ? name_max - suffix.size() : 0;
    while (keep > 0 && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) --keep;
    base.resize(keep);
  }
  return path.substr(0, start) + base + suffix;
}

}  // namespace

// The temporary file of a file replaced, made beside it (see temporary_name), or when that
// name is taken the next one. Each is created exclusively, which never follows a link:
// whatever holds such a name already (a link planted there, a file left by another run, a
// folder) is neither written nor removed. The descriptor, or -1 with errno (`temp` then names
// the last name tried).
int make_temporary(const std::string& path, std::string& temp) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  const std::size_t name_max = limit > 0 ? static_cast<std::size_t>(limit) : 255;
  constexpr int names = 100;
  int fd = -1;
  for (int k = 0; k < names; ++k) {
    temp = temporary_name(path, k, name_max);
    do fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd >= 0 || errno != EEXIST) break;
  }
  return fd;
}

// Opens path with flags (and O_CLOEXEC), never waiting: without O_NONBLOCK, opening a FIFO
// that nobody reads (or writes) would wait for ever; with it a FIFO without reader fails at
// once (ENXIO), one without writer opens. The descriptor then blocks as usual. -1 with errno
// when the open fails.
int open_without_waiting(const std::string& path, int flags) {
  int fd = -1;
  do fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  const int opened = ::fcntl(fd, F_GETFL);
  if (opened == -1 || ::fcntl(fd, F_SETFL, opened & ~O_NONBLOCK) == -1) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

NameForms name_forms(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  NameForms forms{absolute.lexically_normal().string(), {}};
  if (char* folder = ::realpath(absolute.parent_path().c_str(), nullptr)) {
    forms.resolved = (fs::path(folder) / absolute.filename()).string();
    std::free(folder);
  }
  return forms;
}

namespace {

// The descriptor a name of one of the run's own streams stands for, -1 for any other name.
int stream_number(const std::string& name) {
  if (name == "/dev/stdin") return 0;
  if (name == "/dev/stdout") return 1;
  if (name == "/dev/stderr") return 2;
  const std::string folders[] = {"/dev/fd/", "/proc/self/fd/", "/proc/" + std::to_string(::getpid()) + "/fd/"};
  for (const std::string& folder : folders) {
    if (!name.starts_with(folder)) continue;
    const std::string digits = name.substr(folder.size());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
      return -1;
    return std::stoi(digits);
  }
  return -1;
}

bool in_dev(std::string_view name) { return name == "/dev" || name.starts_with("/dev/"); }

}  // namespace

int own_stream(const NameForms& forms) {
  const int n = stream_number(forms.lexical);
  return n >= 0 ? n : stream_number(forms.resolved);
}

// Whether a name is under /dev, as written or through a link to a folder on its way.
bool under_dev(const NameForms& forms) {
  return in_dev(forms.lexical) || in_dev(forms.resolved);
}

// A duplicate of the run's descriptor n, -1 with errno (EBADF when n is not open for writing).
int duplicate_stream(int n) {
  const int flags = ::fcntl(n, F_GETFL);
  if (flags == -1 || (flags & O_PATH) != 0 || (flags & O_ACCMODE) == O_RDONLY) {
    errno = EBADF;
    return -1;
  }
  return ::fcntl(n, F_DUPFD_CLOEXEC, 0);
}

namespace {

// Opens for writing the file that the descriptor `at` (O_PATH) stands for, that very file and
// without waiting: through /proc/self/fd, never by its name again. Where /proc is missing, the
// name is opened and what it gives checked to be that file before anything is written. -1
// with errno, or refused.
int reopen_for_writing(int at, const std::string& path, const struct stat& st) {
  const int fd = open_without_waiting("/proc/self/fd/" + std::to_string(at), O_WRONLY);
  if (fd >= 0 || errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0) return fd;
  const int by_name = open_without_waiting(path, O_WRONLY);
  struct stat opened {};
  if (by_name < 0 || (::fstat(by_name, &opened) == 0 && platform::same_file(opened, platform::file_id(st))))
    return by_name;
  ::close(by_name);
  return refuse(S_ISBLK(opened.st_mode) ? kBlockDevice : kChanged);
}

// A stream chosen to be written as it is: the file the name leads to, if it is still the one
// looked at (`seen`, by its identity and the time of its last change) and no block device; -1
// with errno, or refused.
int open_stream(const std::string& path, const platform::FileId& seen) {
  int at = -1;
  do at = ::open(path.c_str(), O_PATH | O_CLOEXEC);
  while (at < 0 && errno == EINTR);
  if (at < 0) return -1;
  struct stat st {};
  int fd = -1;
  if (::fstat(at, &st) != 0) fd = -1;
  else if (S_ISBLK(st.st_mode)) fd = refuse(kBlockDevice);
  else if (!platform::same_file(st, seen, true)) fd = refuse(kChanged);
  else fd = reopen_for_writing(at, path, st);
  const int error = errno;
  ::close(at);
  errno = error;
  return fd;
}

// A new file made beside the name and renamed over it, if the name still holds what was looked
// at (`seen`, nothing when it was not there): the same file, unchanged since, so that a file
// written to, or removed and made anew (even with the freed inode number), is not replaced;
// -1 with errno, or refused.
int replace_file(const std::string& path, const platform::FileId& seen) {
  // Made beside the name, then put at it in one step: nothing planted at the name between a
  // removal and a creation can be followed, and the name is never without a file.
  std::string temp;
  const int fd = make_temporary(path, temp);
  if (fd < 0) return -1;
  struct stat now {};
  const bool changed = ::lstat(path.c_str(), &now) == 0 ? !platform::same_file(now, seen, true) : seen.there;
  if (!changed && std::rename(temp.c_str(), path.c_str()) == 0) return fd;
  const int error = errno;
  ::close(fd);
  ::unlink(temp.c_str());
  if (changed) return refuse(kChanged);
  errno = error;
  return -1;
}

}  // namespace

// Status::Replace: the descriptor of the new file at the name (or of the stream there), or -1
// with errno, or refused. `looked`: what the user was asked about, or nullptr for the open's
// own look; what the open finds must be what was looked at. `dev`: the name is under /dev.
int open_replacing(const std::string& path, const Look* looked, bool dev) {
  const Look look = looked ? *looked : look_at(path);
  switch (look.found) {
    case Found::Folder:
      errno = EISDIR;
      return -1;
    case Found::Block:
      return refuse(kBlockDevice);
    case Found::Stream:
      return open_stream(path, look.target);
    case Found::Nothing:
      // A new name under /dev is made as any new file, never renamed there.
      if (dev) return open_without_waiting(path, O_WRONLY | O_CREAT | O_EXCL);
      break;
    case Found::File:
      break;
  }
  if (dev) return refuse(kUnderDev);
  return replace_file(path, look.name);
}

}  // namespace names
}  // namespace korbast::frame::units
