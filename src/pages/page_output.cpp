#include "pages/page_output.hpp"

#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "pages/page_io.hpp"
#include "pages/pdf_content.hpp"
#include "pages/pdf_writer.hpp"
#include "pages/png_writer.hpp"
#include "platform/held_files.hpp"
#include "platform/run_threads.hpp"

namespace korbast::pages {

std::atomic<void (*)()> page_encode_hook{nullptr};
std::atomic<std::int64_t> page_clock_ahead{0};
std::atomic<void (*)()> page_slice_hook{nullptr};

namespace {

// What the page notices could not reach: the standard error (closed, a broken pipe).
const char* const kNotices = "standard error";

int worker_count() {
  cpu_set_t set;
  int cpus = 1;
  if (sched_getaffinity(0, sizeof set, &set) == 0) cpus = CPU_COUNT(&set);
  // About half the cores replay and encode (two of two); the rest are left to the dialog,
  // which records the pages, and to the writer. More threads share the caches and the
  // memory with them and take turns on the cores: the same pages for more processor time
  // and little less wall time (on 8 cores, 6 threads took 7 % more processor time than 5
  // for 9 % less wall time; 8 threads 7 % more than 6 for none).
  return std::clamp(cpus / 2 + 1, 1, std::min(cpus, 8));
}

// How long the bounded waits let the writer go without a byte written before giving it up:
// time the run runs, never time it is stopped (SIGSTOP, Ctrl-Z, a CPU limiter's cycles). The
// time is counted in short slices of the waits (Impl::bound_passed), each from its start to a
// look at the clock taken before the look for a stop: a stop anywhere in a slice, up to that
// look, leaves the SIGCONT that went on with the run pending at it (platform::continued), and
// a stop after it is in no slice. A slice in which the run was stopped counts the length of
// its wait at most, never what the stop added to it, so that a folder whose every write call
// ends within the bound is written to the end however often the run is stopped, and a
// SIGCONT sent without a stop (which adds nothing) still lets every slice count: a write that
// never ends is given up within the bound of running time.
constexpr auto kBound = std::chrono::seconds(3);
constexpr auto kSlice = kInterruptEvery;
const std::string kStuck =
    "no byte was written for " + std::to_string(kBound.count()) + " seconds";
// Why the pages after it are not written.
const char* const kGivenUp = "a write before it did not end";

// Why the pages of a window are not written when another run holds its page files.
const char* const kTakenReason = "Another run is writing these page files";

// The hold of one run on the page files of a window: an exclusive lock (flock) on a hidden
// file beside them, ".<pdf name>.lock", taken without waiting. The file is removed at the
// release while it is still locked, so a run that opened it before and locks it after finds
// that the name no longer holds the file it locked, and tries the name again: whoever holds
// the lock holds the file at the name. A run that ends without releasing it (killed) leaves
// the file unlocked: the next run takes it over and removes it. Opened for reading only, and
// made readable by all: a lock file another user of a shared folder made is locked as well.
// Where no lock file can be opened (a folder at its name, a file of mode 000 or of another
// user that it cannot read), nothing is held: the writer's check of its files' names
// (PdfFile::taken, name_lost) is then what finds files another run took. Only an empty file
// found there can be the lock of an ended run: a file with content is left as it is, with no
// hold, and a file the run itself holds or wrote (one of its outputs, closed or not) is never
// taken (kRunsOwn, for `own()`). The lock file is held by the run (platform::HeldFiles): no
// output of the run replaces it.
class FilesHold {
 public:
  enum Take { kHeld, kTaken, kNone, kRunsOwn };
  FilesHold() = default;
  ~FilesHold() { release(); }
  FilesHold(FilesHold&& other) noexcept
      : path_(std::move(other.path_)),
        fd_(std::exchange(other.fd_, -1)),
        held_(std::move(other.held_)) {}
  FilesHold& operator=(FilesHold&& other) noexcept {
    if (this != &other) {
      release();
      path_ = std::move(other.path_);
      fd_ = std::exchange(other.fd_, -1);
      held_ = std::move(other.held_);
    }
    return *this;
  }

