// Page files written beside the dialog: the PNG decodes to the page, the PDF page rasterises
// to it, the PDF is readable after every finished page (also when SIGINT or SIGTERM ends a
// run), and failed writes are told once per file while the other files are written.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "pages/page_io.hpp"
#include "pages/pdf_content.hpp"
#include "pages/pdf_writer.hpp"
#include "page_files.hpp"

namespace korbast::pages {
namespace {

TEST(PageOutput, PngIsThePageAndThePdfPageAgreesWithIt) {
  Dir d;
  // Whole pages: the second and third are drawn on the image the one before left.
  auto c = canvas(d, 200, 150, "pix.ps", 10.0, 1);
  for (int page = 1; page <= 3; ++page) {
    c->context_begin(page != 2);  // pages 1 and 3 anti-aliased (many colours), 2 not
    draw_page(*c, page, page == 3);
    // A text on white along the bottom, long enough that a clip short of its end cuts glyphs.
    c->clear_white(0, 0, 200, 16);
    c->set_font_size(10);
    c->text_show(3, 4, 0.0, "Data 1 -> 25000, korbast 45\xA1N");
    c->write_page();
    c->wait_for_files();
    cairo_surface_t* img = c->page_image();
    cairo_surface_flush(img);
    const std::string name = d / ("pix_w1_p00" + std::to_string(page) + ".png");
    cairo_surface_t* png = cairo_image_surface_create_from_png(name.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << name;
    ASSERT_EQ(cairo_image_surface_get_width(png), 200);
    ASSERT_EQ(cairo_image_surface_get_height(png), 150);
    cairo_surface_flush(png);
    int differing = 0, inked = 0;
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 200; ++x) {
        differing += px(png, x, y) != px(img, x, y);
        inked += px(img, x, y) != 0xFFFFFF;
      }
    EXPECT_EQ(differing, 0) << "page " << page;
    EXPECT_GT(inked, 3000);

    if (have_tool("pdftoppm")) {
      // 10 pixels per cm at 25.4 dpi: one raster pixel per window pixel, the window at the
      // lower-left corner of the sheet.
      const std::string out = d / ("r" + std::to_string(page));
      run("pdftoppm -r 25.4 -png -f " + std::to_string(page) + " -l " + std::to_string(page) +
          " -singlefile '" + (d / "pix_w1.pdf") + "' '" + out + "'");
      cairo_surface_t* ras = cairo_image_surface_create_from_png((out + ".png").c_str());
      ASSERT_EQ(cairo_surface_status(ras), CAIRO_STATUS_SUCCESS);
      const int rh = 297;  // the sheet's 297 mm (the raster may have one more, partial row)
      cairo_surface_flush(ras);
      // Edges differ by anti-aliasing; a shifted, mirrored or missing drawing differs in
      // far more pixels. And no ink is missing: a pixel dark in the image (all three channels
      // below 64, as the texts' black) is not white in the raster (all from 240), as the
      // glyphs cut off a text clipped short would leave it.
      int far = 0, lost = 0;
      for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
          const std::uint32_t a = px(img, x, y), b = px(ras, x, rh - 150 + y);
          int dmax = 0;
          for (int s = 0; s < 24; s += 8)
            dmax = std::max(dmax, std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)));
          far += dmax > 128;
          lost += (a & 0xC0C0C0) == 0 && (b & 0xF0F0F0) == 0xF0F0F0;
        }
      EXPECT_LT(far, inked / 20) << "page " << page << ": " << far << " of " << inked;
      EXPECT_LT(lost, 20) << "page " << page << ": " << lost << " dark pixels white in the PDF";
      cairo_surface_destroy(ras);
    }
    cairo_surface_destroy(png);
    c->clear_white(0, 0, 200, 150);
    // The PNG records its resolution before the pixels: 10 pixels per cm, 1000 (0x3E8) per
    // metre, both ways.
    const std::string bytes = file_bytes(name);
    const auto phys = bytes.find("pHYs");
    EXPECT_LT(phys, bytes.find("IDAT"));
    EXPECT_EQ(bytes.substr(phys - 4, 17), std::string("\0\0\0\x09pHYs\0\0\x03\xE8\0\0\x03\xE8\x01", 17));
  }
  c->window_dispose();
  EXPECT_EQ(pdf_pages(d / "pix_w1.pdf"), 3);
  if (have_tool("pdftotext")) {
    // The word "Page" of size 14 as poppler places it by the PDF font's widths: as wide as
    // FreeType's advances make it (through Cairo), one pixel a millimetre, 72 points an inch.
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 4, 4);
    cairo_t* cr = cairo_create(s);
    setup_page_context(cr, true);
    cairo_set_font_size(cr, 14);
    cairo_text_extents_t e;
    cairo_text_extents(cr, "Page", &e);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    const std::string box = run("pdftotext -bbox -f 1 -l 1 '" + (d / "pix_w1.pdf") + "' - 2>&1");
    const auto word = box.rfind("<word", box.find(">Page</word>"));
    ASSERT_NE(word, std::string::npos) << box;
    double x0 = 0, x1 = 0;
    ASSERT_EQ(std::sscanf(box.c_str() + word, "<word xMin=\"%lf\" yMin=\"%*f\" xMax=\"%lf\"", &x0, &x1),
              2);
    EXPECT_NEAR(x1 - x0, e.x_advance * 72 / 25.4, 0.5) << box.substr(word, 100);
  }
}

