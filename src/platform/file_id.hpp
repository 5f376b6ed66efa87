// The identity of a file, by which a name is looked at again: does it still hold the file it
// held, or the one the program opened?
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <ctime>
#include <string>

namespace korbast::platform {

// One file as stat, lstat or fstat saw it: whether it was there, its device, its inode, its
// kind (the S_IFMT bits of its mode) and the time of its last change.
struct FileId {
  bool there = false;
  dev_t dev = 0;
  ino_t ino = 0;
  mode_t kind = 0;
  timespec changed{};
};

// The identity of the file that st describes.
FileId file_id(const struct stat& st);
// The identity of the open file fd (not there when it cannot be had).
FileId file_id(int fd);
// Whether st describes the file id: the same device, inode and kind, and with `by_change` the
// same time of its last change (a file made later that got a freed inode number differs in
// it). Never for an id that was not there.
bool same_file(const struct stat& st, const FileId& id, bool by_change = false);
// Why the name `path` does not hold the file id (same_file, with `by_change`): "Removed by
// another program" when nothing is there, "Replaced by another program" when anything else is,
// a link even to that file (the name is looked at itself, lstat); "" while it holds it, when
// id was not there, or when the name cannot be looked at.
std::string why_not_at(const std::string& path, const FileId& id, bool by_change = false);

}  // namespace korbast::platform
