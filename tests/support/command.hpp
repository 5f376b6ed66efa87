// Shell commands from a test: what one prints, and whether a tool is installed.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace korbast::testing {

// The standard output of `cmd` run by the shell; its wait status in *status when asked.
inline std::string run_command(const std::string& cmd, int* status = nullptr) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) {
    if (status) *status = -1;
    return out;
  }
  char buf[512];
  while (fgets(buf, sizeof buf, p)) out += buf;
  const int st = pclose(p);
  if (status) *status = st;
  return out;
}

inline bool have_tool(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace korbast::testing