TEST(PageOutput, PdfIsReadableAfterEveryFinishedPageWhileTheWindowStaysOpen) {
  if (!have_tool("pdfinfo")) GTEST_SKIP() << "pdfinfo not installed";
  Dir d;
  auto c = canvas(d, 300, 200, "open.ps", 10.0);
  for (int page = 1; page <= 3; ++page) {
    draw_page(*c, page, false);
    c->write_page();
    c->wait_for_files();
    EXPECT_EQ(pdf_pages(d / "open_w1.pdf"), page);
    c->clear_white(0, 0, 300, 200);
  }
  c->window_dispose();
  EXPECT_EQ(pdf_pages(d / "open_w1.pdf"), 3);
  // The page font goes in again only with a page that shows glyphs it lacks: pages 2 and 3
  // bring their page number's digit.
  std::ifstream in(d / "open_w1.pdf", std::ios::binary);
  const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int fonts = 0;
  for (auto at = pdf.find("/FontFile2"); at != std::string::npos; at = pdf.find("/FontFile2", at + 1)) {
    ++fonts;
  }
  EXPECT_EQ(fonts, 3);
}

// Page files removed from under the run are told as removed when the next page is written,
// the PDF with all its pages, and are no longer counted among the files written; a file an
// earlier process of this number left at a page's hidden name is replaced. At the close every
// PNG file is looked at, also in a window of more than the few looked at with each page.
TEST(PageOutput, PageFilesRemovedFromUnderTheRunAreToldAsRemoved) {
  Dir d;
  auto c = canvas(d, 300, 200, "gone.ps", 10.0);
  ::testing::internal::CaptureStderr();
  for (int page = 1; page <= 2; ++page) {
    draw_page(*c, page, false);
    c->write_page();
    c->wait_for_files();
    c->clear_white(0, 0, 300, 200);
  }
  fs::remove(d.path / "gone_w1.pdf");
  fs::remove(d.path / "gone_w1_p001.png");
  std::ofstream(d.path / (".gone_w1_p003.png.tmp-" + std::to_string(getpid()))) << "left";
  draw_page(*c, 3, false);
  c->window_dispose();
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("korbast: plot pages 1 to 2 are no longer in gone_w1.pdf (Removed by another program)\n"),
            std::string::npos) << err;
  EXPECT_NE(err.find("korbast: plot page 1 is no longer in gone_w1_p001.png (Removed by another program)\n"),
            std::string::npos) << err;
  const auto failed = c->take_file_failures();
  ASSERT_EQ(failed.size(), 2u);
  EXPECT_EQ(failed[0].file, "gone_w1.pdf");
  EXPECT_EQ(failed[0].reason, "Removed by another program: pages 1 to 2 are not in it");
  EXPECT_EQ(failed[1].file, "gone_w1_p001.png");
  EXPECT_EQ(failed[1].reason, "Removed by another program");
  const auto files = c->files_written();
  EXPECT_EQ(std::count(files.begin(), files.end(), "gone_w1_p001.png"), 0);
  EXPECT_TRUE(fs::exists(d.path / "gone_w1_p002.png"));
  EXPECT_TRUE(fs::exists(d.path / "gone_w1_p003.png"));

  c->window_open({0, 0, 200, 300}, "thirty", {"gone.ps", 10.0, false});
  ::testing::internal::CaptureStderr();
  for (int page = 1; page <= 30; ++page) {
    draw_page(*c, page, false);
    c->write_page();
    c->clear_white(0, 0, 300, 200);
  }
  c->wait_for_files();
  int removed = 0;
  for (int page = 1; page <= 30; ++page) {
    char png[32];
    std::snprintf(png, sizeof png, "gone_w2_p%03d.png", page);
    removed += fs::remove(d.path / png);
  }
  ASSERT_EQ(removed, 30);
  c->window_dispose();
  err = ::testing::internal::GetCapturedStderr();
  const auto lost = c->take_file_failures();
  EXPECT_EQ(lost.size(), 30u);
  for (int page = 1; page <= 30; ++page) {
    char png[32];
    std::snprintf(png, sizeof png, "gone_w2_p%03d.png", page);
    const std::string notice = "korbast: plot page " + std::to_string(page) + " is no longer in " +
                               png + " (Removed by another program)\n";
    EXPECT_NE(err.find(notice), std::string::npos) << notice;
    EXPECT_EQ(std::count_if(lost.begin(), lost.end(), [&](const platform::FileFailure& f) {
                return f.file == png && f.reason == "Removed by another program";
              }), 1) << png;
  }
}