  // Takes the hold of the lock file at `path`: kTaken while another open file of it holds
  // the lock (another run), kNone when no lock can be had there (a folder that takes no
  // new file or no lock): the files are then written without one, as they would fail or
  // succeed anyway.
  Take take(const std::string& path) {
    for (int tries = 0; tries < 16; ++tries) {
      const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
      bool made = true;
      int fd = open_retrying(path, flags | O_CREAT | O_EXCL);
      if (fd < 0 && errno == EEXIST) {
        made = false;
        fd = open_retrying(path, flags);
        if (fd < 0 && errno == ENOENT) continue;  // removed meanwhile: the name again
      }
      if (fd < 0 && errno == ELOOP) {
        // A link put at the name is not followed but removed. One the run cannot remove
        // (another user's in a sticky folder) is a lock file it cannot open: no hold.
        if (unlink(path.c_str()) == 0 || errno == ENOENT) continue;
        return kNone;
      }
      if (fd < 0) return kNone;
      if (const Take found = made ? kHeld : found_there(fd, own_); found != kHeld) {
        ::close(fd);
        return found;
      }
      // Readable by all whatever the umask (a lock needs only a descriptor open for
      // reading): a run of another user of the folder can lock it too. Where the mode cannot
      // be set, it is locked by this user's runs only: the result is not needed.
      if (made) fchmod(fd, 0644);
      int locked = 0;
      do locked = flock(fd, LOCK_EX | LOCK_NB);
      while (locked != 0 && errno == EINTR);
      if (locked != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return taken ? kTaken : kNone;
      }
      if (at_name(fd, path)) {
        fd_ = fd;
        path_ = path;
        held_.hold(platform::file_id(fd), platform::Use::Writing);
        return kHeld;
      }
      ::close(fd);  // released and removed meanwhile: the name again
    }
    return kTaken;  // other runs take and release it all the time
  }

  // Removes the lock file (while still locked, and only the one locked) and lets it go.
  void release() {
    if (fd_ < 0) return;
    if (at_name(fd_, path_)) unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
    held_.let_go();
  }

  // Why the lock's name was not taken, after kRunsOwn (platform::Holds::why_kept).
  std::string_view own() const { return own_; }

 private:
  // What is found at the lock's name, open on fd: a lock to take (kHeld: an empty file, or a
  // folder, which locks as well), one of the run's own files (kRunsOwn, and why in `own`), or a
  // file with content (kNone).
  static Take found_there(int fd, std::string_view& own) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return kNone;
    own = platform::held(platform::file_id(fd)).why_kept();
    if (!own.empty()) return kRunsOwn;
    return S_ISREG(st.st_mode) && st.st_size > 0 ? kNone : kHeld;
  }

  // Whether `fd` is the file at `path`.
  static bool at_name(int fd, const std::string& path) { return name_lost(path, fd).empty(); }

  std::string path_;
  int fd_ = -1;
  platform::HeldFiles held_;
  std::string_view own_;
};

}  // namespace

// ---------------------------------------------------------------- the writer

struct PageWriter::Impl {
  enum Part { kPng, kPdf, kBand };
  struct Job {
    int page = 0;
    std::string png_name, png_path;
    // The page image, rows w * 4 bytes apart: taken when its first band is replayed, given
    // back white when its PNG is made.
    std::unique_ptr<unsigned char[]> pixels;
    bool white = false;  // the image is all white (a kept one)
    int w = 0, h = 0;
    std::vector<PageOps::PathSpan> paths;  // the page's paths
    std::vector<int> edges;                // the bands' row borders
    int bands_left = 1;
    PageOps ops;
    std::string png;
    std::vector<PageOps::Cursor> pieces;  // where the PDF content's pieces start
    std::vector<std::string> pdf;         // their streams, compressed
    std::vector<std::vector<unsigned>> glyphs;  // the glyphs each uses
    std::vector<std::shared_ptr<const PageOps>> drawings;  // the shared drawings it places
    int parts_left = 1;  // the PNG (after the bands) and the PDF content's pieces
  };
  struct Task {
    std::shared_ptr<Job> job;
    Part part;
    int index = 0;  // the band, or the PDF content's piece
  };

  // A descriptor, closed with its holder.
  struct Fd {
    int fd = -1;
    Fd(int f = -1) : fd(f) {}
    ~Fd() {
      if (fd >= 0) ::close(fd);
    }
    Fd(Fd&& o) noexcept : fd(std::exchange(o.fd, -1)) {}
    Fd& operator=(Fd&& o) noexcept {
      std::swap(fd, o.fd);
      return *this;
    }
  };
  // A PNG file written, as long as its name holds it: kept open until the window's last look
  // at the names, or, where the run could not spare a descriptor for it, known by its identity
  // (which tells a file made later with its inode number apart only by the time of its last
  // change).
  struct PngFile {
    int page = 0;
    std::string name, path;
    Fd open;
    platform::FileId id;
    // Closes the file, keeping its identity for the looks at its name.
    void close_keeping_id() {
      id = platform::file_id(open.fd);
      open = Fd();
    }
    std::string lost() const {
      return open.fd >= 0 ? name_lost(path, open.fd) : name_lost(path, id);
    }
  };

