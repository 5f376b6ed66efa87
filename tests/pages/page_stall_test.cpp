// Page writes that never end (a stalled file system) are given up within the bound, by every
// wait on the writer, and a run killed at any moment keeps every page it announced.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "pages/page_io.hpp"
#include "pages/page_output.hpp"
#include "platform/run_threads.hpp"
#include "page_files.hpp"

namespace korbast::pages {
namespace {

// A stalled file system for the page files (page_write_hook): from the `from`-th write call
// on into a page file whose path ends with `suffix` (each pair), each call waits until the test
// lets it go, and then goes through, as a call on a hung folder does when the folder is back.
class StalledWrites {
 public:
  explicit StalledWrites(std::vector<std::pair<std::string, int>> stalls) {
    std::lock_guard<std::mutex> lock(mu_);
    stalls_ = std::move(stalls);
    writes_.clear();
    held_.clear();
    go_ = false;
    page_write_hook = &wait;
  }
  ~StalledWrites() { let_go(); }
  StalledWrites(const StalledWrites&) = delete;
  StalledWrites& operator=(const StalledWrites&) = delete;
  // Lets every write go on, now and from now on.
  void let_go() {
    page_write_hook = nullptr;
    std::lock_guard<std::mutex> lock(mu_);
    go_ = true;
    cv_.notify_all();
  }
  // The bytes of the calls that waited, into the files whose paths end with `suffix`.
  static std::size_t held(const std::string& suffix) {
    std::lock_guard<std::mutex> lock(mu_);
    std::size_t n = 0;
    for (const auto& [path, bytes] : held_) n += ends_with(path, suffix) ? bytes : 0;
    return n;
  }

