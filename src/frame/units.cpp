#include "frame/units.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ext/stdio_filebuf.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

#include "frame/dialog.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/output_names.hpp"
#include "frame/stop.hpp"
#include "platform/file_id.hpp"
#include "platform/held_files.hpp"
#include "platform/run_threads.hpp"

namespace korbast::frame::units {
namespace {

constexpr Identity id_units{"units", "1.00", "25-03-94"};

// The end of a whole piece in an output buffer: a line, or the lines of one record. Every
// piece given is whole: the buffer always ends with the end of one.
struct Mark {
  std::size_t end;  // the offset just after the piece's last line end
  bool record;
};

// An output file: lines gather in a buffer that goes to the file descriptor when full, at a
// flush and at the close. It counts what the program gave and what reached the file, and
// remembers the first failure, which is reported once in an error frame.
struct Output {
  int fd = -1;
  std::string pending;
  std::vector<Mark> marks;  // the whole pieces in `pending`, in order
  // A regular file can be cut back to its last whole piece.
  bool cuttable = false;
  // One of the run's own streams: the console's pending lines go first, and each line at once.
  bool with_console = false;
  long long lines_given = 0;
  long long lines_out = 0;  // complete lines that reached the file
  long long bytes_out = 0;
  long long records_given = 0;
  long long records_out = 0;  // complete records that reached the file
  bool failed = false;
  bool reported = false;
};

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
  bool unended = false;    // the last line read stopped at the end of the input, with no end
  bool too_long = false;   // the last line read was too long to keep: passed over to its end
  // A file unit reads whole blocks into this buffer (only the line reader reads a file);
  // the keyboard reads byte by byte, since nothing may be taken ahead of other readers.
  bool blocks = false;
  std::string block;
  std::size_t next = 0;    // the first byte of `block` not yet read
};

struct Unit {
  std::unique_ptr<std::filebuf> file;  // an input file's bytes
  std::unique_ptr<Output> output;
  std::string path;
  std::string temp;  // Status::Whole: where the lines go until the close
  // The file opened, held by the run while the unit is open (for reading or for writing): no
  // other output replaces it or writes into it (see opened_elsewhere).
  platform::FileId opened;
  platform::HeldFiles held;
  // A file the run made at its name (New, Replace, Whole): written only while the name holds it.
  bool at_name = false;
  bool readable = false;
  bool writable = false;
  bool read_from = false;  // a read since the open or the last rewind
  bool rewind_failed = false;
  LineState lines;
};

constexpr std::size_t output_buffer = 64 * 1024;
bool output_lost = false;  // some output file failed in this run: the run's status says so

void report_failure(int unit, Output& o, const std::string& path, std::string_view stage, std::string_view reason,
                    bool lost = false);
bool close_unit(int unit, bool abandon);

// Counts the first `end` bytes of the buffer as written: their line ends, and the records
// whose end is among them.
void count_out(Output& o, std::size_t end) {
  o.lines_out += std::count(o.pending.begin(), o.pending.begin() + static_cast<std::ptrdiff_t>(end), '\n');
  o.bytes_out += static_cast<long long>(end);
  for (const Mark& m : o.marks) {
    if (m.end > end) break;
    o.records_out += m.record;
  }
}

// The end of the last whole piece among the first `done` bytes of the buffer (0: none).
std::size_t last_whole(const Output& o, std::size_t done) {
  std::size_t end = 0;
  for (const Mark& m : o.marks) {
    if (m.end > done) break;
    end = m.end;
  }
  return end;
}

// Sends the buffered bytes to the file; false (and the failure reported) when they do not all
// reach it. A file is thus at a line end, and at a record's end, whenever the run ends, at
// once or not: a write that failed part way cuts the file back to the last whole piece that
// reached it.
bool drain(int unit, Output& o, const std::string& path, std::string_view stage) {
  if (o.failed) return false;
  const std::size_t end = o.pending.size();
  std::size_t done = 0;
  int error = 0;
  while (done < end) {
    const ssize_t n = ::write(o.fd, o.pending.data() + done, end - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (done == end) {
    count_out(o, end);
    o.pending.clear();
    o.marks.clear();
    return true;
  }
  std::size_t kept = done;
  if (o.cuttable) {
    const std::size_t whole = last_whole(o, done);
    int cut = -1;
    do cut = ::ftruncate(o.fd, static_cast<off_t>(o.bytes_out + static_cast<long long>(whole)));
    while (cut != 0 && errno == EINTR);
    if (cut == 0) kept = whole;
  }
  count_out(o, kept);
  o.pending.clear();
  o.marks.clear();
  o.failed = true;
  report_failure(unit, o, path, stage, std::strerror(error));
  return false;
}

struct Table {
  std::map<int, Unit> files;
  LineState keyboard_lines;
  std::istream* in = &std::cin;
  std::ostream* out = &std::cout;
  void (*keyboard_wait)() = nullptr;
  std::vector<void (*)()> stop_actions;
  void (*stop_interceptor)(int) = nullptr;
  void (*write_hook)() = nullptr;
  bool console_lost = false;  // a console write failed: the run stops
  std::string open_error;     // why the last failed open failed
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

// Whether the console stream took what it was given; its first failure stops the run.
bool console_ok() {
  if (*table().out) return true;
  if (!table().console_lost) {
    table().console_lost = true;
    stop::console_failed();
  }
  return false;
}

// The error frame of a failed output file: which file, at which step, why, and how much of it
// reached the file. Later lines given to the unit are lost with no further frame.
// The head of every output file's error frame: the step that failed, the file (its line as
// given) and why. The run then ends with status 1.
void failed_file_head(std::string_view stage, const std::string& file_line, std::string_view reason) {
  output_lost = true;
  errorhead(id_units);
  write_line(iocom.errout_unit, fmt::Line().item("  OUTPUT FILE FAILED").item(stage).str());
  write_line(iocom.errout_unit, file_line);
  write_line(iocom.errout_unit, fmt::Line().item("  REASON:").item(reason).str());
}

std::string unit_file_line(int unit, std::string_view path) {
  return fmt::Line().item("  UNIT").x().i(unit, 2).item("FILE:").item(path).str();
}

// lost: the name no longer holds the file written, so nothing of it counts as written there.
void report_failure(int unit, Output& o, const std::string& path, std::string_view stage, std::string_view reason,
                    bool lost) {
  output_lost = true;
  const Unit* u = find(unit);
  const bool whole = u != nullptr && !u->temp.empty();
  if (o.reported) return;
  o.reported = true;
  auto line = [](const std::string& text) { write_line(iocom.errout_unit, text); };
  failed_file_head(stage, unit_file_line(unit, path), reason);
  line(fmt::Line().item("  LINES WRITTEN =").x().i(lost ? 0 : o.lines_out, 9).str());
  line(fmt::Line().item("  BYTES WRITTEN =").x().i(lost ? 0 : o.bytes_out, 9).str());
  line(fmt::Line().item("  LINES GIVEN   =").x().i(o.lines_given, 9).str());
  if (o.records_given > 0) line(fmt::Line().item("  WHOLE RECORDS =").x().i(lost ? 0 : o.records_out, 9).str());
  line(fmt::Line().item(lost    ? "==> THE FILE IS NOT WRITTEN"
                        : whole ? "==> THE PREVIOUS FILE IS KEPT"
                                : "==> THE FILE IS INCOMPLETE").str());
  errortail00();
}

// Whether the name of a file the run made there (Unit::at_name) still holds it, by its
// identity: another program may have put something else there, such as a link planted as the
// file was renamed into place. When it does not, the file fails (reported at `stage`) and is
// never looked for again: what now stands at the name is neither written nor removed.
bool holds_name(int unit, Unit& u, const std::string& path, std::string_view stage) {
  if (!u.at_name) return true;
  const std::string why = platform::why_not_at(path, u.opened);
  if (why.empty()) return true;
  u.output->failed = true;
  report_failure(unit, *u.output, path, stage, why, true);
  return false;
}

// The error frame of a file replaced whole whose temporary file cannot be made (a folder at
// its name, a folder that cannot be written, an entry of /dev's own): which file, why;
// nothing is written.
void report_open_failure(int unit, const std::string& file, std::string_view reason) {
  failed_file_head("WHILE OPENING", unit_file_line(unit, file), reason);
  write_line(iocom.errout_unit, fmt::Line().item("==> THE PREVIOUS FILE IS KEPT").str());
  errortail00();
}

// A file that cannot be rewound: every later read of it is a read error.
void report_rewind_failure(std::string_view path, int error) {
  const int out = iocom.errout_unit;
  errorhead(id_units);
  write_line(out, fmt::Line().item("  FILE CANNOT BE REWOUND:").item(path).str());
  write_line(out, fmt::Line().item("  REASON:").item(std::strerror(error)).str());
  write_line(out, " ==> READ ERROR: IT CANNOT BE READ AGAIN");
  // No pause: the readers that rewound report the read error in their own frame next.
  write_line(out, rule_line('*'));
}


// Waits until the FIFO open on fd has a writer that wrote or came and went (a FIFO opened
// without waiting shows nothing before). The wait watches the stop's wake descriptor as a
// keyboard read does: a stop asked for ends the run here. False with errno when the wait
// fails or the run is already ending.
bool wait_for_writer(int fd) {
  for (;;) {
    stop::safe_point();
    pollfd fds[2] = {{fd, POLLIN, 0}, {stop::wake_fd(), POLLIN, 0}};
    const int r = ::poll(fds, fds[1].fd >= 0 ? 2 : 1, -1);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return false;
    if (fds[0].revents != 0) return true;
    if (fds[1].revents != 0) {
      stop::safe_point();
      errno = EINTR;  // the run is ending already
      return false;
    }
  }
}

// Status::Old and Status::Regular. Both open without waiting; Regular refuses anything but a
// regular file, Old waits for a FIFO's writer, which is how a catalogue or column file is fed
// through one.
bool open_input(Unit& u, const std::string& path, Status status) {
  if (names::check_own_input(names::own_name(names::name_forms(path))) != 0) return false;
  const int fd = names::open_without_waiting(path, O_RDONLY);
  if (fd < 0) return false;
  const platform::FileId id = platform::file_id(fd);
  bool ok = id.there;
  if (ok && status == Status::Regular && !S_ISREG(id.kind)) {
    ok = false;
    errno = EINVAL;
  }
  if (ok && S_ISFIFO(id.kind)) ok = wait_for_writer(fd);
  auto f = ok ? std::make_unique<__gnu_cxx::stdio_filebuf<char>>(fd, std::ios::binary | std::ios::in) : nullptr;
  if (!f || !f->is_open()) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return false;
  }
  u.file = std::move(f);
  u.opened = id;
  u.held.hold(u.opened, platform::Use::Reading);
  u.readable = true;
  return true;
}

bool open_output(int unit, Unit& u, const std::string& path, Status status, const Look* looked) {
  // Every write is checked here: a file size limit must show as a failed write, not end
  // the run by its signal.
  std::signal(SIGXFSZ, SIG_IGN);
  int fd = -1;
  const names::NameForms forms = names::name_forms(path);
  const names::OwnName own = status == Status::Whole ? names::OwnName{} : names::own_name(forms);
  if (status == Status::Whole) {
    // A file replaced whole reports its failures itself (see Status::Whole).
    if (names::dev_own_entry(forms, platform::file_id_at(path).kind)) {
      report_open_failure(unit, path, names::kUnderDev);
      names::refuse(names::kUnderDev);
      return false;
    }
    fd = names::make_temporary(path, u.temp);
    if (fd < 0) {
      const int error = errno;
      report_open_failure(unit, u.temp, std::strerror(error));
      errno = error;
      return false;
    }
  } else if (own.own) {
    // The name reaches into the run itself: only one of its own streams is written.
    fd = names::open_own(own, status == Status::New);
  } else if (status == Status::Replace) {
    fd = names::open_replacing(path, looked, names::under_dev(forms), u.held);
  } else {
    fd = names::open_without_waiting(path, O_WRONLY | O_CREAT | O_EXCL);
  }
  if (fd < 0) return false;
  u.output = std::make_unique<Output>();
  u.output->fd = fd;
  u.output->with_console = own.own;
  u.opened = platform::file_id(fd);
  if (u.opened.there) {
    u.output->cuttable = S_ISREG(u.opened.kind) && !own.own;
    // A file made at its name is there from here on (a file replaced whole from the close on),
    // and stays known as written by the run once closed.
    u.at_name = status == Status::Whole || u.output->cuttable;
    const bool made = u.at_name && status != Status::Whole;
    u.held.hold(u.opened, made ? platform::Use::Made : platform::Use::Writing, fd);
  }
  u.writable = true;
  if (status == Status::Replace) holds_name(unit, u, path, "WHILE OPENING");
  return true;
}

bool open_unit(int unit, std::string_view path, Status status, const Look* looked) {
  if (is_console(unit) || path.empty()) {
    errno = EINVAL;
    return false;
  }
  std::string p(path);
  if (opened_elsewhere(unit, p, status)) {
    names::refuse(names::kOpenedElsewhere);
    return false;
  }
  close(unit);
  Unit u;
  // A folder is neither read nor written as a file (a new file would fail on "File exists").
  // A file replaced whole is written beside its name first: a folder there shows at the close;
  // a replaced name is looked at itself, not through a link.
  std::error_code ec;
  if (status != Status::Whole && status != Status::Replace && std::filesystem::is_directory(p, ec)) {
    errno = EISDIR;
    return false;
  }
  const bool input = status == Status::Old || status == Status::Regular;
  if (!(input ? open_input(u, p, status) : open_output(unit, u, p, status, looked))) return false;
  u.path = std::move(p);
  table().files[unit] = std::move(u);
  return true;
}

}  // namespace

bool open(int unit, std::string_view path, Status status, const Look* looked) {
  names::clear_refusal();
  if (open_unit(unit, path, status, status == Status::Replace ? looked : nullptr)) return true;
  table().open_error = names::refusal().empty() ? std::string(std::strerror(errno)) : names::refusal();
  return false;
}

std::string open_error() { return table().open_error; }

bool opened_elsewhere(int unit, std::string_view path, Status status) {
  if (status != Status::Replace && status != Status::Whole) return false;
  const Unit* u = find(unit);
  return static_cast<bool>(platform::held_at(std::string(path), u ? &u->held : nullptr));
}

bool close(int unit) { return close_unit(unit, false); }

namespace {

// abandon: a file being replaced whole keeps its previous content (a stop while it is
// written).
bool close_unit(int unit, bool abandon) {
  auto& files = table().files;
  auto it = files.find(unit);
  if (it == files.end()) return true;
  Unit& u = it->second;
  bool ok = true;
  if (u.output) {
    Output& o = *u.output;
    ok = drain(unit, o, u.path, "WHILE FLUSHING") && !o.failed;
    if (ok && !u.temp.empty() && ::fsync(o.fd) != 0) {
      o.failed = true;
      report_failure(unit, o, u.path, "WHILE SYNCING", std::strerror(errno));
      ok = false;
    }
    std::string_view stage = "WHILE CLOSING";
    if (!u.temp.empty()) {
      // The whole file in its place, or the previous one kept. It stays open until its name
      // has been looked at: its inode number cannot go to another file meanwhile.
      stage = "WHILE RENAMING";
      const std::string why =
          ok && !abandon ? platform::rename_unless_held(u.temp, u.path, u.held, platform::Placer::Output, o.fd)
                         : "not renamed";
      const bool renamed = why.empty();
      if (ok && !abandon && !renamed) {
        o.failed = true;
        report_failure(unit, o, u.path, stage, why);
        ok = false;
      }
      if (!renamed) ::unlink(u.temp.c_str());
      else u.temp.clear();  // in place: no previous file is kept from here on
    }
    if (ok && !abandon) ok = holds_name(unit, u, u.path, stage);
    if (::close(o.fd) != 0 && errno != EINTR && !o.failed) {
      o.failed = true;
      report_failure(unit, o, u.path, "WHILE CLOSING", std::strerror(errno));
      ok = false;
    }
  } else {
    u.file->close();
  }
  files.erase(it);
  return ok;
}

}  // namespace

bool is_open(int unit) { return is_console(unit) || find(unit) != nullptr; }

bool rewind(int unit) {
  Unit* u = find(unit);
  if (!u || !u->readable) return false;
  if (u->rewind_failed) return false;  // reported once already; still unreadable
  if (!u->read_from) return true;  // nothing read yet: already at the first line
  errno = 0;
  if (u->file->pubseekpos(0, std::ios::in) == std::streampos(std::streamoff(-1))) {
    // A pipe or a device cannot go back: what follows would be read as an empty file.
    const int error = errno != 0 ? errno : ESPIPE;
    u->lines = LineState{};
    u->lines.unreadable = true;
    u->rewind_failed = true;
    report_rewind_failure(u->path, error);
    return false;
  }
  u->lines = LineState{};
  u->read_from = false;
  return true;
}

namespace {

// Far above any record of the program's files; a longer line is a read error.
constexpr std::size_t max_line = 64 * 1024;
// How far past that bound the reader looks for the line's end before it gives the file up.
constexpr std::size_t max_skip = 16 * 1024 * 1024;

void report_long_line(std::string_view path) {
  const int out = iocom.errout_unit;
  warninghead(Identity{"read_line", "", ""});
  write_line(out, fmt::Line().item("LINE LONGER THAN " + std::to_string(max_line) + " BYTES").str());
  write_line(out, fmt::Line().item("IN FILE:").item(path).str());
  write_line(out, " ==> READ ERROR, READING ON AFTER ITS LINE END");
  // No pause here: the pause itself reads the keyboard, which may be the file at fault.
  write_line(out, rule_line('/'));
}

// The bytes of one input stream: a file's in blocks of its own buffer, the keyboard's one by
// one from the stream buffer.
class Bytes {
 public:
  Bytes(std::streambuf* sb, LineState& st) : sb_(sb), st_(st) {}
  int peek() {
    if (!st_.blocks) return sb_->sgetc();
    return (st_.next < st_.block.size() || refill()) ? as_int(st_.block[st_.next]) : eof();
  }
  int bump() {
    const int c = peek();
    // At the end nothing is taken: a keyboard read past it would wait for the next line.
    if (c == eof()) return c;
    if (st_.blocks) ++st_.next;
    else sb_->sbumpc();
    return c;
  }
  // The bytes read ahead and not yet taken (none for the keyboard).
  std::string_view at_hand() {
    if (!st_.blocks || (st_.next >= st_.block.size() && !refill())) return {};
    return std::string_view(st_.block).substr(st_.next);
  }
  void skip(std::size_t n) { st_.next += n; }

 private:
  using traits = std::char_traits<char>;
  static int eof() { return traits::eof(); }
  static int as_int(char c) { return traits::to_int_type(c); }
  bool refill() {
    constexpr std::streamsize block_size = 64 * 1024;
    st_.block.resize(static_cast<std::size_t>(block_size));
    const std::streamsize n = sb_->sgetn(st_.block.data(), block_size);
    st_.block.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    st_.next = 0;
    return n > 0;
  }
  std::streambuf* sb_;
  LineState& st_;
};

using traits = std::char_traits<char>;

bool at_end(int c) { return traits::eq_int_type(c, traits::eof()); }

// The empty lines a run of CRs left behind when it settled CR mode, one a call.
bool take_pending_empty_line(LineState& st) {
  if (st.empty_lines == 0) return false;
  --st.empty_lines;
  st.at_start = false;
  return true;
}

// CR mode: an LF right after the CR that ended the last line is part of that line end.
void finish_cr_line_end(Bytes& src, LineState& st) {
  if (!st.after_cr) return;
  st.after_cr = false;
  if (src.peek() == '\n') src.bump();
}

// The plain bytes at hand up to the next CR or LF, as many as the line has room for, at once.
// False when there are none: the next byte is a line end, past the bound or not read ahead.
bool append_plain_bytes(Bytes& src, std::string& line) {
  const std::string_view ahead = src.at_hand();
  if (ahead.empty()) return false;
  const std::size_t room = line.size() < max_line ? max_line - line.size() : 0;
  const std::size_t limit = std::min(ahead.size(), room);
  const char* p = ahead.data();
  const void* lf = std::memchr(p, '\n', limit);
  std::size_t k = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - p) : limit;
  if (const void* cr = std::memchr(p, '\r', k)) k = static_cast<std::size_t>(static_cast<const char*>(cr) - p);
  if (k == 0) return false;
  line.append(p, k);
  src.skip(k);
  return true;
}

// The first line end of a stream is a run of CRs: followed by LF it is a CRLF end with stray
// CRs before it (they stay in the line), followed by anything else the stream ends its lines
// with CR and the run holds that many lines.
void settle_line_ends_at_cr(Bytes& src, LineState& st, std::string& line) {
  int run = 1;
  while (src.peek() == '\r' && run <= static_cast<int>(max_line)) {
    src.bump();
    ++run;
  }
  if (src.peek() == '\n') {
    src.bump();
    st.ends = LineState::Ends::Lf;
    line.append(static_cast<std::size_t>(run - 1), '\r');
  } else {
    st.ends = LineState::Ends::Cr;
    st.empty_lines = run - 1;
  }
}

// Whether the byte `c` just taken ends the line, by the stream's line ends (settling them at
// the first end met). In LF mode a CR ends the line only with the LF after it (taken too): the
// line end is no part of the line, so a line of max_line bytes ends at its CRLF, never past the
// bound; a stray CR stays in the line.
bool ends_line(int c, Bytes& src, LineState& st, std::string& line) {
  if (c == '\n') {
    if (st.ends == LineState::Ends::Unknown) st.ends = LineState::Ends::Lf;
    return true;
  }
  if (c != '\r') return false;
  if (st.ends == LineState::Ends::Lf) {
    if (src.peek() != '\n') return false;
    src.bump();
  } else if (st.ends == LineState::Ends::Cr) {
    st.after_cr = true;
  } else {
    settle_line_ends_at_cr(src, st, line);
  }
  return true;
}

enum class Gathered { Line, Unended, Nothing, TooLong };

// The bytes of one line into `line`, up to its end or the stream's end; its end is not counted
// toward the bound, whichever it is. Unended: the stream ended inside the line. TooLong: the
// line reached max_line with more to come (the byte past the bound is taken).
Gathered gather_line(Bytes& src, LineState& st, std::string& line) {
  bool any = false;
  for (;;) {
    if (append_plain_bytes(src, line)) {
      any = true;
      continue;
    }
    const int c = src.bump();
    if (at_end(c)) return any ? Gathered::Unended : Gathered::Nothing;
    any = true;
    if (ends_line(c, src, st, line)) return Gathered::Line;
    if (line.size() >= max_line) return Gathered::TooLong;
    line.push_back(traits::to_char_type(c));
  }
}

// A CR met while a long line is passed over: in LF mode it ends the line only with the LF
// after it (taken too); otherwise it ends it, settling CR mode.
bool long_line_ends_at_cr(Bytes& src, LineState& st) {
  if (st.ends != LineState::Ends::Lf) {
    if (st.ends == LineState::Ends::Unknown) st.ends = LineState::Ends::Cr;
    st.after_cr = true;
    return true;
  }
  if (src.peek() != '\n') return false;
  src.bump();
  return true;
}

// The long-line skip: the rest of a line too long to keep is passed over up to and with its
// end (settling CR mode if a CR comes first), looking at most max_skip bytes far; a line
// without end past that makes the stream unreadable.
void skip_long_line(Bytes& src, LineState& st) {
  for (std::size_t skipped = 1;; ++skipped) {
    const int d = src.bump();
    if (at_end(d) || d == '\n') return;
    if (d == '\r' && long_line_ends_at_cr(src, st)) return;
    if (skipped >= max_skip) {
      st.unreadable = true;
      return;
    }
  }
}

// The UTF-8 byte-order mark some editors put at the start of a file leaves its first line.
void drop_byte_order_mark(LineState& st, std::string& line) {
  if (!st.at_start) return;
  st.at_start = false;
  if (line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
}

// One line of a stream, without its end, the line ends of LineState. Every call reads a
// bounded number of bytes.
Read read_stream_line(std::streambuf* sb, LineState& st, std::string& line, std::string_view path) {
  line.clear();
  st.unended = false;
  st.too_long = false;
  if (st.unreadable) return Read::Error;
  if (take_pending_empty_line(st)) return Read::Ok;
  if (sb == nullptr) return Read::Error;
  Bytes src{sb, st};
  try {
    finish_cr_line_end(src, st);
    switch (gather_line(src, st, line)) {
      case Gathered::Line:
        break;
      case Gathered::Unended:
        st.unended = true;
        break;
      case Gathered::Nothing:
        return Read::Eof;
      case Gathered::TooLong:
        // A read error; the rest of the line is passed over, within a bound.
        line.clear();
        report_long_line(path);
        skip_long_line(src, st);
        st.at_start = false;
        st.too_long = !st.unreadable;
        return Read::Error;
    }
  } catch (...) {  // a file buffer that failed to read
    line.clear();
    return Read::Error;
  }
  drop_byte_order_mark(st, line);
  return Read::Ok;
}

}  // namespace

Read read_line(int unit, std::string& line) {
  stop::safe_point();
  if (unit == keyboard) {
    table().out->flush();
    console_ok();
    // The wait watches the process's standard input: not when tests bound the keyboard.
    if (table().keyboard_wait && table().in == &std::cin) table().keyboard_wait();
    return read_stream_line(table().in->rdbuf(), table().keyboard_lines, line, "standard input");
  }
  if (Unit* u = find(unit); u && u->readable) {
    u->lines.blocks = true;
    u->read_from = true;
    return read_stream_line(u->file.get(), u->lines, line, u->path);
  }
  line.clear();
  return Read::Error;
}

namespace {

// The line state of an input unit, or nullptr.
const LineState* lines_of(int unit) {
  if (unit == keyboard) return &table().keyboard_lines;
  const Unit* u = find(unit);
  return u != nullptr ? &u->lines : nullptr;
}

}  // namespace

bool line_unended(int unit) {
  const LineState* st = lines_of(unit);
  return st != nullptr && st->unended;
}

bool line_too_long(int unit) {
  const LineState* st = lines_of(unit);
  return st != nullptr && st->too_long;
}

namespace {

// One piece to a unit, after one safe point: a line (its end added), or a record (its lines
// with their ends, one piece as a whole).
bool put(int unit, std::string_view text, bool record) {
  const bool line_end = !record;
  if (table().write_hook) table().write_hook();
  stop::safe_point();
  if (is_console(unit)) {
    std::ostream* out = table().out;
    out->write(text.data(), static_cast<std::streamsize>(text.size()));
    if (line_end) out->put('\n');
    return console_ok();
  }
  Unit* u = find(unit);
  if (!u || !u->writable) return false;
  Output& o = *u->output;
  if (o.with_console) {
    table().out->flush();
    console_ok();
  }
  const std::size_t from = o.pending.size();
  o.lines_given += std::count(text.begin(), text.end(), '\n') + line_end;
  o.records_given += record;
  if (o.failed) return false;
  o.pending += text;
  if (line_end) o.pending += '\n';
  if (record) {
    o.marks.push_back({o.pending.size(), true});
  } else {
    // A line end inside the text ends a line of its own.
    for (std::size_t p = o.pending.find('\n', from); p != std::string::npos; p = o.pending.find('\n', p + 1))
      o.marks.push_back({p + 1, false});
  }
  return (o.pending.size() < output_buffer && !o.with_console) || drain(unit, o, u->path, "WHILE WRITING");
}

}  // namespace

bool write_line(int unit, std::string_view text) { return put(unit, text, false); }

bool write_lines(int unit, std::span<const std::string> lines) {
  std::string text;
  for (const std::string& l : lines) text.append(l).push_back('\n');
  return put(unit, text, true);
}

void set_write_hook(void (*hook)()) { table().write_hook = hook; }

bool flush(int unit) {
  if (is_console(unit)) {
    table().out->flush();
    return console_ok();
  }
  Unit* u = find(unit);
  if (!u) return false;
  if (!u->output) return true;
  return drain(unit, *u->output, u->path, "WHILE FLUSHING");
}

void mark_output_lost() { output_lost = true; }

void report_failed_file(std::string_view path, std::string_view stage, std::string_view reason,
                        std::string_view counted, long long count) {
  auto line = [](const std::string& text) { write_line(iocom.errout_unit, text); };
  failed_file_head(stage, fmt::Line().item("  FILE:").item(path).str(), reason);
  line(fmt::Line().item("  " + std::string(counted) + " WRITTEN =").x().i(count, 9).str());
  line(fmt::Line().item(count > 0 ? "==> THE FILE IS INCOMPLETE" : "==> THE FILE IS NOT WRITTEN").str());
  errortail00();
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

void set_stop_interceptor(void (*intercept)(int)) { table().stop_interceptor = intercept; }

bool stop_intercepted() { return table().stop_interceptor != nullptr; }

void stop_run(int status) {
  stop::ending();
  auto actions = table().stop_actions;
  table().stop_actions.clear();
  for (auto it = actions.rbegin(); it != actions.rend(); ++it) (*it)();
  const int signal = stop::requested();
  // Every output file to its last byte, closed, its write checked; a stop by a signal says
  // what each holds.
  while (!table().files.empty()) {
    const auto it = table().files.begin();
    const int number = it->first;
    Unit& u = it->second;
    if (!u.output) {
      close(number);
      continue;
    }
    const std::string path = u.path;
    Output& o = *u.output;
    drain(number, o, path, "WHILE FLUSHING");
    const long long lines = o.lines_out;
    const bool whole = !u.temp.empty();
    if (close_unit(number, whole) && signal != 0 && !whole)
      write_line(iocom.stdout_unit, fmt::Line().item("FILE").item(path).item("CLOSED:").x().i(lines, 9).item("LINES").str());
  }
  std::fflush(nullptr);
  // The console output itself (korbast > /dev/full) is output that may be lost.
  const bool console_written = static_cast<bool>(table().out->flush());
  if (!console_written) {
    output_lost = true;
    std::fputs("korbast: the console output could not be written\n", stderr);
  }
  // A run that lost output ends with status 1, even after a normal end.
  const int final_status = status == 0 && output_lost ? 1 : status;
  if (table().stop_interceptor) {
    table().stop_actions = actions;  // the next run in this process stops the same way
    platform::forget_made();         // and knows no file as its own
    table().stop_interceptor(final_status);
  }
  if (signal != 0) stop::end_by_signal(signal);
  // A thread the run left behind (the window's thread on an X server that does not answer, a
  // page writer given up in a write) may still be inside its library: the process then ends
  // here, without the clean-up at exit of the libraries and of the program's own objects, which
  // would free what that thread uses. Nothing is lost: the stop actions finished the pages,
  // the units are closed, and stdio and the console were flushed above.
  if (platform::left_behind()) _exit(final_status);
  std::exit(final_status);
}

}  // namespace korbast::frame::units