  Setup setup;
  // The writer's progress, and whether it was given up (no byte written for kBound, set under
  // the lock with the rest): from then on the writer thread writes and renames nothing more.
  WriteWatch watch;
  bool abandoned() const { return watch.given_up.load(); }
  // The run's hold on the window's page files, taken by the writer before its first page
  // and let go with the writer, after the PDF is closed (declared before it), or when the
  // writer is given up, at the close (under the lock); when another run holds them, or one of
  // this run's own files stands at the lock's name, none of the window's pages is written
  // (`refused`, for the `refusal`).
  FilesHold hold;
  bool hold_tried = false;
  bool refused = false;
  std::string refusal = kTakenReason;  // why they are not written
  PdfFile pdf;
  bool pdf_failed = false;
  int pdf_pages = 0;  // pages in the PDF, for the failures
  // The PNG files whose names are looked at again (check_names), a few at each page from
  // `png_turn` on, all at the close; `png_open` of them kept open.
  std::vector<PngFile> pngs;
  std::size_t png_turn = 0;
  std::size_t png_open = 0;

  mutable std::mutex mu;
  // Each wakes only the threads that wait for it: a wake-up for nothing costs a switch.
  std::condition_variable work_cv;   // tasks for the encoders, or the end
  std::condition_variable ready_cv;  // for the writer: a page encoded, the end, given up
  std::condition_variable done_cv;   // for the dialog: a page written, given up
  std::deque<std::shared_ptr<Job>> jobs;  // queued pages, in page order
  std::deque<Task> tasks;
  bool writing = false;
  bool stopping = false;
  std::size_t limit = 4;
  int bands = 1;
  std::vector<std::string> files;
  std::vector<platform::FileFailure> failures;
  // The encoders and the writer that could be started (a process limit may leave some or all
  // unstarted): the dialog does the work of those missing (work_here).
  std::vector<std::thread> threads;
  std::thread writer;
  bool has_writer = false;
  // Page images already encoded and left white, kept for the next pages: a fresh one is new
  // memory, which the system first has to map and clear, and which then has to be made white.
  std::vector<std::unique_ptr<unsigned char[]>> spare;
  std::size_t spare_bytes = 0;
  // The writer thread's progress: the file it writes (name and path), and for the PDF the
  // outcome of the page's PNG. A write that takes no byte (a hung network folder) is given
  // up by the bounded waits; the thread then is left to itself and frees this when it ends
  // (`orphan`). The waits count the time without progress in `still`, from `seen` on.
  std::string busy_file, busy_path;
  int busy_page = 0;
  std::uint64_t seen = 0;
  std::chrono::steady_clock::duration still{};
  std::chrono::steady_clock::time_point cut_from;  // the dialog's own write: its last look
  bool busy_png_done = false;
  std::string busy_png_err;
  std::string busy_png_name;
  bool writer_alive = true;  // false as well when no writer could be started
  bool orphan = false;
  bool finished = false;

  // Notices that reached the standard error, and the error of the first that did not (0:
  // none); told once among the failures, as a file that failed.
  std::atomic<int> notices_out{0};
  std::atomic<int> notice_errno{0};
  bool notice_told = false;

  // One notice line on the standard error.
  void notice(const std::string& text) {
    clearerr(stderr);
    errno = 0;
    const bool ok = std::fprintf(stderr, "korbast: %s\n", text.c_str()) >= 0 && std::fflush(stderr) == 0;
    if (ok) {
      ++notices_out;
      return;
    }
    int expected = 0;
    notice_errno.compare_exchange_strong(expected, errno != 0 ? errno : EIO);
  }

  explicit Impl(Setup s)
      : setup(std::move(s)),
        pdf(setup.pdf_path, setup.title, setup.sheet_w, setup.sheet_h, &watch) {}