// Each page is appended to the PDF after all that is already in it: a copy cut at any byte
// (a stop, a full disk, a copy taken while the run goes on) holds every page appended before
// the cut, for pdfinfo, qpdf (and ghostscript when it is installed).
TEST(PageOutput, PdfCutAnywhereHoldsEveryPageAppendedBeforeTheCut) {
  if (!have_tool("pdfinfo") || !have_tool("qpdf")) GTEST_SKIP() << "pdfinfo or qpdf not installed";
  Dir d;
  auto c = canvas(d, 300, 200, "cut.ps", 10.0);
  std::vector<std::size_t> ends;  // the file's size after each page
  for (int page = 1; page <= 4; ++page) {
    draw_page(*c, page, page == 3);
    c->write_page();
    c->wait_for_files();
    ends.push_back(fs::file_size(d.path / "cut_w1.pdf"));
    c->clear_white(0, 0, 300, 200);
  }
  c->window_dispose();
  const std::string pdf = file_bytes(d / "cut_w1.pdf");
  ASSERT_EQ(pdf.size(), ends.back());
  EXPECT_EQ(pdf_pages(d / "cut_w1.pdf"), 4);
  // Cuts across the last two pages' updates, closer together near their ends (the page
  // tree, the cross-reference section, the trailer).
  std::vector<std::size_t> cuts;
  for (std::size_t at = ends[1]; at < ends[3]; at += (ends[3] - ends[1]) / 23) cuts.push_back(at);
  for (int k : {2, 3})
    for (std::size_t back = 1; back < 1200; back = back * 3 / 2 + 1) cuts.push_back(ends[k] - back);
  cuts.push_back(ends[2]);
  const bool gs = have_tool("gs");
  int gs_runs = 0;
  // A page is in a copy cut after its update ends; a reader may also find it in a copy cut
  // inside the update's last "startxref" line (all its objects are there).
  std::vector<std::size_t> tails;
  for (std::size_t e : ends) tails.push_back(pdf.rfind("startxref", e));
  for (std::size_t cut : cuts) {
    const int want = static_cast<int>(std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin());
    const int most = static_cast<int>(std::upper_bound(tails.begin(), tails.end(), cut) - tails.begin());
    const std::string copy = d / "copy.pdf";
    std::ofstream(copy, std::ios::binary).write(pdf.data(), static_cast<std::streamsize>(cut));
    const int poppler = poppler_pages(copy);
    EXPECT_TRUE(poppler == want || poppler == most) << "pdfinfo: " << poppler << ", cut at " << cut;
    const Qpdf q = qpdf(copy);
    EXPECT_TRUE(q.status == 0 || q.status == 3) << "cut at " << cut << "\n" << q.out;
    EXPECT_TRUE(q.pages == want || q.pages == most) << "qpdf: " << q.pages << ", cut at " << cut;
    if (gs && gs_runs++ % 8 == 0) {
      const std::string n = run("gs -q -dNODISPLAY -dNOSAFER -c '(" + copy +
                                ") (r) file runpdfbegin pdfpagecount = quit' 2>/dev/null");
      const int g = std::atoi(n.c_str());
      EXPECT_TRUE(g == want || g == most) << "ghostscript: " << g << ", cut at " << cut;
    }
  }
}