 private:
  static bool ends_with(const std::string& path, const std::string& suffix) {
    return path.size() >= suffix.size() &&
           path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
  }
  static void wait(const std::string& path, std::size_t bytes) {
    std::unique_lock<std::mutex> lock(mu_);
    const int call = ++writes_[path];
    for (const auto& [suffix, from] : stalls_) {
      if (go_ || !ends_with(path, suffix) || call < from) continue;
      held_[path] += bytes;
      cv_.wait(lock, [] { return go_; });
      return;
    }
  }
  static inline std::mutex mu_;
  static inline std::condition_variable cv_;
  static inline std::vector<std::pair<std::string, int>> stalls_;
  static inline std::map<std::string, int> writes_;
  static inline std::map<std::string, std::size_t> held_;
  static inline bool go_ = false;
};

// The threads of this process.
int threads_now() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/task")) ++n;
  return n;
}

// Page writes that take no byte (a stalled file system: the PDF of the first window from its
// second page on, the second page's PNG of the second window) are given up within the bound,
// by every wait on the writer: for room in the queue (30 pages drawn) and for the files
// (wait_for_files); the close then waits no more. A file given up is told as failed (the PDF
// with the page it keeps), the stalled page's PNG (written before its PDF) as written, every
// later page as not written; the hold on the files goes with the window. Without a bound the
// test would never get past the stalled write (its time limit ends it). Let go, the stalled
// calls land, and the writers write and rename nothing more (the PNG given up never takes its
// name, though its write ended while its window was still open), end by themselves and free
// what they hold.
TEST(PageOutput, StalledPageWritesAreGivenUpWithinTheBound) {
  Dir d;
  std::thread([] {}).join();  // a sanitizer's own thread, made with the first one, counted
  const int threads_before = threads_now();
  // The run continued after every slice of the waits, never stopped: the bound still holds.
  platform::keep_continue_signal();  // the waits run on this thread
  page_slice_hook = [] { pthread_kill(pthread_self(), SIGCONT); };
  StalledWrites stalled({{"_w1.pdf", 2}, {"_w2_p002.png", 1}});
  auto c = canvas(d, 300, 200, "stall.ps", 10.0);
  ::testing::internal::CaptureStderr();
  draw_pages_and_close(*c, 30, false);
  EXPECT_EQ(hidden_files(d.path), 0) << "the lock file";
  EXPECT_EQ(threads_now(), threads_before + 1) << "the writer thread stalled in the window";
  c->window_open({0, 0, 200, 300}, "drain", {"stall.ps", 10.0, false});
  for (int page = 1; page <= 2; ++page) {
    draw_page(*c, page, false);
    c->write_page();
    c->wait_for_files();
    c->clear_white(0, 0, 300, 200);
  }
  const std::string err = ::testing::internal::GetCapturedStderr();
  const std::string stuck = "no byte was written for 3 seconds";
  std::string want =
      "korbast: plot page 1 written to stall_w1_p001.png and stall_w1.pdf\n"
      "korbast: plot page 2 could not be written to stall_w1.pdf (" + stuck + ")\n"
      "korbast: plot page 2 written to stall_w1_p002.png\n";
  for (int page = 3; page <= 30; ++page) {
    char png[32];
    std::snprintf(png, sizeof png, "stall_w1_p%03d.png", page);
    want += "korbast: plot page " + std::to_string(page) + " could not be written to " + png +
            " and stall_w1.pdf (a write before it did not end)\n";
  }
  want += "korbast: plot page 1 written to stall_w2_p001.png and stall_w2.pdf\n"
          "korbast: plot page 2 could not be written to stall_w2_p002.png (" + stuck + ")\n";
  EXPECT_EQ(err, want);
  std::string told;
  for (const platform::FileFailure& f : c->take_file_failures())
    told += f.file + "|" + f.stage + "|" + f.reason + "|" + std::to_string(f.pages) + "\n";
  EXPECT_EQ(told, "stall_w1.pdf|WHILE WRITING|" + stuck + "|1\n"
                  "stall_w2_p002.png|WHILE WRITING|" + stuck + "|0\n");
  EXPECT_TRUE(fs::exists(d.path / "stall_w1_p002.png"));
  EXPECT_FALSE(fs::exists(d.path / "stall_w1_p003.png"));
  const auto sizes = [&] {
    return std::pair{fs::file_size(d.path / "stall_w1.pdf"),
                     fs::file_size(d.path / "stall_w2.pdf")};
  };
  const auto kept = sizes();
  stalled.let_go();
  const fs::path temp = d.path / (".stall_w2_p002.png.tmp-" + std::to_string(getpid()));
  for (int k = 0; k < 3000 && fs::exists(temp); ++k) usleep(10000);
  EXPECT_FALSE(fs::exists(temp)) << "the PNG's write did not end";
  EXPECT_FALSE(fs::exists(d.path / "stall_w2_p002.png")) << "a page given up took its name";
  c->window_dispose();
  for (int k = 0; k < 3000 && threads_now() > threads_before; ++k) usleep(10000);
  EXPECT_EQ(threads_now(), threads_before) << "the writers did not end";
  EXPECT_EQ(sizes(), std::pair(kept.first + StalledWrites::held("_w1.pdf"), kept.second))
      << "a writer given up went on writing after its stalled call";
  EXPECT_EQ(hidden_files(d.path), 0);
  // A write of two calls given up while its first one waits: that call lands, no other.
  StalledWrites again({{"two_calls", 1}});
  const std::string path = d / "two_calls";
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  const std::string bytes(2 * kWriteChunk, 'x');
  WriteWatch watch;
  bool wrote = true;
  std::thread writer([&] { wrote = write_all(fd, bytes.data(), bytes.size(), 0, path, &watch); });
  for (int k = 0; k < 3000 && StalledWrites::held("two_calls") == 0; ++k) usleep(10000);
  watch.given_up = true;
  again.let_go();
  writer.join();
  close(fd);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(fs::file_size(path), kWriteChunk) << "a write given up went on";
  // Encoders that take longer than the bound (a big map on one processor) are waited for: no
  // byte is due while the writer waits for them. The page's first part takes 4 seconds of the
  // waits' clock, moved on in steps once the dialog waits for it, in slices that see no stop.
  static std::atomic<int> slices{0};
  page_slice_hook = [] { ++slices; };
  page_encode_hook = [] {
    static std::atomic<bool> once{false};
    if (once.exchange(true)) return;
    while (slices == 0) usleep(1000);
    for (int k = 0; k < 40; ++k, usleep(1000)) page_clock_ahead += 100'000'000;
  };
  c->window_open({0, 0, 200, 300}, "slow", {"stall.ps", 10.0, false});
  draw_page(*c, 1, false);
  c->window_dispose();
  page_encode_hook = nullptr;
  page_slice_hook = nullptr;
  EXPECT_TRUE(c->take_file_failures().empty()) << "a page given up while it was encoded";
  EXPECT_TRUE(fs::exists(d.path / "stall_w3_p001.png"));
}

// A stop that lands between a wait's look at the clock and its look for a stop counts
// nothing: one of 4 seconds there (the clock moved on, the SIGCONT left pending) in the second
// slice that finds the PDF's first write held (the first may still see its progress), which
// the next slice lets go: the page is written.
StalledWrites* g_held = nullptr;
TEST(PageOutput, AStopBetweenTheLooksCountsNothing) {
  Dir d;
  platform::keep_continue_signal();
  StalledWrites stalled({{"_w1.pdf", 1}});
  g_held = &stalled;
  page_slice_hook = [] {
    static int slices = 0;
    if (StalledWrites::held("_w1.pdf") == 0) return;
    if (++slices > 2) return g_held->let_go();
    if (slices < 2) return;
    page_clock_ahead += 4'000'000'000;
    pthread_kill(pthread_self(), SIGCONT);
  };
  auto c = canvas(d, 300, 200, "stop.ps", 10.0);
  draw_pages_and_close(*c, 1, false);
  page_slice_hook = nullptr;
  EXPECT_TRUE(c->take_file_failures().empty());
  EXPECT_EQ(pdf_pages(d / "stop_w1.pdf"), 1);
}

// The child of the kill test (run as its own process, so that it has its own threads):
// draws page after page until it is killed.
TEST(PageOutput, KilledChild) {
  const char* dir = std::getenv("KORBAST_KILLED_CHILD");
  if (!dir) GTEST_SKIP() << "only run by PageOutput.AKilledRunKeepsEveryAnnouncedPage";
  CairoCanvas::Options o;
  o.use_display = false;
  o.directory = dir;
  CairoCanvas c(o);
  c.window_open({0, 0, 400, 600}, "sig", {"sig.ps", 10.0, false});
  for (int page = 1;; ++page) {
    for (int k = 0; k < 20; ++k) draw_page(c, page + k, true);
    c.write_page();
    c.clear_white(0, 0, 600, 400);
  }
}

// A run killed at any moment, with no chance to tidy up, keeps every page it announced: the
// PDF holds them and each has its whole PNG.
TEST(PageOutput, AKilledRunKeepsEveryAnnouncedPage) {
  if (!have_tool("pdfinfo") || !have_tool("qpdf")) GTEST_SKIP() << "pdfinfo or qpdf not installed";
  for (int sig : {SIGKILL}) {
    Dir d;
    int err_pipe[2];
    ASSERT_EQ(pipe(err_pipe), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      dup2(err_pipe[1], 2);
      close(err_pipe[0]);
      setenv("KORBAST_KILLED_CHILD", d.path.c_str(), 1);
      execl("/proc/self/exe", "child", "--gtest_filter=PageOutput.KilledChild", nullptr);
      _exit(127);
    }
    close(err_pipe[1]);
    // Wait for three announced pages (generous bound), then interrupt the run.
    std::string err;
    FILE* in = fdopen(err_pipe[0], "r");
    char line[512];
    int notices = 0;
    while (notices < 3 && fgets(line, sizeof line, in)) {
      err += line;
      notices += std::string(line).find(" written to ") != std::string::npos;
    }
    ASSERT_EQ(notices, 3) << err;
    kill(pid, sig);
    while (fgets(line, sizeof line, in)) {
      err += line;
      notices += std::string(line).find(" written to sig_w1_p") != std::string::npos;
    }
    fclose(in);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
    // Every announced page is in the PDF and has its PNG. The kill may cut the next page's
    // update (readers then recover what stands before it) or come after that page is written
    // but before it is announced.
    const std::string pdf = d / "sig_w1.pdf";
    const int poppler = poppler_pages(pdf);
    EXPECT_TRUE(poppler == notices || poppler == notices + 1) << poppler << "\n" << err;
    const Qpdf q = qpdf(pdf);
    EXPECT_TRUE(q.status == 0 || q.status == 3) << q.out;
    EXPECT_TRUE(q.pages == notices || q.pages == notices + 1) << q.pages << "\n" << err;
    char png[64];
    std::snprintf(png, sizeof png, "sig_w1_p%03d.png", notices);
    EXPECT_TRUE(fs::exists(d.path / png)) << err;
  }
}

}  // namespace
}  // namespace korbast::pages