  // Rows [y0, y1) of the page image. The paths showing there, less those later fills paint
  // over there, are replayed whole, into a target that holds every row they reach and starts
  // at the page's top row: Cairo then makes the same pixels as for the whole page (paths cut
  // at a band's edge, or a target moved by a device offset, come out a little differently).
  static void replay_band(Job& job, int y0, int y1) {
    const int stride = job.w * 4;
    const std::vector<std::uint8_t> hidden = job.ops.hidden(job.paths, y0, y1, job.w);
    const int bottom = std::max(PageOps::reach(job.paths, hidden, y0, y1, job.h),
                                job.ops.placed_reach(y0, y1, job.h));
    const bool own = y0 > 0 || bottom > y1;
    // A band's own target in memory kept by the thread: fresh memory of a page's size would
    // be mapped and cleared by the system for every band.
    thread_local std::unique_ptr<unsigned char[]> band;
    thread_local std::size_t band_size = 0;
    const int own_stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, job.w);
    if (own && static_cast<std::size_t>(own_stride) * bottom > band_size) {
      band_size = static_cast<std::size_t>(own_stride) * bottom;
      band.reset(new unsigned char[band_size]);
    }
    cairo_surface_t* s =
        own ? cairo_image_surface_create_for_data(band.get(), CAIRO_FORMAT_RGB24, job.w, bottom,
                                                  own_stride)
            : cairo_image_surface_create_for_data(job.pixels.get(), CAIRO_FORMAT_RGB24, job.w,
                                                  y1, stride);
    // White from the band's top row down (the rows above it are never used), unless it is
    // a kept page image, white already.
    cairo_surface_flush(s);
    if (own || !job.white) {
      unsigned char* data = cairo_image_surface_get_data(s);
      const int from = cairo_image_surface_get_stride(s);
      const int rows = cairo_image_surface_get_height(s);
      if (data && rows > y0) {
        std::memset(data + static_cast<std::size_t>(y0) * from, 0xFF,
                    static_cast<std::size_t>(rows - y0) * from);
      }
      cairo_surface_mark_dirty(s);
    }
    cairo_t* cr = cairo_create(s);
    setup_page_context(cr, true);
    PageOps::Cursor at;
    job.ops.replay(cr, at, y0, y1, &hidden);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    if (own) {
      const unsigned char* data = cairo_image_surface_get_data(s);
      const int from = cairo_image_surface_get_stride(s);
      for (int y = y0; y < y1; ++y) {
        std::memcpy(job.pixels.get() + static_cast<std::size_t>(y) * stride,
                    data + static_cast<std::size_t>(y) * from, static_cast<std::size_t>(stride));
      }
    }
    cairo_surface_destroy(s);
  }

  // The page image of `job`: a kept one, white, or a fresh one. Under the lock.
  void take_image(Job& job) {
    const std::size_t bytes = static_cast<std::size_t>(job.w) * job.h * 4;
    if (!spare.empty() && spare_bytes == bytes) {
      job.pixels = std::move(spare.back());
      spare.pop_back();
      job.white = true;
    } else {
      job.pixels.reset(new unsigned char[bytes]);
      job.white = false;
    }
  }

  void encode_loop() {
    std::unique_lock<std::mutex> lock(mu);
    for (;;) {
      work_cv.wait(lock, [&] { return stopping || !tasks.empty(); });
      if (tasks.empty()) return;
      encode_next(lock);
    }
  }

  // Does the first task queued. Under the lock, let go meanwhile.
  void encode_next(std::unique_lock<std::mutex>& lock) {
    Task task = tasks.front();
    tasks.pop_front();
    Job& job = *task.job;
    if (task.part == kBand && !job.pixels) take_image(job);
    lock.unlock();
    if (auto* hook = page_encode_hook.load()) hook();
    std::unique_ptr<unsigned char[]> used;
    if (task.part == kBand) {
      replay_band(job, job.edges[task.index], job.edges[task.index + 1]);
    } else if (task.part == kPng) {
      job.png = encode_png_clearing(job.pixels.get(), job.w, job.h, job.w * 4,
                                    setup.pixels_per_metre);
      used = std::move(job.pixels);
    } else {
      const std::size_t k = static_cast<std::size_t>(task.index);
      const std::size_t to = k + 1 < job.pieces.size() ? job.pieces[k + 1].code : SIZE_MAX;
      const std::string text =
          PdfContent(job.ops).content(setup.scale, job.h, job.glyphs[k], job.pieces[k], to);
      job.pdf[k] = compress_content(text);
    }
    lock.lock();
    if (used) {
      const std::size_t bytes = static_cast<std::size_t>(job.w) * job.h * 4;
      if (bytes != spare_bytes) spare.clear();
      spare_bytes = bytes;
      // As many as the threads can draw into at once.
      if (spare.size() < std::max<std::size_t>(threads.size(), 1)) spare.push_back(std::move(used));
    }
    if (task.part == kBand) {
      if (--job.bands_left == 0) {
        job.paths = {};
        // The image is whole: its PNG goes before the later pages' work (this thread
        // takes it next).
        tasks.push_front({task.job, kPng, 0});
      }
    } else if (--job.parts_left == 0) {
      job.ops.clear();
      (has_writer ? ready_cv : done_cv).notify_one();  // the writer, or the dialog
    }
  }

  // Whether the first page queued is encoded, to be written.
  bool encoded() const { return !jobs.empty() && jobs.front()->parts_left == 0; }

  void write_loop() {
    std::unique_lock<std::mutex> lock(mu);
    for (;;) {
      ready_cv.wait(lock, [&] { return encoded() || (stopping && jobs.empty()) || abandoned(); });
      if (jobs.empty() || abandoned()) break;
      write_next(lock);
    }
    writer_alive = false;
    const bool free_all = orphan;
    lock.unlock();
    if (free_all) delete this;
  }

  // Writes the first page queued. Under the lock, let go meanwhile.
  void write_next(std::unique_lock<std::mutex>& lock) {
    std::shared_ptr<Job> job = jobs.front();
    writing = true;
    cut_from = clock();
    busy_page = job->page;
    busy_png_done = false;
    jobs.pop_front();
    lock.unlock();
    write_job(*job);
    lock.lock();
    writing = false;
    done_cv.notify_all();
  }

  // The work of the threads that could not be started, done by the dialog: with no encoder,
  // every task queued; with no writer, every page encoded. Under the lock.
  void work_here(std::unique_lock<std::mutex>& lock) {
    if (threads.empty()) {
      while (!tasks.empty()) encode_next(lock);
    }
    if (!has_writer) {
      while (encoded() && !abandoned()) write_next(lock);
    }
  }

  // The writer is about to write `file` at `path`, which counts as progress (under the lock:
  // false once the writer is given up).
  bool start_file(const std::string& file, const std::string& path) {
    std::lock_guard<std::mutex> lock(mu);
    busy_file = file;
    busy_path = path;
    ++watch.progress;
    return !abandoned();
  }

  // The waits' clock (page_clock_ahead moves it in tests).
  static std::chrono::steady_clock::time_point clock() {
    return std::chrono::steady_clock::now() + std::chrono::nanoseconds(page_clock_ahead.load());
  }

  // Counts the slice of waiting from `from` to now, a wait of `length`, toward the bound: true
  // once the writer has written no byte for kBound of them. Under the lock.
  bool bound_passed(std::chrono::steady_clock::time_point from,
                    std::chrono::steady_clock::duration length) {
    const auto to = clock();  // before the look for a stop: see kBound
    if (auto* hook = page_slice_hook.load()) hook();
    const bool stopped = platform::continued();
    const std::uint64_t now = watch.progress.load();
    if (!writing || now != seen) {  // the encoders' work, which ends; or bytes written
      seen = now;
      still = {};
      return false;
    }
    still += stopped ? std::min(to - from, length) : to - from;
    return still >= kBound;
  }

  // Waits until `ready()` holds, true then; false when the writer is given up, meanwhile or
  // here, once it has written no byte for kBound of the waits' time (its file reported as
  // failed). Under the lock.
  template <class Ready>
  bool wait_bounded(std::unique_lock<std::mutex>& lock, Ready ready) {
    for (;;) {
      if (abandoned()) return false;
      work_here(lock);
      if (abandoned()) return false;  // given up in the dialog's own write
      if (ready()) return true;
      const auto from = clock();
      done_cv.wait_for(lock, kSlice);
      if (bound_passed(from, kSlice)) {
        give_up();
        return false;
      }
    }
  }

  // Where the dialog writes the pages itself (no writer thread), each write call cut short
  // with no byte taken counts its slice toward the bound as a wait does, all of it also after
  // calls that took bytes; the writer is given up here once the bound has passed. Otherwise
  // the call is tried again with a slice twice as long, or with all that is left of the bound
  // where a slice twice as long again would no longer fit after that one: on a folder that
  // gives a call up with nothing written when the signal comes (a FUSE folder, a `soft` NFS
  // mount), a call that takes a while is given the time to end, and one that never ends is
  // given up at the bound. On the dialog, the lock not held.
  void write_interrupted() {
    std::lock_guard<std::mutex> lock(mu);
    if (const std::uint64_t now = watch.progress.load(); now != seen) {
      seen = now;  // bytes taken before this call, none in its slice
      still = {};
      cut_from = clock() - watch.slice;
    }
    if (!abandoned() && bound_passed(cut_from, watch.slice)) give_up();
    if (!abandoned()) {
      const std::chrono::nanoseconds left = kBound - still, twice = 2 * watch.slice;
      watch.slice = 3 * twice > left ? left : twice;
    }
    cut_from = clock();
  }

  bool all_written() const { return jobs.empty() && !writing; }

  // Gives the writer up: its file is reported as failed, each page still queued is told as
  // not written. Under the lock.
  void give_up() {
    watch.given_up = true;
    const bool pdf_busy = busy_file == setup.pdf_name;
    failures.push_back({busy_file, "WHILE WRITING", kStuck, pdf_busy ? pdf_pages : 0});
    const std::string page = "plot page " + std::to_string(busy_page);
    notice(page + " could not be written to " + busy_file + " (" + kStuck + ")");
    if (pdf_busy && busy_png_done) {  // the page's PNG, written before its PDF was begun
      notice(busy_png_err.empty()
                 ? page + " written to " + busy_png_name
                 : page + " could not be written to " + busy_png_name + " (" + busy_png_err + ")");
    }
    for (const auto& job : jobs) not_written(job->page, job->png_name);
    jobs.clear();
    tasks.clear();
    done_cv.notify_all();
    ready_cv.notify_all();
    work_cv.notify_all();
  }

  // A page not written since the writer was given up, told.
  void not_written(int page, const std::string& png_name) {
    notice("plot page " + std::to_string(page) + " could not be written to " + png_name + " and " +
           setup.pdf_name + " (" + kGivenUp + ")");
  }

  // After the writer was given up, at the close: the hold on the files is let go, and the
  // hidden file of the write given up removed (the writer thread, should it go on, writes and
  // renames nothing more). Under the lock.
  void let_go() {
    hold.release();
    if (!busy_path.empty()) unlink(temp_name(busy_path).c_str());
  }

  // A page file whose name no longer holds it: told as failed (`stage`) with the reason, on
  // the standard error as `told`, and no longer among the files written.
  void lost(const std::string& file, const char* stage, const std::string& reason,
            const std::string& told) {
    {
      std::lock_guard<std::mutex> lock(mu);
      files.erase(std::remove(files.begin(), files.end(), file), files.end());
      failures.push_back({file, stage, reason, 0});
    }
    notice(told);
  }

  // Whether the page files written so far are still at their names: a file that another
  // program (another run, when no hold could be had) replaced or removed is told as failed,
  // once, and the PDF is then no longer written. The PDF and a few PNGs in turn at each page
  // (`all` false), every one at the close. By the writer thread, or after it ended.
  void check_names(const char* stage, bool all) {
    if (!pdf_failed) {
      if (const std::string why = pdf.taken(); !why.empty()) {
        pdf_failed = true;
        const std::string pages =
            pdf_pages == 1 ? "page 1 is" : "pages 1 to " + std::to_string(pdf_pages) + " are";
        lost(setup.pdf_name, stage, why + ": " + pages + " not in it",
             "plot " + pages + " no longer in " + setup.pdf_name + " (" + why + ")");
      }
    }
    constexpr std::size_t kPerPage = 8;
    for (std::size_t n = all ? pngs.size() : std::min(pngs.size(), kPerPage); n > 0; --n) {
      png_turn %= pngs.size();
      const PngFile& f = pngs[png_turn];
      if (const std::string why = f.lost(); !why.empty()) {
        lost(f.name, stage, why,
             "plot page " + std::to_string(f.page) + " is no longer in " + f.name + " (" + why +
                 ")");
        png_open -= f.open.fd >= 0;
        pngs.erase(pngs.begin() + static_cast<std::ptrdiff_t>(png_turn));
      } else {
        ++png_turn;
      }
    }
  }

  // Takes the run's hold on the page files, before the first page; false when another run
  // holds them or the lock's name holds one of this run's own files (then none of the window's
  // pages is written) or the writer was given up.
  // Holding them, it removes the hidden files earlier runs left beside them.
  bool take_hold() {
    FilesHold mine;
    const FilesHold::Take got = mine.take(hidden_name(setup.pdf_path, ".lock"));
    if (got == FilesHold::kHeld) remove_stale_temps(setup.pdf_path);
    const bool taken = got == FilesHold::kTaken || got == FilesHold::kRunsOwn;
    if (got == FilesHold::kRunsOwn) refusal = mine.own();
    std::lock_guard<std::mutex> lock(mu);
    if (abandoned()) return false;  // given up meanwhile: reported as failed already
    if (taken) failures.push_back({setup.pdf_name, "WHILE OPENING", refusal, 0});
    else hold = std::move(mine);
    return !taken;
  }

  // Room for one more PNG file kept open: where the run has no descriptor to spare for it,
  // the oldest one kept is closed, known from then on by its identity.
  void keep_room() {
    if (png_open == 0 || platform::may_keep_open(png_open)) return;
    for (PngFile& f : pngs) {
      if (f.open.fd < 0) continue;
      f.close_keeping_id();
      --png_open;
      return;
    }
  }

  void write_job(Job& job) {
    const std::string page = "plot page " + std::to_string(job.page);
    if (!start_file(job.png_name, job.png_path)) return;
    if (!hold_tried) {
      hold_tried = true;
      refused = !take_hold();
      if (refused && abandoned()) return;
    }
    if (refused) {
      notice(page + " could not be written to " + job.png_name + " and " + setup.pdf_name + " (" +
             refusal + ")");
      return;
    }
    check_names("WHILE WRITING", false);
    keep_room();
    int png_fd = -1;
    const std::string png_err = write_png(job.png_path, job.png, &png_fd, &watch);
    if (png_err.empty()) {
      pngs.push_back({job.page, job.png_name, job.png_path, Fd(png_fd), {}});
      ++png_open;
    }
    {
      std::lock_guard<std::mutex> lock(mu);
      if (abandoned()) return;  // given up meanwhile: reported as failed already
      busy_png_done = true;
      busy_png_err = png_err;
      busy_png_name = job.png_name;
      if (png_err.empty()) files.push_back(job.png_name);
      else failures.push_back({job.png_name, "WHILE WRITING", png_err, 0});
    }
    std::string pdf_err;
    const bool pdf_was_failed = pdf_failed;
    if (!pdf_failed) {
      std::vector<unsigned> glyphs;
      for (const auto& g : job.glyphs) glyphs.insert(glyphs.end(), g.begin(), g.end());
      std::vector<PdfForm> forms;
      std::vector<std::uint64_t> placed;
      for (const auto& d : job.drawings) {
        placed.push_back(d->number());
        if (pdf.has_form(d->number())) continue;
        PdfForm form;
        form.number = d->number();
        form.stream = compress_content(PdfContent(*d).form_content(form.bbox, glyphs));
        forms.push_back(std::move(form));
      }
      std::sort(glyphs.begin(), glyphs.end());
      glyphs.erase(std::unique(glyphs.begin(), glyphs.end()), glyphs.end());
      if (!start_file(setup.pdf_name, setup.pdf_path)) return;
      std::sort(placed.begin(), placed.end());
      placed.erase(std::unique(placed.begin(), placed.end()), placed.end());
      pdf_err = pdf.add_page(job.pdf, glyphs, forms, placed);
      pdf_failed = !pdf_err.empty();
    }
    {
      std::lock_guard<std::mutex> lock(mu);
      if (abandoned()) return;  // given up meanwhile: reported as failed already
      if (!pdf_failed && job.page == 1) files.push_back(setup.pdf_name);
      if (!pdf_err.empty()) failures.push_back({setup.pdf_name, "WHILE WRITING", pdf_err, pdf_pages});
      if (!pdf_failed) pdf_pages = job.page;
    }
    const bool pdf_ok = !pdf_was_failed && pdf_err.empty();
    if (png_err.empty() && pdf_ok) {
      notice(page + " written to " + job.png_name + " and " + setup.pdf_name);
      return;
    }
    if (!png_err.empty()) notice(page + " could not be written to " + job.png_name + " (" + png_err + ")");
    if (!pdf_ok && !pdf_was_failed) {
      notice(page + " could not be written to " + setup.pdf_name + " (" + pdf_err + ")");
    }
    if (pdf_ok) notice(page + " written to " + setup.pdf_name);
    if (!pdf_ok && png_err.empty()) notice(page + " written to " + job.png_name);
  }
};

