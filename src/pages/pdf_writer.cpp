#include "pages/pdf_writer.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "pages/page_io.hpp"
#include "pages/pdf_font.hpp"

namespace korbast::pages {

namespace {

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

}  // namespace

// ---------------------------------------------------------------- the file

PdfFile::PdfFile(std::string path, std::string title, double sheet_w, double sheet_h,
                 WriteWatch* watch)
    : path_(std::move(path)),
      title_(std::move(title)),
      sheet_w_(sheet_w),
      sheet_h_(sheet_h),
      watch_(watch) {}

PdfFile::~PdfFile() {
  if (fd_ >= 0) ::close(fd_);
}

// The bytes a page appends, made apart from the file: objects (each where it will stand in
// the file), and the cross-reference section and trailer ending each update.
class PdfFile::Update {
 public:
  // Bytes that will follow the file's first `end` bytes, whose last cross-reference section
  // is at `prev` (-1 for a new file).
  Update(long long end, long long prev) : end_(end), prev_(prev) {}

  // Writes object `num` of this dictionary, with a stream of `data` where it has one.
  int object(int num, const std::string& dict, const std::string& data) {
    at_.emplace_back(num, end_ + static_cast<long long>(body.size()));
    body += std::to_string(num) + " 0 obj\n" + dict;
    if (!data.empty() || dict.find("/Length") != std::string::npos) {
      body += "\nstream\n";
      body += data;
      body += "\nendstream";
    }
    body += "\nendobj\n";
    return num;
  }
  // Marks the head of the free list, for the first update of a file.
  void free_head() { at_.emplace_back(0, 0); }
  // Ends the update: its cross-reference section, in runs of consecutive object numbers,
  // pointing back to the one before; its trailer (objects up to `objects`) and end.
  void end(int objects) {
    const long long xref_at = end_ + static_cast<long long>(body.size());
    std::sort(at_.begin(), at_.end());
    body += "xref\n";
    char entry[32];
    for (std::size_t i = 0; i < at_.size();) {
      std::size_t j = i + 1;
      while (j < at_.size() && at_[j].first == at_[j - 1].first + 1) ++j;
      body += std::to_string(at_[i].first) + " " + std::to_string(j - i) + "\n";
      for (; i < j; ++i) {
        if (at_[i].first == 0) std::snprintf(entry, sizeof entry, "0000000000 65535 f \n");
        else std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", at_[i].second);
        body += entry;
      }
    }
    body += "trailer\n<< /Size " + std::to_string(objects + 1) + " /Root 1 0 R /Info 3 0 R";
    if (prev_ >= 0) body += " /Prev " + std::to_string(prev_);
    body += " >>\nstartxref\n" + std::to_string(xref_at) + "\n%%EOF\n";
    at_.clear();
    prev_ = xref_at;
  }
  long long last_xref() const { return prev_; }

  std::string body;

