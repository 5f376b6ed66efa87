#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "frame/output_names.hpp"
#include "frame/units.hpp"
#include "support/console.hpp"
#include "support/tempfile.hpp"

namespace {

namespace units = korbast::frame::units;

using korbast::testing::read_file;
using korbast::testing::TempFile;

TEST(Units, LinesLoseCrLfAndTheLastLineNeedsNoLineEnd) {
  TempFile f("one\r\ntwo\n\nlast");
  ASSERT_TRUE(units::open(11, f.path, units::Status::Old));
  std::string line;
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "one");
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "two");
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "");
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "last");
  EXPECT_EQ(units::read_line(11, line), units::Read::Eof);
  EXPECT_TRUE(units::rewind(11));
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "one");
  units::close(11);
  EXPECT_FALSE(units::is_open(11));
  EXPECT_EQ(units::read_line(11, line), units::Read::Error);
}

TEST(Units, NewRefusesAnExistingFileAndOldAMissingOne) {
  TempFile f("keep me\n");
  EXPECT_FALSE(units::open(21, f.path, units::Status::New));
  std::ifstream check(f.path);
  std::string content;
  std::getline(check, content);
  EXPECT_EQ(content, "keep me");
  EXPECT_FALSE(units::open(11, f.path + ".missing", units::Status::Old));
  EXPECT_FALSE(units::open(11, std::filesystem::temp_directory_path().string(), units::Status::Old));
  EXPECT_FALSE(units::open(11, "", units::Status::Old));
}

TEST(Units, WritingToAClosedUnitCreatesNothing) {
  EXPECT_FALSE(units::write_line(22, "lost"));
  EXPECT_FALSE(units::is_open(22));
}

TEST(Units, ConsoleCanBeBoundToStrings) {
  korbast::testing::Console console("answer\r\n");
  std::string line;
  units::write_line(6, "question");
  ASSERT_EQ(units::read_line(5, line), units::Read::Ok);
  EXPECT_EQ(line, "answer");
  EXPECT_EQ(units::read_line(5, line), units::Read::Eof);
  EXPECT_EQ(console.text(), "question\n");
}

std::vector<std::string> all_lines(const std::string& content) {
  TempFile f(content);
  EXPECT_TRUE(units::open(11, f.path, units::Status::Old));
  std::vector<std::string> lines;
  std::string line;
  while (units::read_line(11, line) == units::Read::Ok) lines.push_back(line);
  units::close(11);
  return lines;
}

using Lines = std::vector<std::string>;

TEST(Units, CrOnlyLfAndCrLfLineEndsReadAlike) {
  EXPECT_EQ(all_lines("a\rb\r\rc"), (Lines{"a", "b", "", "c"}));
  EXPECT_EQ(all_lines("a\r\r\rb\r"), (Lines{"a", "", "", "b"}));
  EXPECT_EQ(all_lines("a\rb\r\nc\nd"), (Lines{"a", "b", "c", "d"}));  // mixed, in CR mode
  EXPECT_EQ(all_lines("1 2\r\r\n3\r4\n"), (Lines{"1 2\r", "3\r4"}));  // stray CRs kept
  EXPECT_EQ(all_lines("\r"), (Lines{""}));
}

std::vector<std::string> all_keyboard_lines(const std::string& content) {
  korbast::testing::Console console(content);
  std::vector<std::string> lines;
  std::string line;
  while (units::read_line(units::keyboard, line) == units::Read::Ok) lines.push_back(line);
  return lines;
}

// Every line of a file loses its line end, not only the first: several CRLF lines, CR-only
// lines and mixed ends, read from a file (in blocks) and from the keyboard (byte by byte).
TEST(Units, EveryLineLosesItsEndWhateverTheMix) {
  const std::vector<std::pair<std::string, Lines>> cases = {
      {"a\r\nb\r\nc\r\n\r\nd\r\n", {"a", "b", "c", "", "d"}},
      {"a\r\nb\r\nc", {"a", "b", "c"}},
      {"a\nb\r\nc\r\n", {"a", "b", "c"}},          // LF first, then CRLF
      {"a\r\nb\nc\r\nd\n", {"a", "b", "c", "d"}},  // CRLF first, then both
      {"a\rb\rc\r\rd\r", {"a", "b", "c", "", "d"}},
      {"a\rb\r\nc\nd\r\ne\r", {"a", "b", "c", "d", "e"}},  // CR first, then any end
      {"a\r\nb c\r\r\nd\re\r\n", {"a", "b c\r", "d\re"}},  // CRs inside LF lines stay
  };
  for (const auto& [content, lines] : cases) {
    EXPECT_EQ(all_lines(content), lines) << content;
    EXPECT_EQ(all_keyboard_lines(content), lines) << content;
  }
  // A CRLF whose CR ends one block of the file and whose LF starts the next (blocks of 64 KiB).
  const std::string lf_first = "x\r\n" + std::string(65532, 'y') + "\r\nz\r\n";
  ASSERT_EQ(lf_first[65535], '\r');
  EXPECT_EQ(all_lines(lf_first), (Lines{"x", std::string(65532, 'y'), "z"}));
  const std::string cr_first = "x\r" + std::string(65533, 'y') + "\r\nz\r";
  ASSERT_EQ(cr_first[65535], '\r');
  EXPECT_EQ(all_lines(cr_first), (Lines{"x", std::string(65533, 'y'), "z"}));
}

