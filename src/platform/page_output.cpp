#include "platform/page_output.hpp"

#include <fcntl.h>
#include <libdeflate.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace korbast::platform {

namespace {

void notice(const std::string& text) {
  std::fprintf(stderr, "korbast: %s\n", text.c_str());
  std::fflush(stderr);
}

// ---------------------------------------------------------------- deflate

// One compressor per thread and level (libdeflate's are not shared between threads).
struct Compressors {
  libdeflate_compressor* by_level[13] = {};
  ~Compressors() {
    for (auto* c : by_level)
      if (c) libdeflate_free_compressor(c);
  }
};

std::string zlib_compress(const void* data, std::size_t n, int level) {
  thread_local Compressors mine;
  libdeflate_compressor*& c = mine.by_level[level];
  if (!c) c = libdeflate_alloc_compressor(level);
  std::string out;
  if (!c) return out;
  out.resize(libdeflate_zlib_compress_bound(c, n));
  const std::size_t got = libdeflate_zlib_compress(c, data, n, out.data(), out.size());
  out.resize(got);
  return out;
}

constexpr int kPngLevel = 1;
constexpr int kPdfLevel = 1;

void put_be32(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v >> 24);
  s += static_cast<char>(v >> 16);
  s += static_cast<char>(v >> 8);
  s += static_cast<char>(v);
}

void png_chunk(std::string& out, const char* type, const std::string& data) {
  put_be32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t at = out.size();
  out.append(type, 4);
  out += data;
  put_be32(out, libdeflate_crc32(0, out.data() + at, data.size() + 4));
}

// ---------------------------------------------------------------- PDF texts

