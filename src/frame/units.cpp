#include "frame/units.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"

namespace korbast::frame::units {
namespace {

// What the line reader knows about one input stream. The line end is settled by the first
// one met: LF (a CR just before it is part of it, any other CR stays in the line as a stray
// character) or CR (old Mac files: CR, LF and CRLF each end a line).
struct LineState {
  enum class Ends { Unknown, Lf, Cr };
  Ends ends = Ends::Unknown;
  bool at_start = true;    // the next line is the first: a byte-order mark is skipped
  bool after_cr = false;   // CR mode: an LF right after the last CR is part of that line end
  int empty_lines = 0;     // empty lines already read (a run of CRs that settled CR mode)
  bool unreadable = false; // a line without end past every bound: nothing more is read
};

struct Unit {
  std::unique_ptr<std::fstream> file;
  std::string path;
  bool readable = false;
  bool writable = false;
  LineState lines;
};

struct Table {
  std::map<int, Unit> files;
  LineState keyboard_lines;
  std::istream* in = &std::cin;
  std::ostream* out = &std::cout;
  void (*keyboard_wait)() = nullptr;
  std::vector<void (*)()> stop_actions;
};

Table& table() {
  static Table t;
  return t;
}

Unit* find(int unit) {
  auto& files = table().files;
  auto it = files.find(unit);
  return it == files.end() ? nullptr : &it->second;
}

bool is_console(int unit) { return unit == keyboard || unit == console; }

bool exists(std::string_view path) {
  std::ifstream probe{std::string(path)};
  return probe.good();
}

}  // namespace

bool open(int unit, std::string_view path, Status status) {
  if (is_console(unit) || path.empty()) return false;
  close(unit);
  std::string p(path);
  auto mode = std::ios::binary;
  Unit u;
  switch (status) {
    case Status::Old: {
      std::error_code ec;
      if (std::filesystem::is_directory(p, ec)) return false;
      mode |= std::ios::in;
      u.readable = true;
      break;
    }
    case Status::New:
      if (exists(p)) return false;
      mode |= std::ios::out | std::ios::trunc;
      u.writable = true;
      break;
    case Status::Replace:
      mode |= std::ios::out | std::ios::trunc;
      u.writable = true;
      break;
    case Status::Append:
      mode |= std::ios::out | std::ios::app;
      u.writable = true;
      break;
  }
  auto f = std::make_unique<std::fstream>(p, mode);
  if (!f->is_open()) return false;
  u.file = std::move(f);
  u.path = std::move(p);
  table().files[unit] = std::move(u);
  return true;
}

void close(int unit) {
  auto& files = table().files;
  auto it = files.find(unit);
  if (it == files.end()) return;
  it->second.file->flush();
  it->second.file->close();
  files.erase(it);
}

bool is_open(int unit) { return is_console(unit) || find(unit) != nullptr; }

bool rewind(int unit) {
  Unit* u = find(unit);
  if (!u || !u->readable) return false;
  u->file->clear();
  u->file->seekg(0);
  u->lines = LineState{};
  return static_cast<bool>(*u->file);
}

namespace {

// Far above any record of the program's files; a longer line is a read error.
constexpr std::size_t max_line = 64 * 1024;
// How far past that bound the reader looks for the line's end before it gives the file up.
constexpr std::size_t max_skip = 16 * 1024 * 1024;

void report_long_line(std::string_view path) {
  const int out = iocom.errout_unit;
  warninghead("read_line", "", "");
  write_line(out, fmt::Line().item("LINE LONGER THAN " + std::to_string(max_line) + " BYTES").str());
  write_line(out, fmt::Line().item("IN FILE:").item(path).str());
  write_line(out, " ==> READ ERROR, READING ON AFTER ITS LINE END");
  // No pause here: the pause itself reads the keyboard, which may be the file at fault.
  write_line(out, " " + std::string(43, '/'));
}

// One line of a stream, without its end, the line ends of LineState. Every call reads a
// bounded number of bytes.
Read read_stream_line(std::istream& in, LineState& st, std::string& line, std::string_view path) {
  using traits = std::char_traits<char>;
  line.clear();
  if (st.unreadable) return Read::Error;
  if (st.empty_lines > 0) {
    --st.empty_lines;
    st.at_start = false;
    return Read::Ok;
  }
  std::streambuf* sb = in.rdbuf();
  if (sb == nullptr) return Read::Error;
  try {
    if (st.after_cr) {
      st.after_cr = false;
      if (sb->sgetc() == '\n') sb->sbumpc();
    }
    bool ended = false;
    bool any = false;
    for (;;) {
      const int c = sb->sbumpc();
      if (traits::eq_int_type(c, traits::eof())) break;
      any = true;
      if (c == '\n') {
        if (st.ends == LineState::Ends::Unknown) st.ends = LineState::Ends::Lf;
        if (st.ends == LineState::Ends::Lf && !line.empty() && line.back() == '\r') line.pop_back();
        ended = true;
        break;
      }
      if (c == '\r' && st.ends == LineState::Ends::Cr) {
        st.after_cr = true;
        ended = true;
        break;
      }
      if (c == '\r' && st.ends == LineState::Ends::Unknown) {
        // A run of CRs: followed by LF it is a CRLF end with stray CRs before it, followed
        // by anything else the file ends its lines with CR.
        int run = 1;
        while (sb->sgetc() == '\r' && run <= static_cast<int>(max_line)) {
          sb->sbumpc();
          ++run;
        }
        if (sb->sgetc() == '\n') {
          sb->sbumpc();
          st.ends = LineState::Ends::Lf;
          line.append(static_cast<std::size_t>(run - 1), '\r');
        } else {
          st.ends = LineState::Ends::Cr;
          st.empty_lines = run - 1;
        }
        ended = true;
        break;
      }
      if (line.size() >= max_line) {
        // Too long: a read error; the rest of the line is passed over, within a bound.
        line.clear();
        report_long_line(path);
        std::size_t skipped = 1;
        for (;; ++skipped) {
          const int d = sb->sbumpc();
          if (traits::eq_int_type(d, traits::eof())) break;
          if (d == '\n') break;
          if (d == '\r') {
            if (st.ends != LineState::Ends::Lf) {
              if (st.ends == LineState::Ends::Unknown) st.ends = LineState::Ends::Cr;
              st.after_cr = true;
              break;
            }
            if (sb->sgetc() == '\n') {
              sb->sbumpc();
              break;
            }
          }
          if (skipped >= max_skip) {
            st.unreadable = true;
            break;
          }
        }
        st.at_start = false;
        return Read::Error;
      }
      line.push_back(traits::to_char_type(c));
    }
    if (!ended && !any) return Read::Eof;
  } catch (...) {  // a file buffer that failed to read
    line.clear();
    return Read::Error;
  }
  if (st.at_start) {
    st.at_start = false;
    if (line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
  }
  return Read::Ok;
}

}  // namespace

Read read_line(int unit, std::string& line) {
  if (unit == keyboard) {
    table().out->flush();
    // The wait watches the process's standard input: not when tests bound the keyboard.
    if (table().keyboard_wait && table().in == &std::cin) table().keyboard_wait();
    return read_stream_line(*table().in, table().keyboard_lines, line, "standard input");
  }
  if (Unit* u = find(unit); u && u->readable) return read_stream_line(*u->file, u->lines, line, u->path);
  line.clear();
  return Read::Error;
}

bool write(int unit, std::string_view text) {
  std::ostream* out = nullptr;
  if (is_console(unit)) {
    out = table().out;
  } else if (Unit* u = find(unit); u && u->writable) {
    out = u->file.get();
  } else {
    return false;
  }
  out->write(text.data(), static_cast<std::streamsize>(text.size()));
  return static_cast<bool>(*out);
}

bool write_line(int unit, std::string_view text) {
  if (!write(unit, text)) return false;
  return write(unit, "\n");
}

bool flush(int unit) {
  if (is_console(unit)) {
    table().out->flush();
    return static_cast<bool>(*table().out);
  }
  Unit* u = find(unit);
  if (!u) return false;
  u->file->flush();
  return static_cast<bool>(*u->file);
}

void flush_all() {
  table().out->flush();
  for (auto& [number, u] : table().files) u.file->flush();
}

std::string name(int unit) {
  Unit* u = find(unit);
  return u ? u->path : std::string();
}

void bind_console(std::istream& in, std::ostream& out) {
  table().keyboard_lines = LineState{};
  table().in = &in;
  table().out = &out;
}

void bind_console() {
  table().keyboard_lines = LineState{};
  table().in = &std::cin;
  table().out = &std::cout;
}

void set_keyboard_wait_hook(void (*hook)()) { table().keyboard_wait = hook; }

void at_stop(void (*action)()) { table().stop_actions.push_back(action); }

void stop_run(int status) {
  auto actions = table().stop_actions;
  table().stop_actions.clear();
  for (auto it = actions.rbegin(); it != actions.rend(); ++it) (*it)();
  flush_all();
  while (!table().files.empty()) close(table().files.begin()->first);
  std::fflush(nullptr);
  std::exit(status);
}

}  // namespace korbast::frame::units