// Whether each line read had a line end: only a last line that the end of the input stopped
// has none, also in LF mode with a CR at its end (a CRLF cut before its LF), and also on the
// keyboard; the end of the input and a rewind leave no line unended.
TEST(Units, OnlyALastLineStoppedByTheEndOfTheInputHasNoLineEnd) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a\nb", "01"},     {"a\nb\n", "00"},  {"a\r\nb\r", "01"},          {"a\rb\r", "00"},
      {"a\rb\r\n", "00"}, {"a\n\nb", "001"}, {"\xEF\xBB\xBF" "a", "1"}, {"a\n \n", "00"},
  };
  const auto flags = [](int unit) {
    std::string out;
    std::string line;
    while (units::read_line(unit, line) == units::Read::Ok)
      out += units::line_unended(unit) ? '1' : '0';
    EXPECT_FALSE(units::line_unended(unit));
    return out;
  };
  for (const auto& [content, expected] : cases) {
    TempFile f(content);
    ASSERT_TRUE(units::open(11, f.path, units::Status::Old));
    EXPECT_EQ(flags(11), expected) << content;
    units::rewind(11);
    EXPECT_FALSE(units::line_unended(11));
    units::close(11);
    korbast::testing::Console console(content);
    EXPECT_EQ(flags(units::keyboard), expected) << content;
  }
  EXPECT_FALSE(units::line_unended(11));  // a closed unit
}

TEST(Units, AByteOrderMarkBeforeTheFirstLineIsSkipped) {
  EXPECT_EQ(all_lines("\xEF\xBB\xBFone\n\xEF\xBB\xBFtwo"), (Lines{"one", "\xEF\xBB\xBFtwo"}));
  EXPECT_EQ(all_lines("\xEF\xBB\xBF"), (Lines{""}));
  TempFile f("\xEF\xBB\xBFx\r");
  ASSERT_TRUE(units::open(11, f.path, units::Status::Old));
  std::string line;
  units::read_line(11, line);
  units::rewind(11);
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "x");
  units::close(11);
}

TEST(Units, ALineOver64KiBIsAReadErrorAndReadingGoesOnAfterIt) {
  korbast::testing::Console console;
  const std::string longest(65536, 'x');
  TempFile f("a\n" + std::string(1 << 20, 'y') + "\nb\n" + longest + "\n" + longest + "z");
  ASSERT_TRUE(units::open(11, f.path, units::Status::Old));
  std::string line;
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(units::read_line(11, line), units::Read::Error);
  EXPECT_EQ(line, "");
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "b");
  ASSERT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, longest);
  EXPECT_EQ(units::read_line(11, line), units::Read::Error);
  EXPECT_EQ(units::read_line(11, line), units::Read::Eof);
  units::close(11);
  const std::string text = console.text();
  EXPECT_NE(text.find(" LINE LONGER THAN 65536 BYTES\n IN FILE: " + f.path + "\n"), std::string::npos) << text;
}

// Every read of a file until its end, a read error as "<error>".
Lines all_reads(const std::string& content) {
  korbast::testing::Console console;
  TempFile f(content);
  EXPECT_TRUE(units::open(11, f.path, units::Status::Old));
  Lines reads;
  std::string line;
  for (units::Read r; (r = units::read_line(11, line)) != units::Read::Eof && reads.size() < 10;)
    reads.push_back(r == units::Read::Ok ? line : "<error>");
  units::close(11);
  return reads;
}