// A UTF-8 text as a PDF text string: UTF-16BE with its byte-order mark, in hex.
std::string pdf_text(std::string_view utf8) {
  static const char* hex = "0123456789ABCDEF";
  std::string out = "<FEFF";
  auto unit = [&](unsigned u) {
    for (int s = 12; s >= 0; s -= 4) out += hex[(u >> s) & 0xF];
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    unsigned cp = 0xFFFD;
    int len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 6 && i + 1 < utf8.size()) {
      cp = ((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
      len = 2;
    } else if ((c >> 4) == 14 && i + 2 < utf8.size()) {
      cp = ((c & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
      len = 3;
    } else if ((c >> 3) == 30 && i + 3 < utf8.size()) {
      cp = ((c & 0x07) << 18) | ((utf8[i + 1] & 0x3F) << 12) | ((utf8[i + 2] & 0x3F) << 6) |
           (utf8[i + 3] & 0x3F);
      len = 4;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit(0xD800 | (cp >> 10));
      unit(0xDC00 | (cp & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out + ">";
}

std::string fixed(double v, int decimals) {
  std::string s;
  put_number(s, v, decimals);
  return s;
}

bool write_all(int fd, const char* data, std::size_t n, off_t at) {
  while (n > 0) {
    const ssize_t got = pwrite(fd, data, n, at);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) {
      errno = ENOSPC;
      return false;
    }
    data += got;
    n -= static_cast<std::size_t>(got);
    at += got;
  }
  return true;
}

// The whole file or an error text.
std::string write_file(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return std::strerror(errno);
  bool ok = write_all(fd, bytes.data(), bytes.size(), 0);
  std::string err = ok ? "" : std::strerror(errno);
  if (close(fd) != 0 && ok) err = std::strerror(errno);
  return err;
}

int worker_count() {
  cpu_set_t set;
  int cpus = 1;
  if (sched_getaffinity(0, sizeof set, &set) == 0) cpus = CPU_COUNT(&set);
  // The drawing thread mostly waits while pages are replayed: one thread per core.
  return std::clamp(cpus, 1, 8);
}

}  // namespace

// ---------------------------------------------------------------- PNG

std::string encode_png(const unsigned char* data, int w, int h, int stride) {
  // Indexed colour first: pages are mostly white and few-coloured.
  std::string raw;
  raw.resize(static_cast<std::size_t>(h) * (w + 1));
  std::uint32_t keys[1024];
  std::uint8_t index[1024];
  std::memset(keys, 0xFF, sizeof keys);  // no colour is 0xFFFFFFFF (the top byte is 0)
  std::uint32_t palette[256];
  int colours = 0;
  bool indexed = true;
  std::uint32_t last = 0xFFFFFFFFu;
  std::uint8_t last_index = 0;
  for (int y = 0; y < h && indexed; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    char* out = raw.data() + static_cast<std::size_t>(y) * (w + 1);
    *out++ = 0;
    for (int x = 0; x < w; ++x) {
      const std::uint32_t v = row[x] & 0xFFFFFFu;
      if (v != last) {
        std::uint32_t slot = (v * 2654435761u) >> 22;
        while (keys[slot] != v && keys[slot] != 0xFFFFFFFFu) slot = (slot + 1) & 1023;
        if (keys[slot] != v) {
          if (colours == 256) {
            indexed = false;
            break;
          }
          keys[slot] = v;
          index[slot] = static_cast<std::uint8_t>(colours);
          palette[colours++] = v;
        }
        last = v;
        last_index = index[slot];
      }
      out[x] = static_cast<char>(last_index);
    }
  }
  std::string ihdr;
  put_be32(ihdr, static_cast<std::uint32_t>(w));
  put_be32(ihdr, static_cast<std::uint32_t>(h));
  ihdr += '\x08';                       // bit depth
  ihdr += indexed ? '\x03' : '\x02';    // palette or RGB
  ihdr += std::string(3, '\0');         // deflate, adaptive filters, no interlace
  std::string plte;
  if (indexed) {
    for (int i = 0; i < colours; ++i) {
      plte += static_cast<char>(palette[i] >> 16);
      plte += static_cast<char>(palette[i] >> 8);
      plte += static_cast<char>(palette[i]);
    }
  } else {
    // RGB rows with the "up" filter (byte minus the byte above).
    const std::size_t row_bytes = static_cast<std::size_t>(w) * 3 + 1;
    raw.assign(row_bytes * h, '\0');
    std::vector<unsigned char> prev(row_bytes, 0), cur(row_bytes, 0);
    for (int y = 0; y < h; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
      for (int x = 0; x < w; ++x) {
        cur[1 + 3 * x] = static_cast<unsigned char>(row[x] >> 16);
        cur[2 + 3 * x] = static_cast<unsigned char>(row[x] >> 8);
        cur[3 + 3 * x] = static_cast<unsigned char>(row[x]);
      }
      char* out = raw.data() + y * row_bytes;
      out[0] = 2;
      for (std::size_t i = 1; i < row_bytes; ++i) out[i] = static_cast<char>(cur[i] - prev[i]);
      std::swap(prev, cur);
    }
  }
  std::string png = "\x89PNG\r\n\x1a\n";
  png_chunk(png, "IHDR", ihdr);
  if (indexed) png_chunk(png, "PLTE", plte);
  png_chunk(png, "IDAT", zlib_compress(raw.data(), raw.size(), kPngLevel));
  png_chunk(png, "IEND", "");
  return png;
}

// ---------------------------------------------------------------- the PDF file

namespace {

// Objects: 1 catalogue, 2 page tree, 3 document information; then, page by page, the forms
// of the glyphs the page is the first to use, its content stream and its page dictionary.
class PdfFile {
 public:
  explicit PdfFile(const PageWriter::Setup& s) : s_(s) {}
  ~PdfFile() {
    if (fd_ >= 0) ::close(fd_);
  }

  // Appends a page; the error text when it could not be written (the file keeps its pages).
  std::string add_page(const std::vector<std::string>& streams, const std::vector<unsigned>& glyphs) {
    if (fd_ < 0) {
      fd_ = open(s_.pdf_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      if (fd_ < 0) return std::strerror(errno);
      std::string head = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
      offsets_.push_back(static_cast<long long>(head.size()));
      head += "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
      offsets_.push_back(0);  // the page tree: moves with every page
      offsets_.push_back(static_cast<long long>(head.size()));
      head += "3 0 obj\n<< /Title " + pdf_text(s_.title) +
              " /Creator (korbast) /Producer (korbast) >>\nendobj\n";
      if (!write_all(fd_, head.data(), head.size(), 0)) return std::strerror(errno);
      tail_at_ = static_cast<long long>(head.size());
    }
    const int page = pages_ + 1;
    std::vector<long long> offsets = offsets_;
    std::vector<std::pair<unsigned, int>> defined = glyph_objs_;
    std::string body;
    auto object = [&](const std::string& dict, const std::string& data) {
      offsets.push_back(tail_at_ + static_cast<long long>(body.size()));
      body += std::to_string(offsets.size()) + " 0 obj\n" + dict;
      if (!data.empty() || dict.find("/Length") != std::string::npos) {
        body += "\nstream\n";
        body += data;
        body += "\nendstream";
      }
      body += "\nendobj\n";
      return static_cast<int>(offsets.size());
    };
    std::string xobjects;
    for (unsigned g : glyphs) {
      auto it = std::lower_bound(defined.begin(), defined.end(), std::make_pair(g, 0));
      if (it == defined.end() || it->first != g) {
        const GlyphForm form = glyph_form(g);
        const int obj = object("<< /Type /XObject /Subtype /Form /BBox [" + form.bbox +
                                   "] /Length " + std::to_string(form.content.size()) + " >>",
                               form.content);
        it = defined.insert(it, {g, obj});
      }
      xobjects += " /g" + std::to_string(g) + " " + std::to_string(it->second) + " 0 R";
    }
    std::string contents;
    for (const std::string& stream : streams) {
      const int obj = object(
          "<< /Length " + std::to_string(stream.size()) + " /Filter /FlateDecode >>", stream);
      contents += (contents.empty() ? "" : " ") + std::to_string(obj) + " 0 R";
    }
    if (streams.size() != 1) contents = "[" + contents + "]";
    const std::string resources =
        xobjects.empty() ? "<< >>" : "<< /XObject <<" + xobjects + " >> >>";
    const int page_obj = object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " +
                                    fixed(s_.sheet_w, 3) + " " + fixed(s_.sheet_h, 3) +
                                    "] /Contents " + contents + " /Resources " +
                                    resources + " >>",
                                "");
    const long long tree_at = tail_at_ + static_cast<long long>(body.size());
    offsets[1] = tree_at;
    std::string kids = kids_ + " " + std::to_string(page_obj) + " 0 R";
    std::string tail = "2 0 obj\n<< /Type /Pages /Kids [" + kids + " ] /Count " +
                       std::to_string(page) + " >>\nendobj\n";
    const long long xref_at = tree_at + static_cast<long long>(tail.size());
    tail += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    char entry[32];
    for (long long off : offsets) {
      std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", off);
      tail += entry;
    }
    tail += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
            " /Root 1 0 R /Info 3 0 R >>\nstartxref\n" + std::to_string(xref_at) + "\n%%EOF\n";
    body += tail;
    // The previous tail is overwritten by this page; on a failure it is put back.
    if (!write_all(fd_, body.data(), body.size(), tail_at_) ||
        ftruncate(fd_, tail_at_ + static_cast<off_t>(body.size())) != 0) {
      const std::string err = std::strerror(errno);
      if (ftruncate(fd_, tail_at_) == 0 && !tail_.empty()) {
        (void)write_all(fd_, tail_.data(), tail_.size(), tail_at_);
      }
      return err;
    }
    pages_ = page;
    offsets_ = std::move(offsets);
    glyph_objs_ = std::move(defined);
    kids_ = std::move(kids);
    tail_ = std::move(tail);
    tail_at_ = tree_at;
    return "";
  }

  // Closes the file; the error text of the close.
  std::string close() {
    if (fd_ < 0) return "";
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? "" : std::strerror(errno);
  }

  bool holds_pages() const { return pages_ > 0; }

 private:
  PageWriter::Setup s_;
  int fd_ = -1;
  int pages_ = 0;
  long long tail_at_ = 0;
  std::vector<long long> offsets_;
  std::vector<std::pair<unsigned, int>> glyph_objs_;  // glyph index, form object; sorted
  std::string kids_;
  std::string tail_;
};

}  // namespace

// ---------------------------------------------------------------- the writer

struct PageWriter::Impl {
  enum Part { kPng, kPdf, kBand };
  struct Job {
    int page = 0;
    std::string png_name, png_path;
    std::unique_ptr<unsigned char[]> pixels;  // the page image, rows w * 4 bytes apart
    int w = 0, h = 0;
    std::vector<PageOps::PathSpan> paths;  // the page's paths
    std::vector<int> edges;                // the bands' row borders
    int bands_left = 1;
    PageOps ops;
    std::string png;
    std::vector<PageOps::Cursor> pieces;  // where the PDF content's pieces start
    std::vector<std::string> pdf;         // their streams, compressed
    std::vector<std::vector<unsigned>> glyphs;  // the glyphs each uses
    int parts_left = 1;  // the PNG (after the bands) and the PDF content's pieces
  };
  struct Task {
    std::shared_ptr<Job> job;
    Part part;
    int index = 0;  // the band, or the PDF content's piece
  };

  Setup setup;
  PdfFile pdf;
  bool pdf_failed = false;

  mutable std::mutex mu;
  std::condition_variable work_cv;  // tasks for the encoders, or the end
  std::condition_variable done_cv;  // a part encoded, a page written
  std::deque<std::shared_ptr<Job>> jobs;  // queued pages, in page order
  std::deque<Task> tasks;
  bool writing = false;
  bool stopping = false;
  bool halted = false;  // a stop signal: no page is taken any more
  std::size_t limit = 4;
  int bands = 1;
  std::vector<std::string> files;
  std::vector<std::thread> threads;

  explicit Impl(Setup s) : setup(std::move(s)), pdf(setup) {}

  // Rows [y0, y1) of the page image. The paths showing there, less those later fills paint
  // over there, are replayed whole, into a target that holds every row they reach and starts
  // at the page's top row: Cairo then makes the same pixels as for the whole page (paths cut
  // at a band's edge, or a target moved by a device offset, come out a little differently).
  static void replay_band(Job& job, int y0, int y1) {
    const int stride = job.w * 4;
    const std::vector<std::uint8_t> hidden = job.ops.hidden(job.paths, y0, y1, job.w);
    const int bottom = PageOps::reach(job.paths, hidden, y0, y1, job.h);
    const bool own = y0 > 0 || bottom > y1;
    cairo_surface_t* s =
        own ? cairo_image_surface_create(CAIRO_FORMAT_RGB24, job.w, bottom)
            : cairo_image_surface_create_for_data(job.pixels.get(), CAIRO_FORMAT_RGB24, job.w,
                                                  y1, stride);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
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

  void encode_loop() {
    std::unique_lock<std::mutex> lock(mu);
    for (;;) {
      work_cv.wait(lock, [&] { return stopping || !tasks.empty(); });
      if (tasks.empty()) return;
      Task task = tasks.front();
      tasks.pop_front();
      lock.unlock();
      Job& job = *task.job;
      if (task.part == kBand) {
        replay_band(job, job.edges[task.index], job.edges[task.index + 1]);
      } else if (task.part == kPng) {
        job.png = encode_png(job.pixels.get(), job.w, job.h, job.w * 4);
        job.pixels.reset();
      } else {
        const std::size_t k = static_cast<std::size_t>(task.index);
        const std::size_t to = k + 1 < job.pieces.size() ? job.pieces[k + 1].code : SIZE_MAX;
        const std::string text = job.ops.content(setup.scale, job.h, job.glyphs[k], job.pieces[k], to);
        job.pdf[k] = zlib_compress(text.data(), text.size(), kPdfLevel);
      }
      lock.lock();
      if (task.part == kBand) {
        if (--job.bands_left == 0) {
          job.paths = {};
          // The image is whole: its PNG goes before the later pages' work.
          tasks.push_front({task.job, kPng, 0});
          work_cv.notify_one();
        }
      } else if (--job.parts_left == 0) {
        job.ops.clear();
        done_cv.notify_all();
      }
    }
  }

  void write_loop() {
    std::unique_lock<std::mutex> lock(mu);
    for (;;) {
      done_cv.wait(lock, [&] {
        return (!jobs.empty() && jobs.front()->parts_left == 0) || (stopping && jobs.empty());
      });
      if (jobs.empty()) return;
      std::shared_ptr<Job> job = jobs.front();
      writing = true;
      jobs.pop_front();
      lock.unlock();
      write_job(*job);
      lock.lock();
      writing = false;
      done_cv.notify_all();
    }
  }

  void write_job(Job& job) {
    const std::string page = "plot page " + std::to_string(job.page);
    const std::string png_err = write_file(job.png_path, job.png);
    std::string pdf_err;
    const bool pdf_was_failed = pdf_failed;
    if (!pdf_failed) {
      std::vector<unsigned> glyphs;
      for (const auto& g : job.glyphs) glyphs.insert(glyphs.end(), g.begin(), g.end());
      std::sort(glyphs.begin(), glyphs.end());
      glyphs.erase(std::unique(glyphs.begin(), glyphs.end()), glyphs.end());
      pdf_err = pdf.add_page(job.pdf, glyphs);
      pdf_failed = !pdf_err.empty();
    }
    {
      std::lock_guard<std::mutex> lock(mu);
      if (png_err.empty()) files.push_back(job.png_name);
      if (!pdf_failed && job.page == 1) files.push_back(setup.pdf_name);
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
  const int n = worker_count();
  impl_->limit = static_cast<std::size_t>(2 * n + 2);
  // Twice as many bands as threads: taken as threads come free, they even out the work.
  impl_->bands = impl_->setup.bands > 0 ? impl_->setup.bands : 2 * n;
  for (int i = 0; i < n; ++i) impl_->threads.emplace_back([this] { impl_->encode_loop(); });
  impl_->threads.emplace_back([this] { impl_->write_loop(); });
}

PageWriter::~PageWriter() {
  finish();
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
  job->pixels.reset(new unsigned char[static_cast<std::size_t>(w) * h * 4]);
  job->ops = std::move(ops);
  std::unique_lock<std::mutex> lock(impl_->mu);
  impl_->done_cv.wait(lock, [&] { return !impl_->halted && impl_->jobs.size() < impl_->limit; });
  // As many bands as threads, fewer when other pages keep the threads busy (a fixed number
  // when the setup asks for one), each with about the same amount of drawing.
  const int wanted = impl_->setup.bands > 0
                         ? impl_->bands
                         : impl_->bands / static_cast<int>(impl_->jobs.size() + 1);
  lock.unlock();
  job->paths = job->ops.paths();
  // The PDF content in pieces, written side by side.
  job->pieces = job->ops.pieces(std::min<std::size_t>(
      job->ops.size() / std::max<std::size_t>(impl_->setup.piece, 1) + 1, 4 * impl_->threads.size()));
  job->pdf.resize(job->pieces.size());
  job->glyphs.resize(job->pieces.size());
  job->parts_left = 1 + static_cast<int>(job->pieces.size());
  job->edges = wanted > 1 && h >= 128 ? PageOps::split(job->paths, wanted, h)
                                      : std::vector<int>{0, h};
  lock.lock();
  job->bands_left = static_cast<int>(job->edges.size()) - 1;
  impl_->jobs.push_back(job);
  for (std::size_t k = 0; k < job->pieces.size(); ++k)
    impl_->tasks.push_back({job, Impl::kPdf, static_cast<int>(k)});
  for (int b = 0; b < job->bands_left; ++b) impl_->tasks.push_back({job, Impl::kBand, b});
  impl_->work_cv.notify_all();
}

void PageWriter::halt() {
  {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->halted = true;
  }
  drain();
}

void PageWriter::drain() {
  std::unique_lock<std::mutex> lock(impl_->mu);
  impl_->done_cv.wait(lock, [&] { return impl_->jobs.empty() && !impl_->writing; });
}

void PageWriter::finish() {
  if (impl_->threads.empty()) return;
  drain();
  {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->stopping = true;
  }
  impl_->work_cv.notify_all();
  impl_->done_cv.notify_all();
  for (auto& t : impl_->threads) t.join();
  impl_->threads.clear();
  const std::string err = impl_->pdf.close();
  if (!err.empty()) notice("plot file " + impl_->setup.pdf_name + " could not be finished (" + err + ")");
}

std::vector<std::string> PageWriter::files() const {
  std::lock_guard<std::mutex> lock(impl_->mu);
  return impl_->files;
}

}  // namespace korbast::platform