PageWriter::PageWriter(Setup setup) : impl_(new Impl(std::move(setup))) {
  Impl* im = impl_;
  // The threads the system starts (under a process limit, maybe none): the dialog does the
  // work of those it does not. The writer first: with it, the waits on a write that never
  // ends are bounded wherever one thread can be started.
  im->has_writer = platform::start_thread(im->writer, [im] { im->write_loop(); }) == 0;
  if (!im->has_writer) {
    im->writer_alive = false;
    im->watch.interrupted = [im] { im->write_interrupted(); };
  }
  for (int i = worker_count(); i > 0; --i) {
    std::thread encoder;
    if (platform::start_thread(encoder, [im] { im->encode_loop(); }) != 0) break;
    im->threads.push_back(std::move(encoder));
  }
  const int n = std::max(static_cast<int>(im->threads.size()), 1);
  im->limit = static_cast<std::size_t>(2 * n + 2);
  // As many bands as threads (split to hold about the same drawing each): more bands would
  // draw the paths crossing their borders more often for little gain in time.
  im->bands = im->setup.bands > 0 ? im->setup.bands : n;
}

PageWriter::~PageWriter() {
  finish();
  {
    std::lock_guard<std::mutex> lock(impl_->mu);
    if (impl_->writer_alive) {  // a write given up: the writer frees all when it ends
      impl_->orphan = true;
      return;
    }
  }
  delete impl_;
}

