#include "frame/output_names.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/file_id.hpp"

namespace korbast::frame::units {

Look look_at(std::string_view path) {
  const std::string p(path);
  Look look;
  look.name = platform::file_id_at(p);
  if (!look.name.there) return look;
  look.target = S_ISLNK(look.name.kind) ? platform::file_id_at(p, true) : look.name;
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

// What the run was started with open: each descriptor, whether it was open for reading and for
// writing, and the file it held.
struct StartDescriptor {
  int fd;
  bool readable;
  bool writable;
  platform::FileId file;
};

std::vector<StartDescriptor>& start_descriptors() {
  static std::vector<StartDescriptor> found;
  return found;
}

// The standard streams the run was started with: its standard input held for reading, and the
// files its standard output and error go to held for writing, to the run's end.
platform::HeldFiles& standard_streams() {
  static platform::HeldFiles held;
  return held;
}

// Taken when the program is loaded, before main and before anything of the run is opened, so
// that the program, its tests and its fuzz targets all know what they were handed.
[[gnu::constructor(101)]] void note_descriptors_at_load() { note_start_descriptors(); }

// The number that a descriptor's entry name stands for ("5"), -1 for any other name (as the
// kernel's, no sign and no leading zero).
int descriptor_number(std::string_view digits) {
  const bool plain = !digits.empty() && digits.size() <= 9 && (digits.size() == 1 || digits[0] != '0');
  if (!plain || digits.find_first_not_of("0123456789") != std::string_view::npos) return -1;
  return std::stoi(std::string(digits));
}

// The descriptor that a name of one of the run's standard streams or descriptors stands for
// as written (where /proc cannot resolve it), -1 for any other name.
int stream_number(std::string_view name) {
  if (name == "/dev/stdin") return 0;
  if (name == "/dev/stdout") return 1;
  if (name == "/dev/stderr") return 2;
  for (const std::string_view folder : {"/dev/fd/", "/proc/self/fd/", "/proc/thread-self/fd/"})
    if (name.starts_with(folder)) return descriptor_number(name.substr(folder.size()));
  return -1;
}

// The part of a path after the run's own folder in /proc, "/proc/<pid>/" or
// "/proc/<pid>/task/<tid>/" where pid is this process or one of its threads ("fd/1"); nullopt
// for a path elsewhere.
std::optional<std::string> in_own_proc(const std::string& path) {
  if (!path.starts_with("/proc/")) return std::nullopt;
  const std::size_t end = path.find('/', 6);
  const std::string pid = path.substr(6, end == std::string::npos ? std::string::npos : end - 6);
  if (descriptor_number(pid) < 0) return std::nullopt;
  std::error_code ec;
  if (std::stol(pid) != ::getpid() && !std::filesystem::exists("/proc/self/task/" + pid, ec))
    return std::nullopt;
  std::string rest = end == std::string::npos ? std::string() : path.substr(end + 1);
  if (rest.starts_with("task/")) {
    const std::size_t tid_end = rest.find('/', 5);
    rest = tid_end == std::string::npos ? std::string() : rest.substr(tid_end + 1);
  }
  return rest;
}

// Where a name leads in the end: its folder resolved, then each link at its last part
// followed, up to the run's own folder in /proc (whose descriptor entries are links that lead
// to no name). "" when a folder on its way cannot be resolved.
std::string resolved_fully(const NameForms& forms) {
  namespace fs = std::filesystem;
  std::string at = forms.resolved;
  for (int links = 0; links < 40 && !at.empty() && !in_own_proc(at); ++links) {
    std::error_code ec;
    const fs::path target = fs::read_symlink(at, ec);
    if (ec) break;  // no link: the name itself
    at = name_forms((fs::path(at).parent_path() / target).string()).resolved;
  }
  return at;
}

}  // namespace

void note_start_descriptors() {
  auto& found = start_descriptors();
  found.clear();
  // Every descriptor number the process may hold would be too many to try: the listing of
  // /proc/self/fd gives those open (the listing's own descriptor left out), or without /proc
  // the first few hundred numbers are tried.
  std::vector<int> numbers;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (const dirent* e = ::readdir(d))
      if (const int fd = descriptor_number(e->d_name); fd >= 0 && fd != ::dirfd(d)) numbers.push_back(fd);
    ::closedir(d);
  } else {
    for (int fd = 0; fd < 256; ++fd) numbers.push_back(fd);
  }
  standard_streams().let_go();
  for (const int fd : numbers) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1) continue;
    const int access = flags & O_ACCMODE;
    const bool path_only = (flags & O_PATH) != 0;
    found.push_back(
        {fd, !path_only && access != O_WRONLY, !path_only && access != O_RDONLY, platform::file_id(fd)});
    const StartDescriptor& s = found.back();
    if (fd == 0 && s.readable) standard_streams().hold(s.file, platform::Use::Reading);
    if ((fd == 1 || fd == 2) && s.writable && S_ISREG(s.file.kind))
      standard_streams().hold(s.file, platform::Use::Writing);
  }
}

