// A file of given content in the temporary folder, removed at the end of the test. The name
// carries the process id: test programs run in parallel processes.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace korbast::testing {

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

}  // namespace korbast::testing