 private:
  long long end_;
  long long prev_;
  std::vector<std::pair<int, long long>> at_;  // object, offset: what the update writes
};

std::string PdfFile::add_page(const std::vector<std::string>& streams,
                              const std::vector<unsigned>& glyphs,
                              const std::vector<PdfForm>& forms,
                              const std::vector<std::uint64_t>& placed) {
  const bool first = fd_ < 0;
  if (first) {
    if (std::string err = open_file(); !err.empty()) return err;
  }
  // The page goes in as two updates, made apart and committed only once both are in the
  // file. The first holds the page's own objects under new numbers, so that readers which
  // rebuild a cut file's cross-reference table from its objects find the page tree as it
  // was; the second rewrites the page tree nodes above the page, and is short enough that
  // in a copy cut inside it readers still find the first one's startxref near the end.
  State st = state_;
  Update u(end_, first ? -1 : state_.xref_at);
  if (first) put_head(u);
  // The font, the forms and the one resource dictionary the pages share: each written
  // anew only when a page needs more of them. The resources name the font and the forms
  // this page places; the next pages share them while they place no other form (documents
  // placing ever new forms get resources per page, not ever longer ones).
  const bool fresh = put_font(u, st, glyphs);
  put_forms(u, st, forms);
  if (fresh || !std::includes(st.resource_forms.begin(), st.resource_forms.end(), placed.begin(),
                              placed.end())) {
    put_resources(u, st, placed);
  }
  const int page_obj = put_page(u, st, streams);
  u.end(st.objects);
  put_tree(u, st, page_obj);
  u.end(st.objects);
  st.xref_at = u.last_xref();
  return append(u.body, std::move(st));
}

std::string PdfFile::open_file() {
  // The file is made under a hidden name beside its own and takes its name with its first
  // page (append): the name never holds a file without a whole page, and a file of an
  // earlier run stands until then. Whatever is at the name is replaced by the rename, never
  // written through: a link itself and not its target, a FIFO or a device node (a PDF is
  // written with seeks, which a pipe cannot take, and a FIFO without a reader would keep
  // the writer waiting for ever).
  temp_ = temp_name(path_);
  fd_ = open_temp(temp_);
  if (fd_ < 0) {
    temp_.clear();
    return std::strerror(errno);
  }
  return "";
}

void PdfFile::put_head(Update& u) const {
  u.body = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  u.free_head();
  u.object(1, "<< /Type /Catalog /Pages 2 0 R >>", "");
  u.object(2, "<< /Type /Pages /Kids [ ] /Count 0 >>", "");
  u.object(3, "<< /Title " + pdf_text(title_) + " /Creator (korbast) /Producer (korbast) >>", "");
}

bool PdfFile::put_font(Update& u, State& st, const std::vector<unsigned>& glyphs) {
  if (glyphs.empty() ||
      std::includes(st.font_glyphs.begin(), st.font_glyphs.end(), glyphs.begin(), glyphs.end())) {
    return false;
  }
  std::vector<unsigned> all = st.font_glyphs;
  all.insert(all.end(), glyphs.begin(), glyphs.end());
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  const PdfFont font = pdf_font(all);
  if (!font.ok) return false;
  const std::string file = compress_content(font.truetype);
  const int file_obj = u.object(++st.objects,
                                "<< /Length " + std::to_string(file.size()) + " /Length1 " +
                                    std::to_string(font.truetype.size()) +
                                    " /Filter /FlateDecode >>",
                                file);
  const int descriptor = u.object(
      ++st.objects,
      "<< /Type /FontDescriptor /FontName /" + font.name + " /Flags 32 /FontBBox [" + font.bbox +
          "] /ItalicAngle 0 /Ascent " + std::to_string(font.ascent) + " /Descent " +
          std::to_string(font.descent) + " /CapHeight " + std::to_string(font.cap_height) +
          " /StemV 80 /FontFile2 " + std::to_string(file_obj) + " 0 R >>",
      "");
  const int cid = u.object(
      ++st.objects,
      "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + font.name +
          " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
          " /FontDescriptor " + std::to_string(descriptor) + " 0 R /CIDToGIDMap /Identity /W " +
          font.widths + " >>",
      "");
  const std::string cmap = compress_content(font.to_unicode);
  const int unicode = u.object(
      ++st.objects, "<< /Length " + std::to_string(cmap.size()) + " /Filter /FlateDecode >>",
      cmap);
  st.font_obj = u.object(++st.objects,
                         "<< /Type /Font /Subtype /Type0 /BaseFont /" + font.name +
                             " /Encoding /Identity-H /DescendantFonts [" + std::to_string(cid) +
                             " 0 R] /ToUnicode " + std::to_string(unicode) + " 0 R >>",
                         "");
  st.font_glyphs = std::move(all);
  return true;
}

void PdfFile::put_forms(Update& u, State& st, const std::vector<PdfForm>& forms) const {
  for (const PdfForm& form : forms) {
    if (has_form(form.number)) continue;
    std::string font;
    if (st.font_obj > 0) {
      font = " /Resources << /Font << /F1 " + std::to_string(st.font_obj) + " 0 R >> >>";
    }
    const int obj = u.object(++st.objects,
                             "<< /Type /XObject /Subtype /Form /BBox [" + form.bbox + "]" + font +
                                 " /Length " + std::to_string(form.stream.size()) +
                                 " /Filter /FlateDecode >>",
                             form.stream);
    st.form_objs.emplace(form.number, obj);
  }
}

void PdfFile::put_resources(Update& u, State& st, const std::vector<std::uint64_t>& placed) {
  std::string dict = "<<";
  if (st.font_obj > 0) dict += " /Font << /F1 " + std::to_string(st.font_obj) + " 0 R >>";
  st.resource_forms.clear();
  for (const std::uint64_t number : placed) {
    const auto it = st.form_objs.find(number);
    if (it == st.form_objs.end()) continue;
    if (st.resource_forms.empty()) dict += " /XObject <<";
    dict += " /D" + std::to_string(number) + " " + std::to_string(it->second) + " 0 R";
    st.resource_forms.push_back(number);
  }
  if (!st.resource_forms.empty()) dict += " >>";
  st.resources_obj = u.object(++st.objects, dict + " >>", "");
}

int PdfFile::put_page(Update& u, State& st, const std::vector<std::string>& streams) const {
  std::string contents;
  for (const std::string& stream : streams) {
    const int obj = u.object(
        ++st.objects, "<< /Length " + std::to_string(stream.size()) + " /Filter /FlateDecode >>",
        stream);
    contents += (contents.empty() ? "" : " ") + std::to_string(obj) + " 0 R";
  }
  if (streams.size() != 1) contents = "[" + contents + "]";
  // The page tree: the root (object 2) over kLevels levels of nodes of up to kFan kids, the
  // pages below the last. New nodes where the last ones are full.
  int full = 0;
  while (full < kLevels && (st.last[full].num == 0 || st.last[full].kids.size() == kFan)) ++full;
  for (int l = full - 1; l >= 0; --l) {
    st.last[l] = Node{++st.objects, {}, 0};
    (l + 1 < kLevels ? st.last[l + 1] : st.root).kids.push_back(st.last[l].num);
  }
  const std::string resources =
      st.resources_obj > 0 ? std::to_string(st.resources_obj) + " 0 R" : "<< >>";
  return u.object(++st.objects, "<< /Type /Page /Parent " + std::to_string(st.last[0].num) +
                                   " 0 R /MediaBox [0 0 " + fixed(sheet_w_, 3) + " " +
                                   fixed(sheet_h_, 3) + "] /Contents " + contents +
                                   " /Resources " + resources + " >>",
                  "");
}

void PdfFile::put_tree(Update& u, State& st, int page_obj) {
  st.last[0].kids.push_back(page_obj);
  for (Node& n : st.last) ++n.count;
  ++st.root.count;
  auto node = [&](const Node& n, int parent) {
    std::string d = "<< /Type /Pages";
    if (parent > 0) d += " /Parent " + std::to_string(parent) + " 0 R";
    d += " /Kids [";
    for (int k : n.kids) d += " " + std::to_string(k) + " 0 R";
    u.object(n.num, d + " ] /Count " + std::to_string(n.count) + " >>", "");
  };
  for (int l = 0; l < kLevels; ++l) node(st.last[l], l + 1 < kLevels ? st.last[l + 1].num : 2);
  node(st.root, 0);
}

std::string PdfFile::append(const std::string& body, State&& next) {
  // Appended after all that is written; a failed append is cut off again, so that the
  // file keeps its pages and ends with the last one's update.
  const bool wrote = write_all(fd_, body.data(), body.size(), end_, path_, watch_);
  std::string err = wrote ? "" : std::strerror(errno);
  // The first page gives the file its name (once its bytes are all written), and the name
  // must then hold it: someone who can write the folder may have put another file under the
  // hidden name before the rename.
  if (wrote && !temp_.empty()) {
    err = put_in_place(temp_, path_, watch_);
    if (err.empty()) {
      temp_.clear();
      err = name_lost(path_, fd_);
    }
  }
  if (!err.empty()) {
    // A writer given up leaves the file as it is.
    if (!(watch_ && watch_->given_up.load()) && ftruncate(fd_, end_) != 0) {
      // The bytes stay after the last update: readers look past them.
    }
    if (pages_ == 0) {
      ::close(fd_);
      fd_ = -1;
      if (!temp_.empty()) unlink(temp_.c_str());  // no page reached it: no file is left
      temp_.clear();
    }
    return err;
  }
  ++pages_;
  end_ += static_cast<long long>(body.size());
  state_ = std::move(next);
  return "";
}

std::string PdfFile::taken() const {
  return fd_ < 0 || pages_ == 0 ? "" : name_lost(path_, fd_);
}

bool PdfFile::has_form(std::uint64_t number) const { return state_.form_objs.count(number) != 0; }

std::string PdfFile::close() {
  if (fd_ < 0) return "";
  const int fd = fd_;
  fd_ = -1;
  return ::close(fd) == 0 ? "" : std::strerror(errno);
}

}  // namespace korbast::pages