// A page file that cannot be written is told once, on the standard error and among the
// device's failed files, and nothing is left under its name; the other files are written.
TEST(PageOutput, FailedWritesAreToldOncePerFileAndTheOtherFilesWritten) {
  Dir d;
  fs::create_directory(d.path / "full_w1.pdf");
  fs::create_directory(d.path / "full_w2_p001.png");
  auto c = canvas(d, 300, 200, "full.ps", 10.0);
  ::testing::internal::CaptureStderr();
  draw_pages_and_close(*c, 2, false);
  c->window_open({0, 0, 200, 300}, "second", {"full.ps", 10.0, false});
  draw_pages_and_close(*c, 2, false);
  const std::string err = ::testing::internal::GetCapturedStderr();
  const std::string dir = std::strerror(EISDIR);
  EXPECT_EQ(err,
            "korbast: plot page 1 could not be written to full_w1.pdf (" + dir + ")\n"
            "korbast: plot page 1 written to full_w1_p001.png\n"
            "korbast: plot page 2 written to full_w1_p002.png\n"
            "korbast: plot page 1 could not be written to full_w2_p001.png (" + dir + ")\n"
            "korbast: plot page 1 written to full_w2.pdf\n"
            "korbast: plot page 2 written to full_w2_p002.png and full_w2.pdf\n");
  std::string told;
  for (const platform::FileFailure& f : c->take_file_failures())
    told += f.file + "|" + f.stage + "|" + f.reason + "|" + std::to_string(f.pages) + "\n";
  EXPECT_EQ(told, "full_w1.pdf|WHILE WRITING|" + dir + "|0\nfull_w2_p001.png|WHILE WRITING|" + dir + "|0\n");
  EXPECT_TRUE(c->take_file_failures().empty()) << "each failure is told once";
  EXPECT_TRUE(fs::is_directory(d.path / "full_w1.pdf"));
  EXPECT_TRUE(fs::is_directory(d.path / "full_w2_p001.png"));
  EXPECT_TRUE(fs::exists(d.path / "full_w1_p002.png"));
  EXPECT_EQ(hidden_files(d.path), 0);
  EXPECT_EQ(pdf_pages(d / "full_w2.pdf"), 2);

  // Under a file size limit (its signal ignored): a PDF whose first page does not fit is not
  // left, one whose second page fits half ends with the first. The sizes come from the same
  // pages written without a limit.
  auto pages = [&](const char* name, const std::string& pdf) {
    c->window_open({0, 0, 200, 300}, "limit", {name, 10.0, false});
    std::uintmax_t size[2] = {0, 0};
    for (int page = 1; page <= 2; ++page) {
      draw_page(*c, page, true);
      c->write_page();
      c->wait_for_files();
      if (!pdf.empty()) size[page - 1] = fs::file_size(d.path / pdf);
      c->clear_white(0, 0, 300, 200);
    }
    c->window_dispose();
    return std::pair{size[0], size[1]};
  };
  const auto [one, two] = pages("free.ps", "free_w3.pdf");
  ASSERT_GT(one, 1000u);
  ASSERT_GT(two, one);
  auto old_xfsz = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  for (const rlim_t size : {rlim_t{1000}, rlim_t{(one + two) / 2}}) {
    const rlimit limit{size, old_limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    pages(size == 1000 ? "nopg.ps" : "onep.ps", "");
    setrlimit(RLIMIT_FSIZE, &old_limit);
  }
  std::signal(SIGXFSZ, old_xfsz);
  EXPECT_FALSE(fs::exists(d.path / "nopg_w4.pdf"));
  EXPECT_EQ(pdf_pages(d / "onep_w5.pdf"), 1);
  EXPECT_EQ(hidden_files(d.path), 0);
}

// A link at a page file's name is never written through, whatever it points to (a device, a
// FIFO, a regular file): the page files take the place of the links themselves, and what
// they pointed to is left as it was. A FIFO at the names themselves is replaced as well (a
// PDF cannot be written into a pipe, and one without a reader would never be opened). The
// hidden files that runs which ended left under the temporary names of a window's page files,
// files or links (dangling, or to a folder), are removed by the run that takes the window's
// files; a folder or another name is left.
TEST(PageOutput, LinksAtThePageNamesAreReplacedNotFollowed) {
  Dir d;
  const fs::path fifo = d.path / "fifo", plain = d.path / "plain.txt";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::ofstream(plain) << "kept";
  const fs::path targets[] = {"/dev/null", fifo, plain, ""};
  const std::string left[] = {".link_w1.pdf.tmp-5x", ".link_w12.pdf.tmp-6", ".link_w1_p.png.tmp-7"};
  for (const std::string& name : left) std::ofstream(d.path / name) << "left";
  fs::create_directory(d.path / ".link_w1.pdf.tmp-5");
  std::ofstream(d.path / ".link_w1.pdf.tmp-4000000") << "stale";
  std::ofstream(d.path / ".link_w1_p0009.png.tmp-2") << "stale";
  fs::create_symlink(plain, d.path / ".link_w1_p001.png.tmp-17");
  fs::create_symlink("nowhere", d.path / ".link_w1_p002.png.tmp-18");  // removed, not followed
  fs::create_symlink(d.path, d.path / ".link_w1.pdf.tmp-19");
  auto c = canvas(d, 300, 200, "link.ps", 10.0);
  for (int w = 1; w <= 4; ++w) {
    const std::string pdf = "link_w" + std::to_string(w) + ".pdf", png = "link_w" + std::to_string(w) + "_p001.png";
    if (targets[w - 1].empty()) {
      ASSERT_EQ(mkfifo((d / pdf).c_str(), 0600), 0);
      ASSERT_EQ(mkfifo((d / png).c_str(), 0600), 0);
    } else {
      fs::create_symlink(targets[w - 1], d.path / pdf);
      fs::create_symlink(targets[w - 1], d.path / png);
    }
    if (w > 1) c->window_open({0, 0, 200, 300}, "links", {"link.ps", 10.0, false});
    draw_page(*c, w, false);
    c->window_dispose();
    EXPECT_TRUE(c->take_file_failures().empty()) << targets[w - 1];
    // Read only when they are files of their own (a link to the FIFO would wait for ever).
    const bool files = fs::is_regular_file(fs::symlink_status(d.path / pdf)) &&
                       fs::is_regular_file(fs::symlink_status(d.path / png));
    EXPECT_TRUE(files) << targets[w - 1];
    if (!files) continue;
    EXPECT_EQ(pdf_pages(d / pdf), 1) << targets[w - 1];
    cairo_surface_t* image = cairo_image_surface_create_from_png((d / png).c_str());
    EXPECT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS) << targets[w - 1];
    cairo_surface_destroy(image);
  }
  EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
  EXPECT_EQ(file_bytes(plain), "kept");
  for (const std::string& name : left) EXPECT_EQ(file_bytes(d / name), "left") << name;
  EXPECT_TRUE(fs::is_directory(d.path / ".link_w1.pdf.tmp-5"));
  EXPECT_EQ(hidden_files(d.path), 4) << "the stale ones are removed";
}

