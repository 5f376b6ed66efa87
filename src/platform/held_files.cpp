#include "platform/held_files.hpp"

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

std::atomic<std::uint64_t> next_group{1};

}  // namespace

// The holds of the whole run, and the files it made at their names, under one lock.
struct HeldRegistry {
  std::mutex mu;
  std::vector<Hold> holds;
  std::vector<FileId> made;

  // Never destroyed: a group may let go of its files at the process's end, after other statics.
  static HeldRegistry& the() {
    static HeldRegistry* r = new HeldRegistry;
    return *r;
  }
  // Under the lock.
  void add(const HeldFiles& group, const FileId& id, Use use) {
    if (!id.there || !(S_ISREG(id.kind) || S_ISFIFO(id.kind))) return;
    holds.push_back({group.group_, id, use});
    if (use == Use::Made) made.push_back(id);
  }
  Holds find(const FileId& now, const HeldFiles* except) const {
    Holds found;
    for (const Hold& h : holds) {
      if ((except != nullptr && h.group == except->group_) || !same_file(now, h.id)) continue;
      (h.use == Use::Reading ? found.reading : found.writing) = true;
    }
    found.written =
        std::ranges::any_of(made, [&](const FileId& id) { return same_file(now, id, Match::Birth); });
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

void HeldFiles::hold(const FileId& id, Use use) {
  HeldRegistry& r = HeldRegistry::the();
  std::lock_guard<std::mutex> lock(r.mu);
  r.add(*this, id, use);
}

void HeldFiles::closing(const FileId& now) {
  HeldRegistry& r = HeldRegistry::the();
  std::lock_guard<std::mutex> lock(r.mu);
  for (FileId& id : r.made)
    if (same_file(now, id)) id.changed = now.changed;
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
                               Placer by) {
  HeldRegistry& r = HeldRegistry::the();
  std::lock_guard<std::mutex> lock(r.mu);
  const FileId found = file_id_at(to);
  const Holds there = r.find(found, nullptr);
  if (there || (by == Placer::PageWriter && there.written)) return std::string(there.why_kept());
  const FileId mine = file_id_at(from);
  if (!mine.there || std::rename(from.c_str(), to.c_str()) != 0) return std::strerror(errno);
  if (found.links == 1) std::erase_if(r.made, [&](const FileId& id) { return same_file(found, id); });
  r.add(into, mine, by == Placer::Output ? Use::Made : Use::Writing);
  return "";
}

}  // namespace korbast::platform
