// The whole program as a fuzz target: its main (compiled into the target as korbast_main)
// runs on answers from a string, in a temporary folder of this process that holds the
// target's files afresh at every run. The stop path, which would end the process, is
// intercepted and ends the run instead; plot windows draw on a log canvas.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

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

inline void enter_scratch_folder() {
  static bool done = false;
  if (done) return;
  done = true;
  std::string dir = (std::filesystem::temp_directory_path() / "korbast-fuzz-XXXXXX").string();
  if (!::mkdtemp(dir.data()) || ::chdir(dir.c_str()) != 0) std::abort();
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
  std::istringstream in(answers);
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