// Page notices that cannot reach the standard error (a pipe no one reads) are told once as
// a failure, which sets the run's status; the pages still reach their files. A PDF of an
// earlier run at the name stands until the first page replaces it whole.
TEST(PageOutput, LostNoticesAreAFailureAndThePagesAreWritten) {
  Dir d;
  std::ofstream(d / "lost_w1.pdf") << "an earlier run";
  auto c = canvas(d, 300, 200, "lost.ps", 10.0);
  const auto old_pipe = std::signal(SIGPIPE, SIG_IGN);
  std::fflush(stderr);
  const int keep = dup(2);
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  close(fds[0]);
  dup2(fds[1], 2);
  close(fds[1]);
  draw_pages_and_close(*c, 2, true);
  dup2(keep, 2);
  close(keep);
  std::signal(SIGPIPE, old_pipe);
  const auto failed = c->take_file_failures();
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].file, "standard error");
  EXPECT_EQ(failed[0].reason, std::string("page notices: ") + std::strerror(EPIPE));
  EXPECT_EQ(failed[0].pages, 0);
  EXPECT_TRUE(c->take_file_failures().empty());
  EXPECT_TRUE(fs::exists(d.path / "lost_w1_p002.png"));
  EXPECT_EQ(pdf_pages(d / "lost_w1.pdf"), 2);
  EXPECT_EQ(hidden_files(d.path), 0);
}

