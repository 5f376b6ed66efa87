#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include "frame/filetable.hpp"
#include "frame/iocom.hpp"
#include "frame/reset.hpp"
#include "frame/runinfo.hpp"
#include "frame/units.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"
#include "support/tempfile.hpp"

namespace {

using namespace korbast::frame;

const std::string dash = ex::rule('-') + "\n";
const std::string blank40(40, ' ');

std::string slot(int i, const std::string& expl, const std::string& name, bool open, int unit) {
  auto pad = [](std::string s) {
    s.resize(40, ' ');
    return s;
  };
  return " FILE INDEX   =  " + std::to_string(i) + "\n" + "  explanation : " + pad(expl) +
         "\n" + "     filename = " + pad(name) + "\n" + "       opened : " +
         (open ? "T" : "F") + "\n" + "         unit = " + std::to_string(unit) + "\n" +
         " --------------\n";
}

std::string listing(const std::string& in1, const std::string& out1, const std::string& out2) {
  return dash + "              I/O FILES STATUS              \n" + dash +
         " NUMBER OF  INPUT FILES   =  1\n" + dash + in1 + dash +
         " NUMBER OF OUTPUT FILES   =  2\n" + dash + out1 + out2;
}

class FileTable : public ::testing::Test {
 protected:
  void SetUp() override {
    iocom = Iocom{};
    // Tests may run in parallel processes: each gets a folder of its own.
    dir = std::filesystem::temp_directory_path() /
          ("korbast_filetable_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    units::set_stop_interceptor(nullptr);
    for (int u : {11, 15, 21, 22}) units::close(u);
    std::filesystem::remove_all(dir);
  }
  // The answers running out (a question too many) fails the test rather than ending it.
  static void fail_when_answers_run_out() {
    units::set_stop_interceptor([](int) { throw std::runtime_error("the answers ran out"); });
  }
  std::filesystem::path dir;
};

TEST_F(FileTable, StartsWithOneInputAndTwoOutputSlotsClosed) {
  korbast::testing::Console console;
  initfio(1, 2, 0);
  const std::string head = ex::text(ex::head("initfio")) + dash +
                           "        INITIALIZING I/O FILES              \n" + dash;
  EXPECT_EQ(console.text(), head + listing(slot(1, "", "", false, 11), slot(1, "", "", false, 21),
                                           slot(2, "", "", false, 22)));
}

TEST_F(FileTable, OpenAndCloseFromACommandFileKeepTheNameAfterClosing) {
  initfio(1, 2, 0);
  const std::string path = (dir / "sish.txt").string();
  korbast::testing::Console console;
  iocom.stdin_unit = 15;  // answers come from a command file
  iocom.lwito(2) = false;
  {
    std::ofstream(dir / "answers.txt") << path << "\n";
  }
  ASSERT_TRUE(units::open(15, (dir / "answers.txt").string(), units::Status::Old));
  opefou(2, "extracted si-sh output", 0);
  EXPECT_TRUE(fiocom.iopou[1]);
  EXPECT_EQ(fiocom.oufnam[1].trimmed(), path.substr(0, 40));
  EXPECT_TRUE(units::write_line(22, "a Si-Sh line"));
  console.clear();
  clofou(2, 0);
  EXPECT_FALSE(fiocom.iopou[1]);
  Text<40> name(path);
  EXPECT_EQ(console.text(), dash + " OUTPUT FILE " + std::string(name.view()) + " CLOSED\n" + dash +
                                listing(slot(1, "", "", false, 11), slot(1, "", "", false, 21),
                                        slot(2, "extracted si-sh output", path, false, 22)));
  console.clear();
  clofou(2, 0);
  EXPECT_EQ(console.text().substr(0, dash.size() + 13), dash + " OUTPUT FILE ");
  EXPECT_NE(console.text().find(" ALREADY CLOSED !\n"), std::string::npos);
  std::ifstream written(path);
  std::string line;
  std::getline(written, line);
  EXPECT_EQ(line, "a Si-Sh line");
}

TEST_F(FileTable, AlreadyOpenedAndOutOfRangeSlots) {
  initfio(1, 2, 0);
  const std::string path = (dir / "out.txt").string();
  korbast::testing::Console console;
  iocom.stdin_unit = 15;
  {
    std::ofstream(dir / "answers.txt") << path << "\n";
  }
  ASSERT_TRUE(units::open(15, (dir / "answers.txt").string(), units::Status::Old));
  opefou(2, "extracted si-sh output", 0);
  console.clear();
  opefou(2, "something else", 0);
  EXPECT_EQ(console.text().substr(0, 2 * dash.size() + 33),
            dash + " OUTPUT FILE  2 ALREADY OPENED !\n" + dash);
  EXPECT_EQ(fiocom.oufexpl[1].trimmed(), "extracted si-sh output");
  console.clear();
  opefou(3, "no such slot", 0);
  EXPECT_EQ(console.text().substr(0, dash.size() + 45),
            dash + "              I/O FILES STATUS              \n");
}

// The slot's next default is the whole name, never the table's cut: an empty line takes it (a
// file there: refused), and no file is made at the cut name.
TEST_F(FileTable, LongNamesOpenInFullAndAreStoredCut) {
  initfio(1, 2, 0);
  const std::string path =
      (dir / "a-rather-long-file-name-for-the-si-sh-output-of-today.txt").string();
  ASSERT_GT(path.size(), 40u);
  korbast::testing::Console console("\n");  // the pause after the warning
  iocom.stdin_unit = 15;
  {
    std::ofstream(dir / "answers.txt") << path << "\n\n" << (dir / "next.txt").string() << "\n";
  }
  ASSERT_TRUE(units::open(15, (dir / "answers.txt").string(), units::Status::Old));
  opefou(2, "extracted si-sh output", 0);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(std::string(fiocom.oufnam[1].view()), path.substr(0, 40));
  clofou(2, 0);
  opefou(2, "extracted si-sh output", 0);
  EXPECT_NE(console.text().find(" COULD NOT OPEN FILE " + path + "\n   REASON: File exists\n"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::remove(path.substr(0, 40))) << "a file made at the cut name";
  // A name whose 40th byte starts a two-byte character: the table shows 39 bytes, never half
  // of it.
  const std::string split = std::string(39, 'n') + "\xC3\xA9.ndk";
  std::ofstream(dir / split) << "a catalogue\n";
  units::close(15);
  std::ofstream(dir / "answers.txt") << split << "\n";
  ASSERT_TRUE(units::open(15, (dir / "answers.txt").string(), units::Status::Old));
  const auto home = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  opefin(1, "cmt ndk input", 0);
  std::filesystem::current_path(home);
  EXPECT_EQ(std::string(fiocom.inpnam[0].view()), std::string(39, 'n') + " ");
}

// A name a command file gives is the name from then on, opened or refused: an empty line after
// a refusal tries the refused name again, never the file named before it.
TEST_F(FileTable, ARefusedCommandFileNameIsTheNextLinesDefault) {
  initfio(1, 2, 0);
  const std::string read_before = (dir / "read-before.ndk").string();
  const std::string typo = (dir / "typo.ndk").string();
  const std::string taken = (dir / "taken.txt").string();
  const std::string fresh = (dir / "fresh.txt").string();
  {
    std::ofstream(read_before) << "a catalogue\n";
    std::ofstream(taken) << "precious\n";
    std::ofstream(dir / "answers.txt") << read_before << "\n"
                                       << typo << "\n\n" << read_before << "\n"
                                       << taken << "\n\n" << fresh << "\n";
  }
  korbast::testing::Console console("\n\n\n\n");  // the pauses after the warnings
  iocom.stdin_unit = 15;
  iocom.command_file = true;
  ASSERT_TRUE(units::open(15, (dir / "answers.txt").string(), units::Status::Old));
  opefin(1, "cmt ndk input", 0);
  clofin(1, 0);
  console.clear();
  opefin(1, "cmt ndk input", 0);
  auto refusals = [&](const std::string& name, const std::string& reason) {
    const std::string frame = " COULD NOT OPEN FILE " + name + "\n   REASON: " + reason + "\n";
    int n = 0;
    for (auto at = console.text().find(frame); at != std::string::npos;
         at = console.text().find(frame, at + 1))
      ++n;
    return n;
  };
  EXPECT_EQ(refusals(typo, "No such file or directory"), 2) << console.text();
  EXPECT_EQ(fiocom.inpnam[0].trimmed(), read_before.substr(0, 40));
  console.clear();
  opefou(1, "cmt-ndk output", 0);
  EXPECT_EQ(refusals(taken, "File exists"), 2) << console.text();
  EXPECT_TRUE(fiocom.iopou[0]);
  EXPECT_EQ(fiocom.oufnam[0].trimmed(), fresh.substr(0, 40));
  std::ifstream in(taken);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "precious");
}

TEST_F(FileTable, KeyboardChooserCancelsOnAnEmptyAnswerAndAsksBeforeReplacing) {
  initfio(1, 2, 0);
  const std::string taken = (dir / "taken.txt").string();
  // Longer than what replaces it: nothing of it may stay behind the new content.
  { std::ofstream(taken) << "old content, longer than the new\nand a second line\n"; }
  // Empty answer: cancelled, warning and pause; then the existing file, refused; then again,
  // accepted for replacement.
  korbast::testing::Console console("\n\n" + taken + "\nn\n\n" + taken + "\ny\n");
  opefou(1, "cmt-ndk output", 0);
  EXPECT_TRUE(fiocom.iopou[0]);
  const std::string text = console.text();
  EXPECT_NE(text.find(" Choose cmt-ndk output file name\n"), std::string::npos);
  EXPECT_NE(text.find(" COULD NOT OPEN FILE " + blank40 + "\n   REASON: No name given\n"),
            std::string::npos);
  EXPECT_NE(text.find(" path (asked again until a file opens):\n"), std::string::npos);
  // The refused name is shown as typed, not the (still blank) stored name.
  EXPECT_NE(text.find(" COULD NOT OPEN FILE " + taken + "\n   REASON: File exists, not replaced\n"),
            std::string::npos)
      << text;
  units::write_line(21, "new content");
  units::close(21);
  std::ifstream in(taken, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new content\n");
}

// Outputs that cannot be written are refused with their reason: a folder at once, without the
// replace question; a FIFO nobody reads (its open must not wait for a reader), a block device
// and a link to one after it (the device node and the link are left as they are). The answer
// after the pause is the next name. A FIFO with a reader takes every line written, however
// many fill the pipe.
TEST_F(FileTable, AFolderOrAFifoWithoutReaderIsRefusedAtOnce) {
  const std::string fifo = (dir / "out.fifo").string();
  const std::string fresh = (dir / "fresh.txt").string();
  const std::string block = (dir / "disk").string(), to_block = (dir / "disk.ndk").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // A block node (root only) of a loop device: never opened, whichever device it names.
  const bool blocks = ::mknod(block.c_str(), S_IFBLK | 0600, ::makedev(7, 200)) == 0 &&
                      ::symlink(block.c_str(), to_block.c_str()) == 0;
  korbast::testing::Console console(dir.string() + "\n\n" + fifo + "\ny\n\n" +
                                    (blocks ? block + "\ny\n\n" + to_block + "\ny\n\n" : "") + fresh + "\n");
  fail_when_answers_run_out();
  std::string name(40, ' ');
  opef2(name, "extracted si-sh output", 22, "new", 0);
  EXPECT_EQ(name, fresh.substr(0, 40));
  const std::string text = console.text();
  EXPECT_NE(text.find(" COULD NOT OPEN FILE " + dir.string() +
                      "\n   REASON: Is a directory\n ===> RETRYING\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find(dir.string() + " exists. Replace it ?"), std::string::npos) << text;
  EXPECT_NE(text.find(" " + fifo + " exists. Replace it ? (y/n)\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" COULD NOT OPEN FILE " + fifo +
                      "\n   REASON: No such device or address\n ===> RETRYING\n"),
            std::string::npos)
      << text;
  for (const std::string& device : blocks ? std::vector{block, to_block} : std::vector<std::string>{}) {
    EXPECT_NE(text.find(" " + device + " exists. Replace it ? (y/n)\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" COULD NOT OPEN FILE " + device + "\n   REASON: A block device is never written\n"),
              std::string::npos)
        << text;
  }
  EXPECT_TRUE(!blocks || (std::filesystem::is_block_file(std::filesystem::symlink_status(block)) &&
                          std::filesystem::is_symlink(to_block)));

  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(units::open(23, fifo, units::Status::Replace));
  ::fcntl(reader, F_SETFL, ::fcntl(reader, F_GETFL) & ~O_NONBLOCK);  // waits for the writes
  std::size_t got = 0;
  std::thread drain([&] {
    char buf[4096];
    for (ssize_t n; (n = ::read(reader, buf, sizeof buf)) > 0;) got += static_cast<std::size_t>(n);
  });
  const std::string line(99, 'x');
  bool written = true;
  for (int k = 0; k < 4000; ++k) written = units::write_line(23, line) && written;  // 400 kB
  EXPECT_TRUE(units::close(23));
  drain.join();
  ::close(reader);
  EXPECT_TRUE(written);
  EXPECT_EQ(got, 4000u * 100u);
}

// A name chosen to be replaced is removed and made anew, never written through: a link to a
// file elsewhere (its target keeps its bytes), a second name of a file (the first keeps its
// content), a link that leads nowhere (asked like any existing name). A link to /dev/null and
// /dev/null itself are asked too and written into, never replaced. The file open on the Si-Sh
// slot is asked, then refused for the catalogue, and keeps its lines; a link to it is replaced.
// "Y" and " y" are yes. A socket is refused, and left. A file removed, or written to, while the
// question waits is not what was asked about: refused, and nothing is made or written there.
TEST_F(FileTable, AReplacedNameIsMadeAnewNeverWrittenThrough) {
  namespace fs = std::filesystem;
  using korbast::testing::read_file;
  fs::create_directories(dir / "data");
  const fs::path target = dir / "data/cat.ndk", master = dir / "master.ndk";
  const fs::path soft = dir / "soft.ndk", hard = dir / "hard.ndk", dangling = dir / "dangling.ndk";
  const fs::path sish = dir / "sish.txt", fresh = dir / "fresh.ndk", null = dir / "null.ndk";
  { std::ofstream(target) << "20 events\n"; }
  { std::ofstream(master) << "the master catalogue\n"; }
  fs::create_symlink(target, soft);
  fs::create_hard_link(master, hard);
  fs::create_symlink(dir / "nowhere.ndk", dangling);
  fs::create_symlink("/dev/null", null);  // leads to no file: written into, never replaced
  korbast::testing::Console console(sish.string() + "\n" + soft.string() + "\ny\n" +
                                    hard.string() + "\ny\n" + dangling.string() + "\ny\n" +
                                    sish.string() + "\ny\n\n" + fresh.string() + "\n" + null.string() +
                                    "\ny\n/dev/null\ny\n");
  fail_when_answers_run_out();
  initfio(1, 2, 0);
  opefou(2, "extracted si-sh output", 0);
  units::write_line(22, "si-sh line 1");
  for (const fs::path& name : {soft, hard, dangling, fresh, null, fs::path("/dev/null")}) {
    opefou(1, "cmt-ndk output", 0);
    units::write_line(21, "written to " + name.filename().string());
    clofou(1, 0);
  }
  struct Row {
    fs::path name;
    std::string answer;
    std::function<void()> while_asked;
    std::string refused;  // "": replaced
  };
  const fs::path sock = dir / "sock", removed = dir / "removed.ndk", rewritten = dir / "rewritten.ndk";
  const std::vector<Row> rows = {
      {sock, "y", {}, "No such device or address"},
      {dir / "upper.ndk", "Y", {}, ""},
      {dir / "blank.ndk", " y", {}, ""},
      {dir / "to_sish.ndk", "y", {}, ""},
      {removed, "y", [&] { fs::remove(removed); }, "Changed after it was chosen"},
      {rewritten, "y", [&] {
         std::ofstream(rewritten) << "theirs\n";
         korbast::testing::change_ctime(rewritten);
       }, "Changed after it was chosen"},
  };
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un at{};
  at.sun_family = AF_UNIX;
  sock.string().copy(at.sun_path, sizeof at.sun_path - 1);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
  fs::create_symlink(sish, dir / "to_sish.ndk");
  korbast::testing::Answers answers;
  for (const Row& row : rows) {
    if (!fs::exists(fs::symlink_status(row.name))) std::ofstream(row.name) << "ours\n";
    answers.add(row.name.string() + "\n");
    answers.add(row.answer + "\n", row.while_asked);
    if (!row.refused.empty()) answers.add("\n" + row.name.string() + ".else\n");  // the pause, a new name
  }
  std::istream keyboard(&answers);
  std::ostringstream shown;
  units::bind_console(keyboard, shown);
  for (const Row& row : rows) {
    opefou(1, "cmt-ndk output", 0);
    units::write_line(21, "written to " + row.name.filename().string());
    clofou(1, 0);
    const std::string written = "written to " + row.name.filename().string() + "\n";
    if (row.refused.empty()) {
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(row.name))) << row.name;
      EXPECT_EQ(read_file(row.name), written);
    } else {
      EXPECT_NE(shown.str().find(" COULD NOT OPEN FILE " + row.name.string() + "\n   REASON: " + row.refused + "\n"),
                std::string::npos)
          << shown.str();
      EXPECT_EQ(read_file(row.name.string() + ".else"), written);
    }
  }
  units::bind_console();
  ::close(listener);
  EXPECT_TRUE(fs::is_socket(fs::symlink_status(sock)));
  EXPECT_FALSE(fs::exists(fs::symlink_status(removed)));
  EXPECT_EQ(read_file(rewritten), "theirs\n");

  units::write_line(22, "si-sh line 2");
  clofou(2, 0);

  EXPECT_EQ(read_file(target), "20 events\n");
  EXPECT_EQ(read_file(master), "the master catalogue\n");
  EXPECT_FALSE(fs::exists(dir / "nowhere.ndk"));
  for (const fs::path& name : {soft, hard, dangling}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(name))) << name;
    EXPECT_EQ(read_file(name), "written to " + name.filename().string() + "\n");
    EXPECT_FALSE(fs::exists(name.string() + ".new")) << name;
  }
  EXPECT_EQ(read_file(fresh), "written to fresh.ndk\n");
  EXPECT_TRUE(fs::is_symlink(null));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_EQ(read_file(sish), "si-sh line 1\nsi-sh line 2\n");
  const std::string text = console.text();
  for (const std::string& name : {dangling.string(), sish.string(), null.string(), std::string("/dev/null")})
    EXPECT_NE(text.find(" " + name + " exists. Replace it ? (y/n)\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" COULD NOT OPEN FILE " + sish.string() +
                      "\n   REASON: File already opened in another unit\n ===> RETRYING\n"),
            std::string::npos)
      << text;
}

// A file that cannot be opened gets the reason under its name: the system's, asked again at
// the keyboard; no name given, the run stopped for a caller without a name.
TEST_F(FileTable, FailedOpenSaysWhyUnderTheName) {
  const std::string missing = (dir / "missing.txt").string();
  const std::string there = (dir / "there.txt").string();
  { std::ofstream(there) << "a line\n"; }
  korbast::testing::Console console(missing + "\n\n" + dir.string() + "\n\n" + there + "\n");
  std::string name(40, ' ');
  opef2(name, "polygon input", 61, "old", 0);
  units::close(61);
  EXPECT_EQ(name, there.substr(0, 40));
  const std::string text = console.text();
  EXPECT_NE(text.find(" COULD NOT OPEN FILE " + missing +
                      "\n   REASON: No such file or directory\n ===> RETRYING\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find(" COULD NOT OPEN FILE " + dir.string() +
                      "\n   REASON: Is a directory\n ===> RETRYING\n"),
            std::string::npos)
      << text;
  // A caller that gives no name.
  EXPECT_EXIT(
      {
        korbast::testing::StderrConsole stopped;
        std::string given(40, ' ');
        opef2(given, "polygon input", 61, "old", 1);
      },
      ::testing::ExitedWithCode(1),
      "COULD NOT OPEN FILE " + blank40 + "\n   REASON: No name given\n for unit =   61\n");
}

}  // namespace

namespace {

using namespace korbast::frame;

TEST(FileTableDeathTest, OneShotOpenOfAMissingFileStopsTheRun) {
  EXPECT_EXIT(
      {
        korbast::testing::Console console("\n");
        std::string name = "/nonexistent/korbast/polygon.txt";
        opef2(name, "polygon input", 61, "old", 1);
      },
      ::testing::ExitedWithCode(1), "");
}

TEST(FileTableDeathTest, SlotCountsBeyondTheTableStopTheRun) {
  EXPECT_EXIT(
      {
        korbast::testing::Console console;
        initfio(2, 2, 0);
      },
      ::testing::ExitedWithCode(1), "");
}

// One reset gives the frame's blocks their start values.
TEST(FrameState, ResetGivesEveryBlockItsStartValue) {
  iocom.pause = false;
  fiocom.iouf[1] = 40;
  runinfocom.subname = "x";
  reset();
  EXPECT_TRUE(iocom.pause);
  EXPECT_EQ(fiocom.iouf[1], 22);
  EXPECT_EQ(runinfocom.subname.view(), Text<11>::zeros().view());
}

}  // namespace
