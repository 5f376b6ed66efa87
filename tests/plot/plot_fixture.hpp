// Shared set-up of the plot tests: a fresh plot state, the console bound to strings, a
// logging device (or the program's device without a display), and a scratch working
// folder (the settings file and the page files go to the current folder).
#pragma once

#include "plot/colortable.hpp"
#include "support/expected_lines.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "frame/reset.hpp"
#include "pages/cairo_canvas.hpp"
#include "platform/log_canvas.hpp"
#include "plot/attributes.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "plot/reset.hpp"
#include "plot/window_device.hpp"
#include "support/command.hpp"
#include "support/console.hpp"
#include "support/tempfile.hpp"

namespace korbast::plot::test {

namespace fs = std::filesystem;

using korbast::testing::expected::split_lines;

using Pts = std::vector<std::pair<double, double>>;

// One device path as the log shows it: its points, whether it was closed and whether filled.
struct LogPath {
  Pts pts;
  bool closed = false;
  bool filled = false;
};

inline std::vector<LogPath> log_paths(const std::vector<std::string>& lines) {
  std::vector<LogPath> paths;
  for (const auto& l : lines) {
    double x = 0, y = 0;
    if (l == "begin") {
      paths.emplace_back();
    } else if (std::sscanf(l.c_str(), "move %lf %lf", &x, &y) == 2 ||
               std::sscanf(l.c_str(), "line %lf %lf", &x, &y) == 2) {
      paths.back().pts.emplace_back(x, y);
    } else if (l == "close") {
      paths.back().closed = true;
    } else if (l.rfind("fill_stroke", 0) == 0) {
      paths.back().filled = true;
    }
  }
  return paths;
}

// Where the lines of `seq` stand one after the other in `lines`; -1 when they do not.
inline int find_sequence(const std::vector<std::string>& lines, const std::vector<std::string>& seq,
                         std::size_t from = 0) {
  if (seq.empty()) return static_cast<int>(from);
  for (std::size_t i = from; i + seq.size() <= lines.size(); ++i) {
    bool all = true;
    for (std::size_t k = 0; k < seq.size() && all; ++k) all = lines[i + k] == seq[k];
    if (all) return static_cast<int>(i);
  }
  return -1;
}

using korbast::testing::read_file;

inline void write_file(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

// Hands `f` the level (0 to 255) of each colour channel of each pixel within `reach` pixels
// of image point (x, y) (y downwards), while `f` returns true; false when `f` stopped it.
template <class F>
bool each_level_near(cairo_surface_t* img, double x, double y, int reach, F f) {
  cairo_surface_flush(img);
  const unsigned char* data = cairo_image_surface_get_data(img);
  const int stride = cairo_image_surface_get_stride(img);
  const int w = cairo_image_surface_get_width(img), h = cairo_image_surface_get_height(img);
  for (int row = static_cast<int>(y) - reach; row <= static_cast<int>(y) + reach; ++row)
    for (int col = static_cast<int>(x) - reach; col <= static_cast<int>(x) + reach; ++col) {
      if (row < 0 || row >= h || col < 0 || col >= w) continue;
      std::uint32_t v;
      std::memcpy(&v, data + row * stride + col * 4, 4);
      for (int shift : {0, 8, 16})
        if (!f(static_cast<int>((v >> shift) & 0xFF))) return false;
    }
  return true;
}

// Whether a pixel within `reach` pixels of image point (x, y) (y downwards) is inked: not
// white, or darker than `dark` in some channel when asked.
inline bool inked_near(cairo_surface_t* img, double x, double y, int reach, int dark = 255) {
  return !each_level_near(img, x, y, reach, [dark](int level) { return level >= dark; });
}

// The ink within `reach` pixels of image point (x, y) (y downwards): the darkness of each
// pixel of the square, 0 for white and 1 for black, summed (the area of a black shape, in
// pixels, where anti-aliasing grades the pixels it covers in part).
inline double ink_near(cairo_surface_t* img, double x, double y, int reach) {
  double ink = 0;
  each_level_near(img, x, y, reach, [&ink](int level) {
    ink += (255 - level) / 765.0;
    return true;
  });
  return ink;
}

// The window of a page of 10 pixels per cm, w x h pixels at the lower-left corner of the A4
// sheet, as poppler rasterises the first page of `pdf` at 76.2 dpi: three raster pixels a
// window pixel, window point (x, y) (y downwards) at raster (3 x, 3 y). Null when pdftoppm
// fails (the caller checks that it is installed, and destroys the image).
inline cairo_surface_t* pdf_window_raster(const std::string& pdf, int w, int h) {
  const int sheet = 891;  // rows of the 29.7 cm sheet
  const std::string out = pdf + "-raster";
  korbast::testing::run_command("pdftoppm -r 76.2 -png -singlefile -f 1 -l 1 -x 0 -y " +
                                std::to_string(sheet - 3 * h) + " -W " + std::to_string(3 * w) +
                                " -H " + std::to_string(3 * h) + " '" + pdf + "' '" + out + "'");
  cairo_surface_t* img = cairo_image_surface_create_from_png((out + ".png").c_str());
  if (cairo_surface_status(img) == CAIRO_STATUS_SUCCESS) return img;
  cairo_surface_destroy(img);
  return nullptr;
}

class PlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_cwd_ = fs::current_path();
    std::string templ = (fs::temp_directory_path() / "korbast-plot-XXXXXX").string();
    dir_ = mkdtemp(templ.data());
    fs::current_path(dir_);
    frame::reset();
    plot::reset();
    log_ = std::make_unique<platform::LogCanvas>();
    use_device(log_.get());
    {
      // What the main program sets up before any window opens.
      korbast::testing::Console quiet;
      frame::trigoset();
      scolortable(5);
    }
  }