OwnName own_name(const NameForms& forms) {
  const int n = stream_number(forms.lexical);
  if (n >= 0) return {true, n};
  const std::optional<std::string> rest = in_own_proc(resolved_fully(forms));
  if (!rest) return {};
  return {true, rest->starts_with("fd/") ? descriptor_number(std::string_view(*rest).substr(3)) : -1};
}

namespace {

// What the run was started with at descriptor n, if n still holds that very file.
const StartDescriptor* still_from_start(int n) {
  for (const StartDescriptor& s : start_descriptors()) {
    if (s.fd != n) continue;
    return platform::same_file(platform::file_id(n), s.file) ? &s : nullptr;
  }
  return nullptr;
}

// Whether descriptor n is one of the run's own streams: open for writing when the run started
// (its standard output and error, and any its caller handed over), still that very file, and
// not its standard input.
bool own_stream(int n) {
  const StartDescriptor* s = still_from_start(n);
  return n != 0 && s != nullptr && s->writable;
}

// Whether descriptor n is one the run opened itself: open now, past the standard streams (those
// it was started without are Bad file descriptors, whatever the run put at their numbers), and
// not what the run was started with there.
bool opened_by_run(int n) { return n > 2 && ::fcntl(n, F_GETFD) != -1 && still_from_start(n) == nullptr; }

}  // namespace

int open_own(const OwnName& name, bool make_new) {
  const int n = name.fd;
  if (n < 0) {
    errno = EACCES;  // another entry of the run's own /proc folder: never opened
    return -1;
  }
  if (make_new) {
    errno = ::fcntl(n, F_GETFD) != -1 ? EEXIST : EBADF;
    return -1;
  }
  const platform::FileId file = platform::file_id(n);
  if (own_stream(n)) {
    const bool read_by_run = platform::held(file).reading;
    return read_by_run ? refuse(kOpenedElsewhere) : ::fcntl(n, F_DUPFD_CLOEXEC, 0);
  }
  // The standard input, and a file the run holds or wrote (the descriptor it keeps on one noted
  // with the start descriptors again), by this name as by any other.
  const platform::Holds holds = platform::held(file);
  if (opened_by_run(n) || (file.there && (n == 0 || holds || holds.written))) return refuse(kOpenedElsewhere);
  errno = EBADF;
  return -1;
}

int check_own_input(const OwnName& name) {
  const int n = name.fd;
  if (n < 0) return 0;
  const StartDescriptor* s = still_from_start(n);
  if (s != nullptr && s->readable) return 0;
  if (opened_by_run(n)) return refuse(kOpenedElsewhere);
  errno = EBADF;
  return -1;
}

// Whether a name is under /dev, as written or through a link to a folder on its way.
bool under_dev(const NameForms& forms) {
  const auto in_dev = [](std::string_view name) { return name == "/dev" || name.starts_with("/dev/"); };
  return in_dev(forms.lexical) || in_dev(forms.resolved);
}