// The rest of a line too long to keep is passed over up to its end, the end the file uses:
// CRLF (its LF too), LF (a CR inside stays part of the line), or CR when the long line is the
// first (an LF right after that CR is part of it, and CR then ends the file's lines).
TEST(Units, ALongLineIsPassedOverUpToTheFilesLineEnd) {
  const std::string y(70000, 'y');
  EXPECT_EQ(all_reads("a\r\n" + y + "\r\nb\r\n"), (Lines{"a", "<error>", "b"}));
  EXPECT_EQ(all_reads("a\n" + y + "\rz\nb\n"), (Lines{"a", "<error>", "b"}));
  EXPECT_EQ(all_reads(y + "\r\nb\rc"), (Lines{"<error>", "b", "c"}));
  EXPECT_EQ(all_reads(y + "\r\rb"), (Lines{"<error>", "", "b"}));
  // The end is no part of a line's length, whichever it is: 65536 bytes are kept, 65537 are too
  // many (the lines before fill 65535 bytes, so that a CRLF after 65536 ends a block with its CR).
  const std::string x(65536, 'x');
  for (const std::string end : {"\n", "\r\n", "\r"}) {
    const std::string w(65534 - 2 * end.size(), 'w');
    EXPECT_EQ(all_reads("a" + end + w + end + x + end + x + "x" + end + "b" + end),
              (Lines{"a", w, x, "<error>", "b"}));
  }
  EXPECT_EQ(all_reads("a\n" + x.substr(1) + "\r\r\n"), (Lines{"a", x.substr(1) + "\r"}));
}

TEST(Units, AnEndlessLineIsGivenUpWithinABound) {
  korbast::testing::Console console;
  ASSERT_TRUE(units::open(15, "/dev/zero", units::Status::Old));
  std::string line;
  for (int k = 0; k < 3; ++k) EXPECT_EQ(units::read_line(15, line), units::Read::Error);
  units::close(15);
}

std::string content_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A file replaced whole: a stop while it is written keeps the previous file, and a temporary
// that cannot be made (in a folder that is not there) is reported with its reason. A stop ending
// one of several runs in one process lets go of the descriptors kept on the files the run made.
TEST(Units, AFileReplacedWholeKeepsThePreviousOneAtAStopOrAFailedOpen) {
  korbast::testing::TempDir dir;
  const std::string path = dir / "settings.txt";
  { std::ofstream(path) << " 3 0\n    \n"; }
  ASSERT_TRUE(units::open(50, path, units::Status::Whole));
  units::write_line(50, " 1 1");
  units::flush(50);
  ASSERT_TRUE(units::open(22, dir / "made.txt", units::Status::New));
  units::close(22);
  EXPECT_GT(korbast::platform::kept_descriptors(), 0u);
  units::set_stop_interceptor([](int status) { throw status; });
  try {
    units::stop_run(143);
  } catch (int status) {
    EXPECT_EQ(status, 143);
  }
  units::set_stop_interceptor(nullptr);
  EXPECT_EQ(korbast::platform::kept_descriptors(), 0u);  // the next run in the process knows none
  EXPECT_EQ(content_of(path), " 3 0\n    \n");
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));

  const std::string nowhere = dir / "absent/settings.txt";
  korbast::testing::Console console("\n");  // the frame's pause
  EXPECT_FALSE(units::open(50, nowhere, units::Status::Whole));
  const std::string text = console.text();
  EXPECT_NE(text.find("\n   OUTPUT FILE FAILED WHILE OPENING\n   UNIT 50 FILE: " + nowhere +
                      ".new\n   REASON: No such file or directory\n ==> THE PREVIOUS FILE IS KEPT\n"),
            std::string::npos) << text;
}

