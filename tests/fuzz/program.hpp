// The whole program as a fuzz target: its main (compiled into the target as korbast_main)
// runs on answers from a string, in a temporary folder of this process that holds the
// target's files afresh at every run. The stop path, which would end the process, is
// intercepted and ends the run instead; plot windows draw on a log canvas.
//
// Nothing outside that folder is created, changed or removed: no answer names a file outside
// it (see in_folder_answers), and the folder goes when the process ends, however it ends.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

#include "catalogue/gcmtblk.hpp"
#include "frame/units.hpp"
#include "platform/log_canvas.hpp"
#include "plot/window_device.hpp"

int korbast_main();

namespace korbast::fuzz {

struct Stopped {
  int status;
};
[[noreturn]] inline void stopped(int status) { throw Stopped{status}; }

// The files every run starts with, by name.
using Files = std::map<std::string, std::string>;

inline std::string fixture(const std::string& relative) {
  std::ifstream in(std::string(KORBAST_FUZZ_DATA) + "/" + relative, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The answers with every name kept inside the run's folder. The program takes a name as it
// is typed, relative to the folder it runs in, and the folder holds plain files only (no link,
// no subfolder: the program makes none), so a name leaves the folder only through a '/' (an
// absolute name, "../x", "/dev/...", "/proc/...") or as "." or ".." alone. Each '/' becomes
// '_', and the dots of a line that is only "." or ".." (blanks, tabs and what follows a NUL
// aside, whichever of CR and LF ends the lines) become '_' too. The answers keep their
// length and line ends, so the fuzzer still reaches every file dialog, with names inside.
inline std::string in_folder_answers(std::string answers) {
  std::replace(answers.begin(), answers.end(), '/', '_');
  const std::size_t bom = answers.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  for (std::size_t begin = bom; begin <= answers.size();) {
    std::size_t end = answers.find_first_of("\r\n", begin);
    if (end == std::string::npos) end = answers.size();
    std::size_t name_end = answers.find('\0', begin);
    if (name_end > end) name_end = end;
    const std::size_t first = answers.find_first_not_of(" \t", begin);
    if (first < name_end) {
      std::size_t last = name_end;
      while (answers[last - 1] == ' ' || answers[last - 1] == '\t') --last;
      const std::string_view name(answers.data() + first, last - first);
      if (name == "." || name == "..") std::fill(answers.begin() + first, answers.begin() + last, '_');
    }
    begin = end + 1;
  }
  return answers;
}

// The run's folder goes at the end of the process: at exit, and, when the process ends without
// its exit (a finding, a timeout, a signal), by a shell that waits for the end of a pipe that
// only this process holds open.
inline std::string& scratch_folder() {
  static std::string dir;
  return dir;
}
inline void remove_scratch_folder() {
  std::error_code ec;
  std::filesystem::remove_all(scratch_folder(), ec);
}
inline void remove_scratch_folder_after_process(const std::string& dir) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) std::abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[0], 0);
  // Its own process group and signals ignored: a Ctrl-C at the terminal ends the fuzzer, not
  // the shell that clears up after it.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  const char* argv[] = {"sh", "-c", "trap '' HUP INT QUIT TERM; read -r _; rm -rf -- \"$1\"", "sh", dir.c_str(),
                        nullptr};
  pid_t pid;
  if (::posix_spawnp(&pid, "sh", &actions, &attributes, const_cast<char**>(argv), environ) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(ends[0]);  // the write end stays open, unused, until the process ends
}

inline void enter_scratch_folder() {
  static bool done = false;
  if (done) return;
  done = true;
  std::string dir = (std::filesystem::temp_directory_path() / "korbast-fuzz-XXXXXX").string();
  if (!::mkdtemp(dir.data()) || ::chdir(dir.c_str()) != 0) std::abort();
  scratch_folder() = dir;
  remove_scratch_folder_after_process(dir);
  std::atexit(remove_scratch_folder);
  frame::units::set_stop_interceptor(stopped);
}

// One run of the program: the files written, then the answers fed as the keyboard.
inline void run_program(const Files& files, const std::string& answers) {
  enter_scratch_folder();
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(".", ec))
    std::filesystem::remove_all(entry.path(), ec);
  for (const auto& [name, content] : files) std::ofstream(name, std::ios::binary) << content;
  catalogue::gcmtblk.nstored = 0;
  catalogue::gcmtblk.idatatype = 0;
  // One canvas for the process: the window device keeps pointing at it from one run to the
  // next (a process of the program has one device for its life).
  static platform::LogCanvas canvas;
  canvas.clear();
  plot::use_device(&canvas);
  std::istringstream in(in_folder_answers(answers));
  std::ostringstream out;
  frame::units::bind_console(in, out);
  try {
    korbast_main();
  } catch (const Stopped&) {
  }
  frame::units::bind_console();
  if (std::getenv("KORBAST_FUZZ_SHOW")) std::fwrite(out.str().data(), 1, out.str().size(), stdout);
}

inline std::string as_text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace korbast::fuzz
