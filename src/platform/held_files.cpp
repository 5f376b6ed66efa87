#include "platform/held_files.hpp"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

namespace korbast::platform {
namespace {

struct Hold {
  std::uint64_t group;
  FileId id;
  Use use;
};

// A file the run made at its name, and the descriptor it keeps on it (-1: none could be had).
struct Made {
  FileId id;
  int fd;
};

std::atomic<std::uint64_t> next_group{1};

// Whether `kept` descriptors kept open leave `quarters` quarters of the soft limit of open
// files, and at least 64, to the rest of the run; the soft limit is raised to the hard one the
// first time they do not.
bool leave_free(std::size_t kept, rlim_t quarters) {
  static std::atomic<bool> raised{false};
  for (;;) {
    rlimit lim{};
    if (getrlimit(RLIMIT_NOFILE, &lim) != 0) return false;
    if (lim.rlim_cur == RLIM_INFINITY) return true;
    if (kept + std::max<rlim_t>(64, lim.rlim_cur / 4 * quarters) < lim.rlim_cur) return true;
    if (lim.rlim_cur == lim.rlim_max || raised.exchange(true)) return false;
    lim.rlim_cur = lim.rlim_max;
    if (setrlimit(RLIMIT_NOFILE, &lim) != 0) return false;
  }
}

// Whether the file open on the kept descriptor fd has no name left.
bool gone(int fd) {
  const FileId now = file_id(fd);
  return now.there && now.links == 0;
}

}  // namespace

// The holds of the whole run, and the files it made at their names, under one lock.
struct HeldRegistry {
  std::mutex mu;
  std::vector<Hold> holds;
  std::vector<Made> made;
  std::size_t kept = 0;     // descriptors kept on made files
  std::size_t refused = 0;  // made files that found no room for one

  // Never destroyed: a group may let go of its files at the process's end, after other statics.
  static HeldRegistry& the() {
    static HeldRegistry* r = new HeldRegistry;
    return *r;
  }
  // Under the lock.
  void add(const HeldFiles& group, const FileId& id, Use use, int fd) {
    if (!id.there || !(S_ISREG(id.kind) || S_ISFIFO(id.kind))) return;
    holds.push_back({group.group_, id, use});
    if (use == Use::Made) add_made(id, fd);
  }
  // A made file on an inode the run knows already is that file where a descriptor is kept on
  // it (its inode number cannot have gone to another file); else the file known there is gone.
  void add_made(const FileId& id, int fd) {
    const auto known = [&] {
      return std::ranges::find_if(made, [&](const Made& m) { return m.id.dev == id.dev && m.id.ino == id.ino; });
    };
    if (const auto it = known(); it != made.end() && it->fd >= 0) return;
    const int at = fd >= 0 && room() ? ::open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_PATH | O_CLOEXEC) : -1;
    kept += at >= 0;
    // Looked for again: room() may have let go of other files.
    if (const auto it = known(); it != made.end()) *it = {id, at};
    else made.push_back({id, at});
  }
  // Whether one more descriptor may be kept: when the run keeps half of its soft limit already,
  // the files gone from every name are let go first (looked for at the first made file that finds
  // no room, then at every 64th: not every kept descriptor at each new file).
  bool room() {
    if (leave_free(kept, 2)) return true;
    if (refused++ % 64 != 0) return false;
    forget_if([](const Made& m) { return m.fd >= 0 && gone(m.fd); });
    return leave_free(kept, 2);
  }
  // Forgets the made files that `which` picks, closing the descriptors kept on them.
  template <class Which>
  void forget_if(Which which) {
    std::erase_if(made, [&](const Made& m) {
      if (!which(m)) return false;
      if (m.fd >= 0) {
        ::close(m.fd);
        --kept;
      }
      return true;
    });
  }
  Holds find(const FileId& now, const HeldFiles* except) const {
    Holds found;
    for (const Hold& h : holds) {
      if ((except != nullptr && h.group == except->group_) || !same_file(now, h.id)) continue;
      (h.use == Use::Reading ? found.reading : found.writing) = true;
    }
    found.written = std::ranges::any_of(made, [&](const Made& m) { return same_file(now, m.id); });
    return found;
  }
  void remove(const HeldFiles& group) {
    std::erase_if(holds, [&](const Hold& h) { return h.group == group.group_; });
  }
};

HeldFiles::HeldFiles() : group_(next_group++) {}

HeldFiles::HeldFiles(HeldFiles&& other) noexcept : group_(std::exchange(other.group_, next_group++)) {}

HeldFiles& HeldFiles::operator=(HeldFiles&& other) noexcept {
  if (this != &other) {
    let_go();
    group_ = std::exchange(other.group_, next_group++);
  }
  return *this;
}

void HeldFiles::hold(const FileId& id, Use use, int fd) {
  HeldRegistry& r = HeldRegistry::the();
  std::lock_guard<std::mutex> lock(r.mu);
  r.add(*this, id, use, fd);
}

void HeldFiles::let_go() {
  HeldRegistry& r = HeldRegistry::the();
  std::lock_guard<std::mutex> lock(r.mu);
  r.remove(*this);
}

Holds held(const FileId& id, const HeldFiles* except) {
  HeldRegistry& r = HeldRegistry::the();
  std::lock_guard<std::mutex> lock(r.mu);
  return r.find(id, except);
}

Holds held_at(const std::string& path, const HeldFiles* except) { return held(file_id_at(path), except); }

std::string rename_unless_held(const std::string& from, const std::string& to, HeldFiles& into,
                               Placer by, int fd) {
  HeldRegistry& r = HeldRegistry::the();
  std::lock_guard<std::mutex> lock(r.mu);
  const FileId found = file_id_at(to);
  const Holds there = r.find(found, nullptr);
  if (there || (by == Placer::PageWriter && there.written)) return std::string(there.why_kept());
  const FileId mine = fd >= 0 ? file_id(fd) : file_id_at(from);
  if (!mine.there || std::rename(from.c_str(), to.c_str()) != 0) return std::strerror(errno);
  // A file known without a descriptor had no other name when it had one link.
  r.forget_if([&](const Made& m) { return same_file(found, m.id) && (m.fd >= 0 ? gone(m.fd) : found.links == 1); });
  r.add(into, mine, by == Placer::Output ? Use::Made : Use::Writing, fd);
  return "";
}

std::size_t kept_descriptors() {
  HeldRegistry& r = HeldRegistry::the();
  std::lock_guard<std::mutex> lock(r.mu);
  return r.kept;
}

bool may_keep_open(std::size_t kept) { return leave_free(kept + kept_descriptors(), 1); }

void forget_made() {
  HeldRegistry& r = HeldRegistry::the();
  std::lock_guard<std::mutex> lock(r.mu);
  r.forget_if([](const Made&) { return true; });
  r.refused = 0;
}

}  // namespace korbast::platform