// A Replace open writes only what the user was asked about: a link to /dev/null that leads to
// a catalogue by the open is refused, and the catalogue keeps its bytes, as is a link put at
// the name of a file looked at, and another FIFO made at a FIFO's name (one that another program
// wrote into is written into); a replaced file whose name another program takes before the
// close fails, and what it put there is left, and so does a new or replaced file removed: none
// of its lines count. A name as long as a name may be (255 bytes, its temporary name cut before
// a two-byte character) is replaced, also whole, and leaves nothing beside it.
TEST(Units, AReplaceOpenWritesOnlyWhatWasLookedAtUnderAnyName) {
  namespace fs = std::filesystem;
  korbast::testing::TempDir dir;
  const std::string name = dir / "out.ndk", catalogue = dir / "cat.ndk";
  { std::ofstream(catalogue) << "20 events\n"; }
  fs::create_symlink("/dev/null", name);
  const units::Look looked = units::look_at(name);
  fs::remove(name);
  fs::create_symlink(catalogue, name);
  EXPECT_FALSE(units::open(22, name, units::Status::Replace, &looked));
  EXPECT_EQ(units::open_error(), "Changed after it was chosen");
  EXPECT_EQ(read_file(catalogue), "20 events\n");
  // A file looked at, a link put at its name before the open: refused, and left.
  const units::Look file_looked = units::look_at(catalogue);
  fs::remove(catalogue);
  fs::create_symlink(name, catalogue);
  EXPECT_FALSE(units::open(22, catalogue, units::Status::Replace, &file_looked));
  EXPECT_TRUE(fs::is_symlink(catalogue));
  const std::string fifo = dir / "out.fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  const units::Look fifo_looked = units::look_at(fifo);
  korbast::testing::change_ctime(fifo);
  ASSERT_TRUE(units::open(22, fifo, units::Status::Replace, &fifo_looked)) << units::open_error();
  units::write_line(22, "ours");
  EXPECT_TRUE(units::close(22));
  char got[8] = {};
  EXPECT_EQ(::read(reader, got, sizeof got), 5);
  fs::remove(fifo);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // another inode: the first one is still open
  EXPECT_FALSE(units::open(22, fifo, units::Status::Replace, &fifo_looked));
  EXPECT_EQ(units::open_error(), "Changed after it was chosen");
  ::close(reader);
  ASSERT_TRUE(units::open(22, name, units::Status::Replace));
  units::write_line(22, "ours");
  fs::remove(name);
  fs::create_symlink(catalogue, name);
  {
    korbast::testing::Console console("\n");  // the frame's pause
    EXPECT_FALSE(units::close(22));
    EXPECT_NE(console.text().find("   OUTPUT FILE FAILED WHILE CLOSING\n   UNIT 22 FILE: " + name +
                                  "\n   REASON: Replaced by another program\n"),
              std::string::npos)
        << console.text();
  }
  EXPECT_TRUE(fs::is_symlink(name));
  for (const units::Status status : {units::Status::New, units::Status::Replace}) {
    fs::remove(name);
    ASSERT_TRUE(units::open(22, name, status));
    for (int k = 0; k < 5; ++k) units::write_line(22, "ours");
    units::flush(22);
    fs::remove(name);
    korbast::testing::Console console("\n");  // the frame's pause
    EXPECT_FALSE(units::close(22));
    EXPECT_NE(console.text().find("   REASON: Removed by another program\n   LINES WRITTEN =         0\n"
                                  "   BYTES WRITTEN =         0\n   LINES GIVEN   =         5\n"
                                  " ==> THE FILE IS NOT WRITTEN\n"),
              std::string::npos)
        << console.text();
  }

  const std::string longest = dir / (std::string(250, 'n') + "\xC3\xA9\xC3\xA9x");
  for (const units::Status status : {units::Status::Replace, units::Status::Whole}) {
    { std::ofstream(longest) << "old\n"; }
    ASSERT_TRUE(units::open(22, longest, status)) << units::open_error();
    units::write_line(22, "new");
    EXPECT_TRUE(units::close(22));
    EXPECT_EQ(read_file(longest), "new\n");
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), {}), 3);
}