  void TearDown() override {
    if (cairo_) cairo_->window_dispose();
    use_device(nullptr);
    view = View{};
    fs::current_path(old_cwd_);
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
  }

  // The program's own device, without a display, writing into the scratch folder.
  pages::CairoCanvas& use_cairo() {
    pages::CairoCanvas::Options o;
    o.use_display = false;
    cairo_ = std::make_unique<pages::CairoCanvas>(o);
    use_device(cairo_.get());
    return *cairo_;
  }

  // A window open on the logging device with this content, as intplinit leaves it, without
  // the dialog.
  void open_log_window(platform::ScreenRect content, float devscale = 35.43307f) {
    open_window(*log_, content, devscale, true);
    log_->clear();
  }
  // The same on any device (pages of devscale pixels per cm, named "test").
  static void open_window(platform::Canvas& dev, platform::ScreenRect content, float devscale,
                          bool antialias) {
    dev.window_open(content, "test", {"test.ps", devscale, false});
    dev.context_begin(antialias);
    view.window = view.port = view.context = &dev;
    view.pathopen = 0;
    windevsize.pxpcm = 35.43307f;
    plt1blk.devscale = devscale;
  }

  // The dialog's tests: warnings do not wait for RETURN, and the colour table is the one the
  // program sets up (its frames discarded).
  static void dialog_without_pauses() {
    frame::iocom.pause = false;
    korbast::testing::Console quiet;
    scolortable(5);
  }

  // The default colour table in force (colour plot, 12 colours).
  static void colour_table() {
    const float r[13] = {100, 0, 50, 0, 0, 0, 50, 50, 80, 70, 60, 50, 30};
    const float g[13] = {100, 0, 0, 50, 0, 50, 0, 50, 80, 70, 60, 50, 30};
    const float b[13] = {100, 0, 0, 0, 50, 50, 50, 0, 80, 70, 60, 50, 30};
    for (int i = 0; i < 13; ++i) {
      plt2blk.red[i] = r[i];
      plt2blk.green[i] = g[i];
      plt2blk.blue[i] = b[i];
    }
    plt2blk.ncolors = 12;
    plt2blk.colormode = 1;
  }

  std::vector<std::string> log_lines() const { return log_->lines(); }
  fs::path dir() const { return dir_; }

  std::unique_ptr<platform::LogCanvas> log_;
  std::unique_ptr<pages::CairoCanvas> cairo_;

 private:
  fs::path old_cwd_;
  fs::path dir_;
};

}  // namespace korbast::plot::test
