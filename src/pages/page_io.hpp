// The bytes of the page files: deflate (zlib format), checked writes that stop once their
// writer is given up, the hidden names beside a page file, and whether a name still holds the
// file written there.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_id.hpp"
#include "platform/held_files.hpp"

namespace korbast::pages {

// data compressed in the zlib format at libdeflate's `level` (1-12); one compressor per
// thread and level. Empty when no compressor could be made.
std::string zlib_compress(const void* data, std::size_t n, int level);

// How often a write call with no thread to watch it is cut short at first to look at the
// bound: the length of the slices the bound is counted in (a slice the run was stopped in
// counts its length at most), as for the waits on a writer thread.
inline constexpr std::chrono::milliseconds kInterruptEvery{10};

// What the writer of the page files shares with the waits on it: whether it was given up, and
// how far it got (a count that grows with every write into a page file that takes bytes, and
// with every file the writer begins), by which a write that goes on slowly is told from one
// that takes nothing. Once `given_up` is set, nothing more is written or renamed. The page
// files put at their names are held by the run (`placed`) until the window lets them go: no
// other output of the run replaces them.
struct WriteWatch {
  std::atomic<bool> given_up{false};
  std::atomic<std::uint64_t> progress{0};
  // Set where no thread watches the one that writes (no writer thread could be started, and
  // the dialog writes the pages itself): each write call is then cut short after `slice`
  // where the file system lets it be (platform::Interrupter), and this is called on the
  // writing thread after each call cut short with no byte taken; it counts the slice toward
  // the bound, may give the writer up, and sets the slice the call is tried again with.
  std::function<void()> interrupted;
  // The slice of the next write call where `interrupted` is set: kInterruptEvery at first,
  // longer after a call cut short with no byte taken (a folder that gives a call up with
  // nothing written when a signal comes, and takes longer than the slice for one), kept after
  // a call that took bytes.
  std::chrono::nanoseconds slice = kInterruptEvery;
  platform::HeldFiles placed;
};

// The most a page file's write call is given: a folder that takes bytes slowly shows its
// progress after each (a 64 KiB call takes 3 seconds only below 22 kB a second).
inline constexpr std::size_t kWriteChunk = 64 * 1024;

// Called with each write call into a page file, right before it (after the last look at
// `given_up`), with the page file's path (its own name, also while it is still written under
// a hidden one) and the bytes asked: a test's stand-in for a stalled or slow file system, which
// it makes wait as a write call on a hung folder does. Never set by the program.
extern std::atomic<void (*)(const std::string& path, std::size_t bytes)> page_write_hook;

// Writes all n bytes at offset `at` of fd, the page file `path`, at most kWriteChunk bytes a
// call, each call that takes bytes counted in `watch->progress`; false with errno set when they
// do not all reach it. Once `watch->given_up` is set (its writer given up), no further call is
// made (one already under way may still land): false with ECANCELED.
bool write_all(int fd, const char* data, std::size_t n, off_t at, const std::string& path,
               WriteWatch* watch = nullptr);
// Gives the file written under the hidden name `temp` the name `path` (rename), and holds it in
// `watch->placed`, unless `watch->given_up` is set or the name holds a file the run holds (one of
// its outputs or inputs) or wrote (made there by one of its outputs, closed since), which is
// never replaced: "", or why not (platform::kHeldByRun, platform::kWrittenByRun, or the
// system's reason).
std::string put_in_place(const std::string& temp, const std::string& path,
                         WriteWatch* watch = nullptr);

// Why the name `path` no longer holds the open file fd: "" while it does (or when the name
// cannot be looked at), "Removed by another program" when nothing is there, "Replaced by
// another program" when anything else is, a link even to that file. While a file is open its
// inode number cannot go to another file, so a file made at the name later never passes.
std::string name_lost(const std::string& path, int fd);
// As name_lost for a file no longer open, known by its identity (platform::file_id): a file
// made later that got the freed inode number is told apart by its birth where the file system
// keeps one, and by the time of its last change (not within one tick of the file system's
// clock).
std::string name_lost(const std::string& path, const platform::FileId& id);

// open(path, flags, 0666), tried again when a signal cuts it short: the descriptor, or -1
// with errno.
int open_retrying(const std::string& path, int flags);
// Makes the file a page file is written under before it takes its own name (temp_name):
// whatever a run of this process left there is removed, and the new file is made only where
// none is (O_EXCL: never through a link). The descriptor, or -1 with errno.
int open_temp(const std::string& temp);

// A hidden name beside the file at `path`, in its folder: "." before its name, `suffix` after.
std::string hidden_name(const std::string& path, std::string_view suffix);
// The hidden name a page file is made under before it takes its own: this process's own,
// ".<name>.tmp-<process id>".
std::string temp_name(const std::string& path);
// Removes the hidden files that page files of the window whose PDF is at `pdf_path` were
// written under by processes that ended before giving them their names (temp_name of the PDF,
// ".<stem>.pdf.tmp-<n>", or of a PNG, ".<stem>_p<n>.png.tmp-<n>", <stem> the PDF's name
// without ".pdf"): regular files and links, never a folder, any other name, or a file the run
// holds or wrote. Only for the run holding the window's files (another one may be writing them
// otherwise).
void remove_stale_temps(const std::string& pdf_path);

}  // namespace korbast::pages
