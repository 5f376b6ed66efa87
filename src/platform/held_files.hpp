// The files the run holds open, by their identity, and for what: none of its outputs is ever
// removed, replaced or taken by another of its own outputs (a unit's file, a plot window's page
// files and lock file, the files its standard output and error go to), and no output is ever
// written into one of its inputs (its standard input, the command file, a catalogue being
// read). The files its outputs made at their names stay known after they are let go, until the
// run ends: a page file or a lock never takes one of them. The run keeps a path-only descriptor
// on each of them, so that its inode number goes to no other file while the run lasts, and the
// device and inode alone tell it, whatever another program does to its mode, times, links or
// content (kept_descriptors). Shared by the unit table and the page writer's threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_id.hpp"

namespace korbast::platform {

// Why the run does not take a file it holds already, in the words of its file table.
constexpr std::string_view kHeldByRun = "File already opened in another unit";
// Why a page file or a lock does not take a file the run made at its name and let go.
constexpr std::string_view kWrittenByRun = "File already written by this run";

// Made: written, a file made at its name by an output of the dialog (a new or replaced file, the
// settings file), which stays known as written by the run once let go.
enum class Use { Reading, Writing, Made };

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

  // Holds the file id for `use`. For Use::Made, fd is a descriptor open on that very file, from
  // which the run keeps one of its own (kept_descriptors); -1 for none.
  void hold(const FileId& id, Use use, int fd = -1);
  // Lets every file of the group go.
  void let_go();

 private:
  friend struct HeldRegistry;
  std::uint64_t group_;
};

// How the run holds a file: for reading, for writing, or both; false when not at all. Written:
// the run made the file at its name (Use::Made), held now or let go since.
struct Holds {
  bool reading = false;
  bool writing = false;
  bool written = false;
  explicit operator bool() const { return reading || writing; }
  // Why a page file or a lock does not take the file: kHeldByRun while it is held, else
  // kWrittenByRun for a file written; "" for any other.
  std::string_view why_kept() const { return *this ? kHeldByRun : written ? kWrittenByRun : ""; }
};
// How the run holds the file id (by its identity, Match::Identity), the files of `except` left
// out.
Holds held(const FileId& id, const HeldFiles* except = nullptr);
// held() of what stands at path itself (a link is itself, never the file it leads to); nothing
// for a name that holds nothing.
Holds held_at(const std::string& path, const HeldFiles* except = nullptr);
// Who puts a file at its name: an output of the dialog, whose file is made there (Use::Made) and
// which may replace a file the run wrote and let go (the dialog asks first); or the page writer,
// which never replaces a file the run holds or wrote, and holds its page file for writing (a
// window's number is new in the run: no name of a page file comes twice).
enum class Placer { Output, PageWriter };
// Renames `from` to `to` unless what stands at `to` is a file that `by` may not replace, and
// then holds the file renamed in `into`, in one step against the run's other holds and renames:
// no other thread of the run puts a file of its own at `to` in between. fd: the file at `from`
// open, -1 where it is not (an output's file is then known by what stands at `from`). A file
// the run wrote whose last name the rename takes is known no more, its descriptor closed. ""
// when renamed, else why not (Holds::why_kept, or the system's reason).
std::string rename_unless_held(const std::string& from, const std::string& to, HeldFiles& into,
                               Placer by = Placer::Output, int fd = -1);

// The run keeps a descriptor on each file it made at its name, opened path-only through
// /proc/self/fd from a descriptor open on it, close-on-exec (no program the run starts gets it).
// While the run keeps more than half of its soft limit of open files so (raised to the hard one
// once first, see may_keep_open), files that are gone from every name (no link left) are let go
// to make room. A file that gets none (no room left, no /proc to open it through) is still known
// by its device and inode: nothing the run puts at a name takes a file on that inode then, even
// another program's that got the number (a refusal loses nothing, a replacement would).

// How many descriptors the run keeps now on the files it made.
std::size_t kept_descriptors();
// Whether the page writer, keeping `kept` page files open for the looks at their names, may keep
// one more: while they and the descriptors the run keeps on the files it made leave a quarter of
// the soft limit of open files, and at least 64, to the rest of the run; the soft limit is raised
// to the hard one the first time the run's kept descriptors reach that (a window of beach balls
// may have over a thousand pages, a command file may write thousands of tables).
bool may_keep_open(std::size_t kept);
// Lets go of every file the run made at its name, closing the descriptors kept on them: the
// end of a run, where several run in one process (the fuzz targets, stop_run's interceptor).
void forget_made();

}  // namespace korbast::platform