void PageWriter::submit(int page, std::string png_name, std::string png_path, int w, int h,
                        PageOps ops) {
  auto job = std::make_shared<Impl::Job>();
  job->page = page;
  job->png_name = std::move(png_name);
  job->png_path = std::move(png_path);
  job->w = w;
  job->h = h;
  job->ops = std::move(ops);
  std::unique_lock<std::mutex> lock(impl_->mu);
  if (!impl_->wait_bounded(lock, [&] { return impl_->jobs.size() < impl_->limit; })) {
    impl_->not_written(page, job->png_name);
    return;
  }
  // As many bands as threads, fewer when other pages keep the threads busy (a fixed number
  // when the setup asks for one), each with about the same amount of drawing.
  const int wanted = impl_->setup.bands > 0
                         ? impl_->bands
                         : impl_->bands / static_cast<int>(impl_->jobs.size() + 1);
  lock.unlock();
  job->paths = job->ops.paths();
  // The PDF content in pieces, written side by side.
  job->pieces = PdfContent(job->ops).pieces(std::min<std::size_t>(
      job->ops.size() / std::max<std::size_t>(impl_->setup.piece, 1) + 1,
      4 * std::max<std::size_t>(impl_->threads.size(), 1)));
  job->pdf.resize(job->pieces.size());
  job->glyphs.resize(job->pieces.size());
  job->drawings = job->ops.drawings();
  job->parts_left = 1 + static_cast<int>(job->pieces.size());
  job->edges = wanted > 1 && h >= 128 ? PageOps::split(job->paths, wanted, h)
                                      : std::vector<int>{0, h};
  lock.lock();
  job->bands_left = static_cast<int>(job->edges.size()) - 1;
  impl_->jobs.push_back(job);
  for (std::size_t k = 0; k < job->pieces.size(); ++k)
    impl_->tasks.push_back({job, Impl::kPdf, static_cast<int>(k)});
  for (int b = 0; b < job->bands_left; ++b) impl_->tasks.push_back({job, Impl::kBand, b});
  // A thread for each task, no more: waking them all would wake some for nothing.
  for (std::size_t k = 0; k < job->pieces.size() + static_cast<std::size_t>(job->bands_left); ++k)
    impl_->work_cv.notify_one();
  impl_->work_here(lock);
}