// A run that dies while the first page of its PDF is written (here by the file size limit's
// signal) leaves no PDF under the name: the file of an earlier run is still there.
TEST(PageOutput, DyingInTheFirstPdfPageLeavesTheNameAlone) {
  Dir d;
  const std::string path = (d / "die_w1.pdf");
  std::ofstream(path) << "an earlier run";
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{200, 200};
    setrlimit(RLIMIT_FSIZE, &limit);
    PdfFile pdf(path, "die", 595.0, 842.0);
    pdf.add_page({compress_content(std::string(5000, 'x'))}, {});
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
  EXPECT_EQ(file_bytes(path), "an earlier run");
}

// The document title is the plot name as UTF-16BE text: a byte-order mark, characters past
// U+FFFF as surrogate pairs, a stray byte as the replacement character.
TEST(PdfFile, TitleIsUtf16WithItsByteOrderMark) {
  Dir d;
  const std::string path = (d / "title_w1.pdf");
  {
    // A-diaeresis, the euro sign, U+1F600 (a smiling face), 'a', a stray continuation byte.
    PdfFile pdf(path, "\xC3\x84\xE2\x82\xAC\xF0\x9F\x98\x80" "a\x80", 595.0, 842.0);
    ASSERT_EQ(pdf.add_page({compress_content("")}, {}), "");
    ASSERT_EQ(pdf.close(), "");
  }
  EXPECT_NE(file_bytes(path).find("/Title <FEFF00C420ACD83DDE000061FFFD> "), std::string::npos);
}

