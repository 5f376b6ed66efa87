#include "frame/units.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

namespace korbast::frame::units {
namespace {

struct Unit {
  std::unique_ptr<std::fstream> file;
  std::string path;
  bool readable = false;
  bool writable = false;
};

struct Table {
  std::map<int, Unit> files;
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
  return static_cast<bool>(*u->file);
}

Read read_line(int unit, std::string& line) {
  std::istream* in = nullptr;
  if (unit == keyboard) {
    table().out->flush();
    // The wait watches the process's standard input: not when tests bound the keyboard.
    if (table().keyboard_wait && table().in == &std::cin) table().keyboard_wait();
    in = table().in;
  } else if (Unit* u = find(unit); u && u->readable) {
    in = u->file.get();
  } else {
    return Read::Error;
  }
  line.clear();
  if (!std::getline(*in, line)) {
    if (in->bad()) return Read::Error;
    return Read::Eof;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return Read::Ok;
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
  table().in = &in;
  table().out = &out;
}

void bind_console() {
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