void PageWriter::drain() {
  std::unique_lock<std::mutex> lock(impl_->mu);
  impl_->wait_bounded(lock, [&] { return impl_->all_written(); });
}

void PageWriter::finish() {
  if (impl_->finished) return;
  impl_->finished = true;
  std::unique_lock<std::mutex> lock(impl_->mu);
  impl_->wait_bounded(lock, [&] { return impl_->all_written(); });
  impl_->stopping = true;
  const bool abandoned = impl_->abandoned();
  if (abandoned) impl_->let_go();
  lock.unlock();
  impl_->work_cv.notify_all();
  impl_->ready_cv.notify_all();
  impl_->done_cv.notify_all();
  // The writer, when it was given up, is left to itself.
  for (std::thread& encoder : impl_->threads) encoder.join();
  if (impl_->writer.joinable()) {
    if (abandoned) platform::leave_behind(impl_->writer);
    else impl_->writer.join();
  }
  if (abandoned) return;  // the PDF stays with the writer
  impl_->check_names("WHILE CLOSING", true);
  impl_->pngs.clear();  // the PNG files kept open for the looks
  impl_->png_open = 0;
  const std::string err = impl_->pdf.close();
  if (!err.empty()) {
    impl_->notice("plot file " + impl_->setup.pdf_name + " could not be finished (" + err + ")");
    lock.lock();
    impl_->failures.push_back({impl_->setup.pdf_name, "WHILE CLOSING", err, impl_->pdf_pages});
  }
}

std::vector<std::string> PageWriter::files() const {
  std::lock_guard<std::mutex> lock(impl_->mu);
  return impl_->files;
}

std::vector<platform::FileFailure> PageWriter::take_failures() {
  std::lock_guard<std::mutex> lock(impl_->mu);
  if (const int e = impl_->notice_errno.load(); e != 0 && !impl_->notice_told) {
    impl_->notice_told = true;
    impl_->failures.push_back({kNotices, "WHILE WRITING",
                               std::string("page notices: ") + std::strerror(e),
                               impl_->notices_out.load()});
  }
  return std::exchange(impl_->failures, {});
}

}  // namespace korbast::pages
