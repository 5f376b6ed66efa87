// A file of given content in the temporary folder, removed at the end of the test (the name
// carries the process id: test programs run in parallel processes); a folder of its own; the
// bytes of a file; a file changed.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace korbast::testing {

// The bytes of a file, as they are ("" where it cannot be read).
inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Gives the file at path a later time of last change, as any change to it does: its mode is
// set again until the file system's clock (coarse on some) has moved on.
inline void change_ctime(const std::string& path) {
  struct stat before {}, now {};
  if (::stat(path.c_str(), &before) != 0) return;
  do {
    if (::chmod(path.c_str(), before.st_mode & 07777) != 0 || ::stat(path.c_str(), &now) != 0) return;
  } while (now.st_ctim.tv_sec == before.st_ctim.tv_sec && now.st_ctim.tv_nsec == before.st_ctim.tv_nsec);
}

struct TempFile {
  std::string path;
  explicit TempFile(const std::string& content, const std::string& name = "korbast_test.txt") {
    path = (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "_" + name))
               .string();
    std::ofstream(path, std::ios::binary) << content;
  }
  ~TempFile() { std::remove(path.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
};

// A new folder in the temporary folder, removed with all it holds at the end of the test
// (kept when KORBAST_KEEP is set, to look at what a test wrote).
struct TempDir {
  std::filesystem::path path;
  explicit TempDir(const std::string& prefix = "korbast") {
    std::string templ = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    path = ::mkdtemp(templ.data());
  }
  ~TempDir() {
    if (std::getenv("KORBAST_KEEP")) return;
    std::error_code ec;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string operator/(const std::string& name) const { return (path / name).string(); }
};

}  // namespace korbast::testing
