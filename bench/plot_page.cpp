// One crowded map page through the device primitives: 25,000 small filled symbols (20-point
// circles, as the symbol drawing hands them to depolygon) and 25,000 short lines, on the
// page of a fitted portrait window of the virtual 1920 x 1200 screen (786 x 1112 pixels);
// then the page written as PNG and PDF.
//
//   BM_DrawPage   the drawing alone (kept as the page's drawing; no pixels are made)
//   BM_WritePage  writing the drawn page: PNG, PDF page and closing of the PDF file (the
//                 writer's threads replay the page in bands and encode both side by side;
//                 closing waits for them)
//   BM_EncodePngOnly  the PNG encoding alone (of the page replayed once on this thread)
//   BM_DrawAndWritePage  both (the goal: under one second)
//
// With a display (DISPLAY set, e.g. under xvfb-run) the *Shown variants draw with the X11
// window open, whose copies are throttled.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "pages/cairo_canvas.hpp"
#include "pages/page_output.hpp"
#include "pages/png_writer.hpp"
#include "plot/plt1blk.hpp"
#include "plot/plt2blk.hpp"
#include "plot/primitives.hpp"
#include "plot/window_device.hpp"

namespace {

namespace fs = std::filesystem;
using korbast::pages::CairoCanvas;
namespace plot = korbast::plot;

constexpr int kSymbols = 25000;
constexpr int kLines = 25000;
constexpr int kW = 786;
constexpr int kH = 1112;

struct Scratch {
  fs::path dir;
  Scratch() {
    std::string templ = (fs::temp_directory_path() / "korbast-bench-XXXXXX").string();
    dir = mkdtemp(templ.data());
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

std::unique_ptr<CairoCanvas> open_page(const Scratch& s, bool shown) {
  CairoCanvas::Options o;
  o.use_display = shown;
  o.directory = s.dir.string();
  auto c = std::make_unique<CairoCanvas>(o);
  c->screen_bounds();
  c->window_open({44, 1134, 44 + kH, 1134 + kW}, "VK Fit A4P", {"bench.ps", kH / 29.7, false});
  c->context_begin(true);
  plot::view.window = plot::view.port = plot::view.context = c.get();
  plot::view.pathopen = 0;
  plot::plt1blk.devscale = static_cast<float>(kH / 29.7);
  plot::windevsize.pxpcm = 35.43307f;
  return c;
}

void colour_table() {
  const float r[13] = {100, 0, 50, 0, 0, 0, 50, 50, 80, 70, 60, 50, 30};
  const float g[13] = {100, 0, 0, 50, 0, 50, 0, 50, 80, 70, 60, 50, 30};
  const float b[13] = {100, 0, 0, 0, 50, 50, 50, 0, 80, 70, 60, 50, 30};
  for (int i = 0; i < 13; ++i) {
    plot::plt2blk.red[i] = r[i];
    plot::plt2blk.green[i] = g[i];
    plot::plt2blk.blue[i] = b[i];
  }
  plot::plt2blk.ncolors = 12;
  plot::plt2blk.colormode = 1;
  plot::plt2blk.linecolor = 1;
  plot::plt2blk.fillcolor = 2;
  plot::plt2blk.fillstyle = 1;
}

// A fixed pseudo-random sequence, the same for every run.
struct Lcg {
  unsigned long long s = 12345;
  float next() {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<float>((s >> 33) % 1000000) / 1000000.0f;
  }
};

void draw(CairoCanvas&) {
  colour_table();
  Lcg rnd;
  // The circle template of a 0.2 cm symbol: 20 points at (i-1) 360/19 degrees.
  const float radius = 0.5f * 0.2f * plot::plt1blk.devscale;
  float cx[20], cy[20];
  for (int i = 0; i < 20; ++i) {
    const double a = i * 2.0 * M_PI / 19.0;
    cx[i] = static_cast<float>(radius * std::cos(a));
    cy[i] = static_cast<float>(radius * std::sin(a));
  }
  float x[20], y[20];
  for (int k = 0; k < kSymbols; ++k) {
    const float px = rnd.next() * kW;
    const float py = rnd.next() * kH;
    for (int i = 0; i < 20; ++i) {
      x[i] = px + cx[i];
      y[i] = py + cy[i];
    }
    plot::depolygon(x, y, 20);
  }
  for (int k = 0; k < kLines; ++k) {
    const float px = rnd.next() * kW;
    const float py = rnd.next() * kH;
    const float lx[2] = {px, px + 8.0f * (rnd.next() - 0.5f)};
    const float ly[2] = {py, py + 8.0f * (rnd.next() - 0.5f)};
    plot::deline(lx, ly, 2);
  }
}

void finish(CairoCanvas& c) {
  c.write_page();
  c.window_dispose();
  plot::view = plot::View{};
}

void BM_DrawPage(benchmark::State& state, bool shown) {
  Scratch s;
  for (auto _ : state) {
    state.PauseTiming();
    auto c = open_page(s, shown);
    state.ResumeTiming();
    draw(*c);
    c->flush();
    state.PauseTiming();
    c->window_dispose();  // the closing writes the page: not timed here
    plot::view = plot::View{};
    state.ResumeTiming();
  }
}

void BM_WritePage(benchmark::State& state) {
  Scratch s;
  std::uintmax_t png = 0, pdf = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto c = open_page(s, false);
    draw(*c);
    state.ResumeTiming();
    finish(*c);
    state.PauseTiming();
    png = fs::file_size(s.dir / "bench_w1_p001.png");
    pdf = fs::file_size(s.dir / "bench_w1.pdf");
    state.ResumeTiming();
  }
  state.counters["png_kB"] = static_cast<double>(png) / 1024.0;
  state.counters["pdf_kB"] = static_cast<double>(pdf) / 1024.0;
}

// The PNG encoding alone, and the PDF content stream of the page (formatting and compression)
// alone: the two parts the writer's threads run side by side.
void BM_EncodePngOnly(benchmark::State& state) {
  Scratch s;
  auto c = open_page(s, false);
  draw(*c);
  cairo_surface_t* img = c->page_image();
  cairo_surface_flush(img);
  for (auto _ : state) {
    benchmark::DoNotOptimize(korbast::pages::encode_png(
        cairo_image_surface_get_data(img), kW, kH, cairo_image_surface_get_stride(img)));
  }
  c->window_dispose();
  plot::view = plot::View{};
}

void BM_DrawAndWritePage(benchmark::State& state, bool shown) {
  Scratch s;
  for (auto _ : state) {
    state.PauseTiming();
    auto c = open_page(s, shown);
    state.ResumeTiming();
    draw(*c);
    finish(*c);
  }
}

void register_all() {
  benchmark::RegisterBenchmark("BM_DrawPage", BM_DrawPage, false)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_WritePage", BM_WritePage)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_EncodePngOnly", BM_EncodePngOnly)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_DrawAndWritePage", BM_DrawAndWritePage, false)
      ->Unit(benchmark::kMillisecond);
  if (std::getenv("DISPLAY")) {
    benchmark::RegisterBenchmark("BM_DrawPageShown", BM_DrawPage, true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_DrawAndWritePageShown", BM_DrawAndWritePage, true)
        ->Unit(benchmark::kMillisecond);
  }
}

const int registered = (register_all(), 0);

}  // namespace