// A name of a descriptor of the run writes only a stream the run was handed open for writing
// (a pipe noted as such at its start, a file open for reading and writing): by every spelling,
// a link to /dev/fd's folder too, each line at once; a new file is refused there. The run's own
// files (a unit's file, a pipe made after the start, a handed number reused by one), the handed
// pipe's read end, the standard input by any name and another entry of the run's /proc are
// refused, and nothing reaches them. As an input, only a descriptor handed over for reading is
// read: the handed pipe's write end and a pipe the run made are refused, never waited on.
TEST(Units, ADescriptorsNameWritesOnlyAStreamHandedOverForWriting) {
  namespace fs = std::filesystem;
  namespace names = units::names;
  korbast::testing::TempDir dir;
  int handed[2], made[2];
  ASSERT_EQ(::pipe2(handed, O_NONBLOCK), 0);
  { std::ofstream(dir / "cat.ndk") << "20 events\n"; }
  const int both = ::open((dir / "both.txt").c_str(), O_RDWR | O_CREAT, 0600);
  const int to_read = ::open((dir / "cat.ndk").c_str(), O_RDONLY);
  names::note_start_descriptors();
  ASSERT_EQ(::pipe2(made, O_NONBLOCK), 0);
  const std::string held = dir / "sish.txt";
  ASSERT_TRUE(units::open(22, held, units::Status::New));
  units::write_line(22, "si-sh");
  std::string held_fd;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator("/proc/self/fd"))
    if (fs::read_symlink(e.path(), ec) == held) held_fd = e.path().filename();
  ASSERT_FALSE(held_fd.empty());
  fs::create_symlink("/dev/fd", dir / "myfd");
  fs::create_symlink("/dev/stdin", dir / "mystdin");
  const std::string task_fd =
      "/proc/" + std::to_string(::getpid()) + "/task/" + std::to_string(::gettid()) + "/fd/";
  const std::string w = std::to_string(handed[1]);
  for (const std::string& name : {"/dev/fd/" + w, dir / "myfd/" + w, "/proc/thread-self/fd/" + w, task_fd + w}) {
    ASSERT_TRUE(units::open(23, name, units::Status::Replace)) << name << ": " << units::open_error();
    units::write_line(23, "at once");
    char got[16] = {};
    EXPECT_EQ(::read(handed[0], got, sizeof got), 8) << name;
    units::close(23);
  }
  EXPECT_FALSE(units::open(23, "/dev/fd/" + w, units::Status::New));
  EXPECT_EQ(units::open_error(), "File exists");
  ASSERT_TRUE(units::open(23, "/dev/fd/" + std::to_string(both), units::Status::Replace)) << units::open_error();
  units::write_line(23, "both ways");
  units::close(23);
  EXPECT_EQ(read_file(dir / "both.txt"), "both ways\n");
  const std::string mine(names::kOpenedElsewhere), bad = "Bad file descriptor";
  for (const int fd : {handed[1], made[1]})  // what a wrong open of either pipe would read
    ASSERT_EQ(::write(fd, "x\n", 2), 2);
  for (const auto& [fd, reason] : {std::pair{handed[1], bad}, std::pair{made[0], mine}}) {
    EXPECT_FALSE(units::open(11, "/dev/fd/" + std::to_string(fd), units::Status::Old)) << fd;
    EXPECT_EQ(units::open_error(), reason) << fd;
  }
  ASSERT_TRUE(units::open(11, "/dev/fd/" + std::to_string(to_read), units::Status::Old)) << units::open_error();
  std::string line;
  EXPECT_EQ(units::read_line(11, line), units::Read::Ok);
  EXPECT_EQ(line, "20 events");
  units::close(11);
  ::dup2(made[1], handed[1]);  // the handed number closed, and taken by a pipe the run made
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"/dev/fd/" + held_fd, mine}, {"/proc/self/fd/" + held_fd, mine}, {"/dev/fd/" + w, mine},
      {"/proc/self/fd/" + std::to_string(made[1]), mine}, {"/dev/fd/" + std::to_string(handed[0]), bad},
      {dir / "mystdin", mine}, {"/proc/thread-self/fd/0", mine}, {task_fd + "0", mine},
      {"/proc/self/comm", "Permission denied"}};
  for (const auto& [name, reason] : refused) {
    EXPECT_FALSE(units::open(23, name, units::Status::Replace)) << name;
    EXPECT_EQ(units::open_error(), reason) << name;
  }
  char got[16] = {};
  EXPECT_EQ(::read(made[0], got, sizeof got), 2);  // the line written above, no more
  units::close(22);
  EXPECT_EQ(read_file(held), "si-sh\n");
  for (const int fd : {handed[0], handed[1], made[0], made[1], both, to_read}) ::close(fd);
}

