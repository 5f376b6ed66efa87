// The identity of a file, by which a name is looked at again: does it still hold the file it
// held, or the one the program opened?
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <ctime>
#include <string>

namespace korbast::platform {

// One file as the system showed it: whether it was there, its device, its inode, its kind (the
// S_IFMT bits of its mode), its birth where the file system keeps one, the time of its last
// change, and how many names it had.
struct FileId {
  bool there = false;
  dev_t dev = 0;
  ino_t ino = 0;
  mode_t kind = 0;
  bool born_known = false;
  timespec born{};
  timespec changed{};
  nlink_t links = 0;
};

// How far two looks must agree to be at one file: always in device, inode and kind, and in the
// birth where both know it (a file made later that got a freed inode number is another file).
//   Identity:  no more (a file written to since is still that file);
//   Unchanged: also in the time of the last change (a write into it, a link made to it, or a
//              file made anew in its place changes it).
enum class Match { Identity, Unchanged };

// The identity of the open file fd (not there when it cannot be had).
FileId file_id(int fd);
// The identity of what stands at path itself (a link is itself), or with `follow` of the file
// a link there leads to; a relative path is taken from the folder open on `dir`. Not there,
// with errno, when nothing can be looked at.
FileId file_id_at(const std::string& path, bool follow = false, int dir = AT_FDCWD);
// Whether the look `now` is at the file id, as `how` says (Match); never for a look at nothing.
bool same_file(const FileId& now, const FileId& id, Match how = Match::Identity);
// Why the name `path` does not hold the file id (same_file, as `how` says): "Removed by another
// program" when nothing is there, "Replaced by another program" when anything else is, a link
// even to that file (the name is looked at itself); "" while it holds it, when id was not
// there, or when the name cannot be looked at.
std::string why_not_at(const std::string& path, const FileId& id, Match how = Match::Identity);

}  // namespace korbast::platform