bool dev_own_entry(const NameForms& forms, mode_t kind) {
  return under_dev(forms) && kind != 0 && !S_ISREG(kind) && !S_ISDIR(kind);
}

namespace {

// Opens for writing the file that the descriptor `at` (O_PATH) stands for, that very file and
// without waiting: through /proc/self/fd, never by its name again. Where /proc is missing, the
// name is opened and what it gives checked to be that file before anything is written. -1
// with errno, or refused.
int reopen_for_writing(int at, const std::string& path, const platform::FileId& file) {
  const int fd = open_without_waiting("/proc/self/fd/" + std::to_string(at), O_WRONLY);
  if (fd >= 0 || errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0) return fd;
  const int by_name = open_without_waiting(path, O_WRONLY);
  if (by_name < 0) return by_name;
  const platform::FileId opened = platform::file_id(by_name);
  if (platform::same_file(opened, file)) return by_name;
  ::close(by_name);
  return refuse(S_ISBLK(opened.kind) ? kBlockDevice : kChanged);
}

// A stream chosen to be written as it is: the file the name leads to, if it is still the one
// looked at (`seen`, by its identity: a FIFO or a device that another program writes into
// changes its time of last change, not what it is), no block device and nothing the run holds
// (a FIFO or pipe it reads from); looked at through a descriptor that opens nothing, so that a
// FIFO is neither waited on nor taken a reader from. -1 with errno, or refused.
int open_stream(const std::string& path, const platform::FileId& seen) {
  int at = -1;
  do at = ::open(path.c_str(), O_PATH | O_CLOEXEC);
  while (at < 0 && errno == EINTR);
  if (at < 0) return -1;
  const platform::FileId file = platform::file_id(at);
  int fd = -1;
  if (!file.there) fd = -1;
  else if (S_ISBLK(file.kind)) fd = refuse(kBlockDevice);
  else if (!platform::same_file(file, seen)) fd = refuse(kChanged);
  else if (platform::held(file)) fd = refuse(kOpenedElsewhere);
  else fd = reopen_for_writing(at, path, file);
  const int error = errno;
  ::close(at);
  errno = error;
  return fd;
}

// A new file made beside the name and renamed over it, if the name still holds what was looked
// at (`seen`, nothing when it was not there): the same file, unchanged since, so that a file
// written to, or removed and made anew (even with the freed inode number), is not replaced;
// and no file the run holds. The new file is held in `hold`. -1 with errno, or refused.
int replace_file(const std::string& path, const platform::FileId& seen, platform::HeldFiles& hold) {
  // Made beside the name, then put at it in one step: nothing planted at the name between a
  // removal and a creation can be followed, and the name is never without a file.
  std::string temp;
  const int fd = make_temporary(path, temp);
  if (fd < 0) return -1;
  const platform::FileId now = platform::file_id_at(path);
  const bool changed = now.there ? !platform::same_file(now, seen, platform::Match::Unchanged) : seen.there;
  const std::string why =
      changed ? std::string(kChanged) : platform::rename_unless_held(temp, path, hold, platform::Placer::Output, fd);
  if (why.empty()) return fd;
  const int error = errno;
  ::close(fd);
  ::unlink(temp.c_str());
  if (changed || why == kOpenedElsewhere) return refuse(why);
  errno = error;
  return -1;
}

}  // namespace

// Status::Replace: the descriptor of the new file at the name (or of the stream there), or -1
// with errno, or refused. `looked`: what the user was asked about, or nullptr for the open's
// own look; what the open finds must be what was looked at. `dev`: the name is under /dev. The
// new file is held in `hold`.
int open_replacing(const std::string& path, const Look* looked, bool dev, platform::HeldFiles& hold) {
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
    case Found::File:
      break;
  }
  // A link of /dev's own (to a file, or leading nowhere) is left; a file there is replaced.
  if (dev && S_ISLNK(look.name.kind)) return refuse(kUnderDev);
  return replace_file(path, look.name, hold);
}

}  // namespace names
}  // namespace korbast::frame::units