// The standard input a FIFO open for reading and writing (0<>keys): refused as an output by
// every name, /dev/stdin, /proc/self/fd/0, the FIFO's name and a link to it, with one reason,
// as what the run reads from; nothing reaches it. Another FIFO with a reader is written.
TEST(Units, AnOutputIsNeverWhatTheRunReadsFrom) {
  namespace fs = std::filesystem;
  korbast::testing::TempDir dir;
  const std::string keys = dir / "keys", other = dir / "other";
  ASSERT_EQ(::mkfifo(keys.c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(other.c_str(), 0600), 0);
  fs::create_symlink(keys, dir / "to_keys");
  const int saved = ::dup(0), keyboard = ::open(keys.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_EQ(::dup2(keyboard, 0), 0);
  units::names::note_start_descriptors();
  const std::string mine(units::names::kOpenedElsewhere);
  for (const auto& [name, reason] : std::vector<std::pair<std::string, std::string>>{
           {"/dev/stdin", mine}, {"/proc/self/fd/0", mine}, {keys, mine}, {dir / "to_keys", mine}}) {
    EXPECT_FALSE(units::open(23, name, units::Status::Replace)) << name;
    EXPECT_EQ(units::open_error(), reason) << name;
  }
  const int reader = ::open(other.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_TRUE(units::open(23, other, units::Status::Replace)) << units::open_error();
  units::write_line(23, "table");
  units::close(23);
  char got[8] = {};
  EXPECT_EQ(::read(reader, got, sizeof got), 6);
  EXPECT_EQ(::read(keyboard, got, sizeof got), -1);  // nothing there
  ::dup2(saved, 0);
  for (const int fd : {saved, keyboard, reader}) ::close(fd);
  units::names::note_start_descriptors();
}

// A file an output made stays known to the run once closed: a page file never replaces it
// ("File already opened in another unit" while open, "File already written by this run" after),
// also under a second name another program links to it and with another mode, an output of the
// dialog does; each holds the file it renamed. The descriptor the run keeps on it is
// close-on-exec, refused by its /dev/fd name (also once noted as a start descriptor), and closed
// when the run's rename takes the file's last name. A file known without one keeps the page
// writer off its inode. The files the standard output and error go to are the run's for the
// whole run: refused as an output by their name, and by a descriptor's name.
TEST(Units, APageFileNeverTakesAFileAnOutputMadeNorTheConsolesFile) {
  namespace platform = korbast::platform;
  korbast::testing::TempDir dir;
  const std::string sish = dir / "sish.txt", temp = dir / "new.tmp", console = dir / "console.txt";
  const std::string linked = dir / "linked.png";
  platform::HeldFiles placed;
  const auto place = [&](platform::Placer by, const std::string& at) {
    { std::ofstream(temp) << "page\n"; }
    return platform::rename_unless_held(temp, at, placed, by);
  };
  ASSERT_TRUE(units::open(22, sish, units::Status::New));
  units::write_line(22, "si-sh");
  EXPECT_EQ(place(platform::Placer::PageWriter, sish), platform::kHeldByRun);
  units::close(22);
  EXPECT_EQ(place(platform::Placer::PageWriter, sish), platform::kWrittenByRun);
  EXPECT_EQ(read_file(sish), "si-sh\n");
  int kept = -1;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd"))
    if (std::filesystem::read_symlink(e.path(), ec) == sish) kept = std::stoi(e.path().filename());
  ASSERT_GE(kept, 0);
  EXPECT_EQ(::fcntl(kept, F_GETFD), FD_CLOEXEC);
  for (int noted = 0; noted < 2; ++noted, units::names::note_start_descriptors()) {
    EXPECT_FALSE(units::open(23, "/dev/fd/" + std::to_string(kept), units::Status::Replace));
    EXPECT_EQ(units::open_error(), platform::kHeldByRun);
  }
  ASSERT_EQ(::link(sish.c_str(), linked.c_str()), 0);
  ASSERT_EQ(::chmod(linked.c_str(), 0600), 0);
  EXPECT_EQ(place(platform::Placer::Output, sish), "");
  EXPECT_EQ(place(platform::Placer::PageWriter, linked), platform::kWrittenByRun);
  const std::size_t descriptors = platform::kept_descriptors();
  EXPECT_EQ(place(platform::Placer::Output, linked), "");  // no descriptor to keep on this one
  EXPECT_EQ(platform::kept_descriptors(), descriptors - 1);
  EXPECT_EQ(place(platform::Placer::PageWriter, dir / "p.png"), "");
  EXPECT_TRUE(platform::held_at(sish).writing && platform::held_at(dir / "p.png").writing);
  placed.let_go();
  for (const std::string& name : {sish, linked})
    EXPECT_EQ(place(platform::Placer::PageWriter, name), platform::kWrittenByRun) << name;
  const int file = ::open(console.c_str(), O_WRONLY | O_CREAT, 0600), reading = ::open(console.c_str(), O_RDONLY);
  for (const int out : {1, 2}) {
    const int saved = ::dup(out);
    ASSERT_EQ(::dup2(file, out), out);
    units::names::note_start_descriptors();
    for (const std::string& name : {console, "/dev/fd/" + std::to_string(reading)}) {
      EXPECT_FALSE(units::open(23, name, units::Status::Replace)) << out << " " << name;
      EXPECT_EQ(units::open_error(), platform::kHeldByRun) << out << " " << name;
    }
    ::dup2(saved, out);
    ::close(saved);
  }
  for (const int fd : {file, reading}) ::close(fd);
  units::names::note_start_descriptors();
}

// Under /dev (a folder in /dev/shm) a file and a new name are replaced, also whole, as
// anywhere; a link there is one of /dev's own entries: refused, and left with its target, also
// when named through a link to its folder from elsewhere.
TEST(Units, UnderDevOnlyItsOwnLinksAndSpecialFilesAreLeft) {
  namespace fs = std::filesystem;
  if (::access("/dev/shm", W_OK) != 0) GTEST_SKIP() << "/dev/shm cannot be written";
  korbast::testing::TempDir dir("/dev/shm/korbast");
  korbast::testing::Console console("\n\n");  // the pauses of the refused whole files' frames
  const std::string file = dir / "o.tab", fresh = dir / "settings.txt", link = dir / "l.tab";
  const std::string target = dir / "target.txt";
  { std::ofstream(target) << "kept\n"; }
  fs::create_symlink(target, link);
  korbast::testing::TempDir outside;
  fs::create_symlink(dir.path, outside / "devlink");
  for (const units::Status status : {units::Status::Replace, units::Status::Whole}) {
    { std::ofstream(file) << "old\n"; }
    fs::remove(fresh);
    for (const std::string& name : {file, fresh}) {
      ASSERT_TRUE(units::open(22, name, status)) << name << ": " << units::open_error();
      units::write_line(22, "new");
      EXPECT_TRUE(units::close(22));
      EXPECT_EQ(read_file(name), "new\n");
    }
    for (const std::string& name : {link, outside / "devlink/l.tab"}) {
      EXPECT_FALSE(units::open(22, name, status)) << name;
      EXPECT_EQ(units::open_error(), units::names::kUnderDev) << name;
    }
    EXPECT_TRUE(fs::is_symlink(link));
  }
  EXPECT_EQ(read_file(target), "kept\n");
}

// The settings file's open reads a regular file and never waits: a FIFO without writer at the
// name is refused at once. Should the open wait for a writer, one comes after a bound, and
// the test fails.
TEST(Units, ARegularOpenReadsOnlyARegularFileAndNeverWaits) {
  korbast::testing::TempDir dir;
  const std::string file = dir / "settings.txt", fifo = dir / "settings.fifo";
  { std::ofstream(file) << " 3 0\n"; }
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_TRUE(units::open(50, file, units::Status::Regular));
  std::string line;
  EXPECT_EQ(units::read_line(50, line), units::Read::Ok);
  EXPECT_EQ(line, " 3 0");
  units::close(50);

  std::mutex m;
  std::condition_variable returned_cv;
  bool returned = false, rescued = false;
  std::thread watchdog([&] {
    std::unique_lock lock(m);
    if (returned_cv.wait_for(lock, std::chrono::seconds(30), [&] { return returned; })) return;
    rescued = true;
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
  });
  const bool opened = units::open(50, fifo, units::Status::Regular);
  {
    std::lock_guard lock(m);
    returned = true;
  }
  returned_cv.notify_one();
  watchdog.join();
  units::close(50);
  EXPECT_FALSE(rescued);
  EXPECT_FALSE(opened);
}

TEST(UnitsDeathTest, StopRunFlushesAndClosesEveryUnit) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            (std::to_string(::getpid()) + "_units_stop.txt")).string();
  std::remove(path.c_str());
  EXPECT_EXIT(
      {
        units::open(22, path, units::Status::New);
        units::write_line(22, "written before the stop");
        units::stop_run(3);
      },
      ::testing::ExitedWithCode(3), "");
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "written before the stop");
  std::remove(path.c_str());
}

