// The unit table: every file and console stream of the program is reached through a unit
// number, as the dialog and the file table expect (5 keyboard, 6 console, 11/21/22 the file
// slots, 15 the command file, 2, 12, 20, 50, 61 side files).
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_id.hpp"

namespace korbast::frame::units {

constexpr int keyboard = 5;
constexpr int console = 6;

// Old: read a file that exists; a FIFO waits for its writer (a stop ends the wait, as it ends
// a keyboard read). A name of one of the run's descriptors is read only where the run was
// started with it open for reading (the standard input, `3<cat.ndk`); one the run opened itself
// (its own pipes, a unit's file) is refused ("File already opened in another unit") and never
// waited on, one of its output streams and a closed one are Bad file descriptors.
// Regular: read a regular file
// only, never waiting: what is found at the name is opened without blocking (a FIFO without
// writer opens at once) and refused when it is no regular file (EINVAL).
// New: create, fail when the file exists.
// Replace: a regular file, a link to one or a link that leads nowhere is removed and a new file
// made there, never written through: the new empty file is made under a fresh name beside it
// (as for Whole) and renamed over the name at once, so a link's target and a file's other
// names keep their content and the name never stands empty. A FIFO or a character device, at
// the name or where a link leads, is written as it is, never removed (a FIFO without reader is
// refused at once, ENXIO), while it is what was looked at by its identity (another program
// that writes into it changes its time of last change, not what it is); a socket is never
// removed either, and refused (a socket cannot be opened as a file: ENXIO). A folder is refused
// (EISDIR); so is a block device, which is never opened for writing. Under /dev a file or a new
// name is replaced as anywhere; /dev's own entries, a link or a special file there, are never
// removed or replaced (a link is refused).
// Whole: replace the file whole or not at all (the lines go to a temporary file made under a
// new name beside it, never through a link or a file found there, which the close puts in its
// place once its bytes are on disk; a failure leaves the previous file as it was and is
// reported as below). A link or a special file under /dev is refused.
// Every output is refused ("File already opened in another unit") where it would replace or
// write into a file the run holds (platform::HeldFiles): a regular file or FIFO open on another
// unit, for reading or writing, a plot window's page files and lock file, the files its
// standard output and error go to, and anything the run reads from, its standard input and its
// inputs, by whatever name reaches them (a FIFO it reads its answers from, the pipe of its
// standard input as another process's /proc/<pid>/fd/1). A file an output made and closed is
// replaced as any other (platform::Holds::written: no page file or lock takes it).
// A file made at its name (New, Replace, and Whole from its rename on) counts as written only
// while the name holds it: it is looked at right after a rename and at the close, and when
// another program has put something else there (a link planted at the rename) or removed it,
// the file fails as below ("Replaced by another program", or "Removed by another program"), and
// what is at the name is neither written nor removed.
// A name that reaches a descriptor of the run (/dev/stdout, /dev/stderr, /dev/stdin,
// /dev/fd/N, /proc/self/fd/N, /proc/thread-self/fd/N, /proc/<pid>/fd/N, the task/<tid> forms,
// or a link to any of them) is never opened by name. One of the run's own streams, a
// descriptor open for writing when the run started (the standard output and error, one the
// caller handed over), is written through a duplicate of it, each line at once and after the
// console's pending lines, so that both keep their order in a file they share; a block device
// handed over so is written too, as the caller chose. Every other such name is refused: a
// descriptor the run opened itself, a stream of the run that is what it reads from, the
// standard input and a descriptor of a file the run holds ("File already opened in another
// unit"), another read-only or closed descriptor (EBADF), another entry of the run's /proc
// folder (EACCES).
// New refuses a descriptor that is open (EEXIST).
enum class Status { Old, Regular, New, Replace, Whole };
enum class Read { Ok, Eof, Error };

// What a name holds, looked at without following a link: nothing; a folder, or a link to one;
// a stream: a FIFO, a character device or a socket, or a link to one; a block device, or a link
// to one; a file: a regular file, a link to one, or a link that leads nowhere.
enum class Found { Nothing, Folder, Stream, Block, File };
// What the file chooser saw at a name before it asked to replace it: what the name holds, the
// name itself (lstat) and what it leads to (stat; the name itself when it is no link).
struct Look {
  Found found = Found::Nothing;
  platform::FileId name;
  platform::FileId target;
};
// What is at path, as the file chooser asks about it and a Replace open checks it.
Look look_at(std::string_view path);

// Opens a file on a unit; a unit already connected is closed first. Units 5 and 6 cannot be
// opened on files. Returns false when the file cannot be opened (nothing else changes;
// open_error then says why). A Replace or Whole open of a file the run holds is refused (see
// opened_elsewhere). looked (Replace only) is what the user was asked
// about: what the open finds must be that very file (for a link, the file it led to), not
// changed since (by its time of last change: a file written to, or removed and made anew with
// the freed inode number, is not it), or nothing is written and the open is refused ("Changed
// after it was chosen"); without it the name is looked at by the open itself.
bool open(int unit, std::string_view path, Status status, const Look* looked = nullptr);
// Why the last open that returned false failed, for the line under the file's name: the
// system's reason, or one of the program's own: "File already opened in another unit", "A block
// device is never written", "A link or special file under /dev is never replaced", "Changed
// after it was chosen".
std::string open_error();
// Whether an open of path with status on unit (Replace and Whole) would replace a file that the
// run holds at the name itself (a link to it is replaced, and the file kept): a regular file
// or a FIFO open on another unit, the standard input, a plot window's page file or lock file.
// Its lines would be lost, so the open is refused.
bool opened_elsewhere(int unit, std::string_view path, Status status);
// Closes a unit (flushing it); closing a closed unit does nothing. Units 5 and 6 stay.
// False when an output file failed (now or earlier): not every line given reached it.
//
// Output files: the lines written gather in a buffer that goes to the file when it is full,
// at a flush and at the close. The first failure of a file (a write, its flush or its close:
// a full disk, a file size limit) is reported once, in an error frame on the error output
// that names the unit and the file, gives the reason and counts the lines and bytes that
// reached the file; every later write to that file returns false, and the run ends with
// status 1 (see stop_run). A write that failed part way cuts a regular file back to the end
// of its last whole line, or whole record (write_lines): the frame counts what the file holds
// after the cut. One of the run's own streams is never cut (it shares the console's file).
bool close(int unit);
// Whether the unit is connected (the console units always are).
bool is_open(int unit);
// Back to the first line of an input file; false when the unit is not an open file or the
// file cannot go back (a pipe): then an error frame names the file, and every later read of
// it is a read error, never an empty file.
bool rewind(int unit);

// One line without its end; a last line without a line end is a line. LF, CRLF and CR-only
// line ends are read alike: the first line end of the input settles which it uses (after LF
// or CRLF, a CR inside a line stays in it). A UTF-8 byte-order mark before the first line
// is skipped. A line longer than 64 KiB is a read error (with a warning frame naming the
// file; line_too_long tells it from a failed read); the next read goes on after its line end.
// Eof at the end of the input, Error when the stream failed or the unit is not open for
// reading.
Read read_line(int unit, std::string& line);
// Whether the last line read_line gave from the unit stopped at the end of the input without
// a line end: the last line of a file still being written, or cut, may be incomplete.
bool line_unended(int unit);
// Whether the last read error of read_line on the unit was a line longer than 64 KiB, passed
// over up to its end (the next read takes the line after it), rather than a failed read.
bool line_too_long(int unit);
// Writes the text and a line end, as one piece: a stop comes before the line or after it.
// Writing to a unit that is not open does nothing and returns false, as does a failed write.
// On the console, a failed write (a closed pipe, a full device) ends the run through the
// common stop path with status 1; the stop path's own lines to it then fail silently.
bool write_line(int unit, std::string_view text);
// Writes the lines of one record, each with its line end, as one piece: a stop leaves the
// file before the record or after it, and a failed write cuts the file back to the end of
// the last whole record.
bool write_lines(int unit, std::span<const std::string> lines);
// Tests: called at the top of every write, before its safe point (nullptr for none).
void set_write_hook(void (*hook)());
// Flushes one unit; false when the output file failed (now or earlier).
bool flush(int unit);
// An output file that could not even be opened counts as failed: the run ends with status 1.
void mark_output_lost();
// The error frame of an output file written outside the unit table (the plot window's page
// files): the file, the step that failed, why, and how many `counted` ("PAGES") it holds
// (0: the file is not there); the run then ends with status 1, as for a failed unit.
void report_failed_file(std::string_view path, std::string_view stage, std::string_view reason,
                        std::string_view counted, long long count);
// The path a unit was opened with ("" for a closed unit and the console).
std::string name(int unit);

// Binds units 5 and 6 to other streams (tests); bind_console() with no arguments restores
// the process's standard input and output.
void bind_console(std::istream& in, std::ostream& out);
void bind_console();

// Called before every read of the keyboard (an open plot window repaints while the program
// waits for the user); nullptr for none.
void set_keyboard_wait_hook(void (*hook)());

// The common stop path: runs the registered stop actions (last registered first), flushes
// and closes every unit, then ends the process with status; a status 0 becomes 1 when some
// output file failed during the run. Every file then ends at a whole line or record, as the
// units are given only whole ones.
[[noreturn]] void stop_run(int status);
// For the fuzz targets, which run the program many times in one process: called by stop_run
// in place of ending the process (after the units are closed), with the status the run would
// end with; it must not return (it throws). nullptr restores the ending.
void set_stop_interceptor(void (*intercept)(int status));
// Whether an interceptor is set (the program then installs no signal handling).
bool stop_intercepted();
// Registers an action for the stop path (an open plot window writes its last page).
void at_stop(void (*action)());

}  // namespace korbast::frame::units
