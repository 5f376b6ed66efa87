// The files the run holds open, by their identity, and for what: none of its outputs is ever
// removed, replaced or taken by another of its own outputs (a unit's file, a plot window's page
// files and lock file), and no output is ever written into one of its inputs (its standard
// input, the command file, a catalogue being read). Shared by the unit table and the page
// writer's threads.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_id.hpp"

namespace korbast::platform {

// Why the run does not take a file it holds already, in the words of its file table.
constexpr std::string_view kHeldByRun = "File already opened in another unit";

enum class Use { Reading, Writing };

// Files held together (a unit's file; a window's page files), from hold() until let_go() or
// the end of the group. Only regular files and FIFOs (pipes too) are held: a device or a socket
// is shared by its nature. Thread-safe.
class HeldFiles {
 public:
  HeldFiles();
  ~HeldFiles() { let_go(); }
  HeldFiles(HeldFiles&& other) noexcept;
  HeldFiles& operator=(HeldFiles&& other) noexcept;
  HeldFiles(const HeldFiles&) = delete;
  HeldFiles& operator=(const HeldFiles&) = delete;

  // Holds the file id for `use`.
  void hold(const FileId& id, Use use);
  // Lets every file of the group go.
  void let_go();

 private:
  friend struct HeldRegistry;
  std::uint64_t group_;
};

// How the run holds a file: for reading, for writing, or both; false when not at all.
struct Holds {
  bool reading = false;
  bool writing = false;
  explicit operator bool() const { return reading || writing; }
};
// How the run holds the file st describes (its device, inode and kind), the files of `except`
// left out.
Holds held(const struct stat& st, const HeldFiles* except = nullptr);
// held() of what stands at path itself (lstat: a link is itself, never the file it leads to);
// nothing for a name that holds nothing.
Holds held_at(const std::string& path, const HeldFiles* except = nullptr);
// Renames `from` to `to` unless what stands at `to` is a file the run holds, and then holds the
// file renamed for writing in `into`, in one step against the run's other holds and renames: no
// other thread of the run puts a file of its own at `to` in between. "" when renamed, else why
// not (kHeldByRun, or the system's reason).
std::string rename_unless_held(const std::string& from, const std::string& to, HeldFiles& into);

}  // namespace korbast::platform