// The child of the full-disk test (its own process): four pages under a limit of 20,000
// bytes a file, or into a full file system (a tmpfs of 48 KiB in a mount namespace of its
// own, whose files are copied out at the end); the failed files go to failed.txt.
TEST(PageOutput, FullDiskChild) {
  const char* dir = std::getenv("KORBAST_FULL_CHILD");
  if (!dir) GTEST_SKIP() << "only run by PageOutput.PagesThatDoNotFitLeaveNoPartOfThem";
  const std::string out = dir, fs_dir = out + "/fs";
  if (std::getenv("KORBAST_FULL_TMPFS")) {
    fs::create_directory(fs_dir);
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", fs_dir.c_str(), "tmpfs", 0, "size=48k") != 0) {
      GTEST_SKIP() << "no tmpfs can be mounted here";
    }
  } else {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{20000, 20000};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  const bool tmpfs = std::getenv("KORBAST_FULL_TMPFS") != nullptr;
  CairoCanvas::Options o;
  o.use_display = false;
  o.directory = tmpfs ? fs_dir : out;
  o.pdf_piece = 300;
  CairoCanvas c(o);
  c.window_open({0, 0, 200, 300}, "full", {"full.ps", 10.0, false});
  for (int page = 1; page <= 4; ++page) {
    draw_page(c, page, page >= 3);
    c.write_page();
    c.clear_white(0, 0, 300, 200);
  }
  c.window_dispose();
  if (tmpfs) {
    for (const auto& e : fs::directory_iterator(fs_dir)) fs::copy(e.path(), out / e.path().filename());
  }
  std::ofstream failed(out + "/failed.txt");
  for (const platform::FileFailure& f : c.take_file_failures()) failed << f.file << "|" << f.reason << "|" << f.pages << "\n";
}

// A page that does not fit (a file size limit, a full file system) leaves nothing, not
// under its name nor under a hidden one, and is told with the reason; the PDF keeps the
// pages that fit and stays whole.
TEST(PageOutput, PagesThatDoNotFitLeaveNoPartOfThem) {
  for (const bool tmpfs : {false, true}) {
    Dir d;
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      setenv("KORBAST_FULL_CHILD", d.path.c_str(), 1);
      if (tmpfs) setenv("KORBAST_FULL_TMPFS", "1", 1);
      execl("/proc/self/exe", "child", "--gtest_filter=PageOutput.FullDiskChild", nullptr);
      _exit(127);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    if (!fs::exists(d.path / "failed.txt")) continue;  // no tmpfs here
    const std::string failed = file_bytes(d / "failed.txt");
    const std::string why = std::strerror(tmpfs ? ENOSPC : EFBIG);
    int png_failed = 0, png_written = 0;
    for (int page = 1; page <= 4; ++page) {
      const std::string name = "full_w1_p00" + std::to_string(page) + ".png";
      const bool told = failed.find(name + "|" + why + "|0\n") != std::string::npos;
      EXPECT_NE(told, fs::exists(d.path / name)) << name << "\n" << failed;
      if (told) {
        ++png_failed;
        continue;
      }
      ++png_written;
      cairo_surface_t* png = cairo_image_surface_create_from_png((d / name).c_str());
      EXPECT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << name;
      cairo_surface_destroy(png);
    }
    EXPECT_GT(png_failed, 0) << failed;
    EXPECT_GT(png_written, 0) << failed;
    // The PDF: told once, with the pages it keeps.
    const auto at = failed.find("full_w1.pdf|" + why + "|");
    ASSERT_NE(at, std::string::npos) << failed;
    const int kept = std::atoi(failed.c_str() + failed.find_last_of('|', failed.find('\n', at)) + 1);
    EXPECT_GE(kept, 1);
    EXPECT_EQ(pdf_pages(d / "full_w1.pdf"), kept);
    EXPECT_EQ(hidden_files(d.path), 0);
  }
}

}  // namespace
}  // namespace korbast::pages