// A run that lost output (a full device) ends with status 1 even after a normal end; another
// status of the cause stands, and a run that lost nothing ends with 0.
TEST(UnitsDeathTest, ALostOutputFileMakesTheRunEndWithStatusOne) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  korbast::testing::TempDir dir;
  const std::string kept = dir / "kept.txt";
  auto run = [&](const std::string& path, int status) {
    korbast::testing::Console quiet;  // the failure's frame
    units::open(22, path, units::Status::Replace);
    units::write_line(22, "a line");
    units::stop_run(status);
  };
  EXPECT_EXIT(run("/dev/full", 0), ::testing::ExitedWithCode(1), "");
  EXPECT_EXIT(run("/dev/full", 3), ::testing::ExitedWithCode(3), "");
  EXPECT_EXIT(run(kept, 0), ::testing::ExitedWithCode(0), "");
}

// Under a limit of 256 open files the descriptors kept on the files the run made take 128 at
// most, and every file past them is still known as the run's; files gone from every name make
// room again (looked for within 64 new files).
TEST(UnitsDeathTest, TheRunsFilesTakeHalfItsLimitOfOpenFilesAtMost) {
  namespace platform = korbast::platform;
  korbast::testing::TempDir dir;
  const auto make = [&](int from, int to) {
    for (int i = from; i < to; ++i) units::open(22, dir / std::to_string(i), units::Status::New) && units::close(22);
  };
  const auto written = [&](int from, int to) {
    for (int i = from; i < to; ++i)
      if (!platform::held_at(dir / std::to_string(i)).written) return false;
    return true;
  };
  const auto run = [&] {
    const rlimit few{256, 256};
    ::setrlimit(RLIMIT_NOFILE, &few);
    platform::forget_made();
    make(0, 300);
    const bool first = platform::kept_descriptors() == 128 && written(0, 300);
    for (int i = 0; i < 100; ++i) std::filesystem::remove(dir / std::to_string(i));
    make(300, 364);
    std::_Exit(first && platform::kept_descriptors() < 128 && written(100, 364) ? 0 : 1);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
}

// Runs `body` in a child process under a file size limit of `limit` bytes (its signal is
// ignored, as the units do); returns what the child's console received.
std::string under_file_limit(rlim_t limit, const std::function<void()>& body) {
  korbast::testing::TempFile console_text("", "units_limit_console.txt");
  const pid_t pid = ::fork();
  if (pid == 0) {
    korbast::testing::Console console;
    rlimit r{};
    ::getrlimit(RLIMIT_FSIZE, &r);
    const rlim_t soft = r.rlim_cur;
    r.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &r);
    body();
    r.rlim_cur = soft;
    ::setrlimit(RLIMIT_FSIZE, &r);
    std::ofstream(console_text.path) << console.text();
    std::_Exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::ifstream in(console_text.path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A write cut short by a file size limit inside a line or a record: the file is cut back to
// its last whole record (records of three 5-byte lines, a 40-byte limit: two records), or to
// its last whole line (two 11-byte lines, a 20-byte limit: one), and the frame counts what it
// holds.
// After a buffer that went whole to the file (66 lines of 1000 bytes fill the 64 KiB), the cut
// goes by the lines given since (5 bytes each, a limit 12 bytes past: two of them).
TEST(Units, AShortWriteCutsTheFileBackToItsLastWholeRecordOrLine) {
  korbast::testing::TempDir dir;
  const std::string records = dir / "records.txt";
  const std::string out = under_file_limit(40, [&] {
    units::open(21, records, units::Status::New);
    const std::vector<std::string> record{"abcd", "efgh", "ijkl"};
    for (int k = 0; k < 4; ++k) units::write_lines(21, record);
    units::close(21);
  });
  EXPECT_EQ(read_file(records), "abcd\nefgh\nijkl\nabcd\nefgh\nijkl\n");
  EXPECT_NE(out.find("   REASON: File too large\n   LINES WRITTEN =         6\n"
                     "   BYTES WRITTEN =        30\n   LINES GIVEN   =        12\n"
                     "   WHOLE RECORDS =         2\n ==> THE FILE IS INCOMPLETE\n"),
            std::string::npos)
      << out;

  const std::string lines = dir / "lines.txt";
  const std::string out2 = under_file_limit(20, [&] {
    units::open(22, lines, units::Status::New);
    units::write_line(22, "abcdefghij");
    units::write_line(22, "0123456789");
    units::close(22);
  });
  EXPECT_EQ(read_file(lines), "abcdefghij\n");
  EXPECT_NE(out2.find("   LINES WRITTEN =         1\n   BYTES WRITTEN =        11\n"
                      "   LINES GIVEN   =         2\n ==> THE FILE IS INCOMPLETE\n"),
            std::string::npos)
      << out2;

  const std::string drained = dir / "drained.txt";
  const std::string out3 = under_file_limit(66012, [&] {
    units::open(23, drained, units::Status::New);
    for (int k = 0; k < 66; ++k) units::write_line(23, std::string(999, 'x'));
    for (int k = 0; k < 4; ++k) units::write_line(23, "abcd");
    units::close(23);
  });
  EXPECT_EQ(read_file(drained).size(), 66010u);
  EXPECT_NE(out3.find("   LINES WRITTEN =        68\n   BYTES WRITTEN =     66010\n"
                      "   LINES GIVEN   =        70\n"),
            std::string::npos)
      << out3;
}

}  // namespace
