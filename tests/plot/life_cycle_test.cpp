// The plot window life cycle (open, close, next-plot menu), the page files it leaves with
// the program's own device, and the attribute settings the main program calls.
#include "plot/colortable.hpp"
#include "plot/life_cycle.hpp"

#include <cairo.h>

#include "plot/attributes.hpp"
#include "plot/primitives.hpp"
#include "plot/reset.hpp"
#include "plot/userspace.hpp"
#include "plot/curve_params.hpp"
#include "plot/curves.hpp"
#include "plot/symboltype.hpp"
#include "plot_fixture.hpp"
#include "support/pdf_check.hpp"

namespace korbast::plot::test {
namespace {

using korbast::testing::Console;

class LifeCycle : public PlotTest {
 protected:
  int windows_opened() const {
    int n = 0;
    for (const auto& l : log_lines()) n += l.rfind("window ", 0) == 0;
    return n;
  }
  int disposed() const {
    int n = 0;
    for (const auto& l : log_lines()) n += l == "dispose";
    return n;
  }
};

TEST_F(LifeCycle, OpeningSetsTheFlagAndTheDefaults) {
  Console con("\n\n");
  plinit("seis.ps                            ", 2);
  EXPECT_TRUE(frame::iocom.plot_open);
  EXPECT_EQ(windows_opened(), 1);
  EXPECT_NE(log_lines()[1].find("page=\"seis.ps                            \""), std::string::npos);
  EXPECT_FLOAT_EQ(plt1blk.devscale, 1112 / 29.7f);
  EXPECT_FLOAT_EQ(plt2blk.textheight, 0.5f);
  EXPECT_EQ(plt2blk.textalign, -1);
}

TEST_F(LifeCycle, OpeningTwiceOnlyWarns) {
  Console con("\n\n\n");
  plinit("seis.ps", 2);
  const std::size_t before = con.text().size();
  plinit("seis.ps", 2);
  const auto out = split_lines(con.text().substr(before));
  EXPECT_GE(find_sequence(out, {" Plot file or window is already opened",
                                " ==> appending to current plot file/window"}),
            0)
      << con.text().substr(before);
  EXPECT_EQ(windows_opened(), 1);
  EXPECT_TRUE(frame::iocom.plot_open);
}

TEST_F(LifeCycle, ClosingAClosedWindowOnlyWarns) {
  Console con("\n");
  plend();
  EXPECT_NE(con.text().find(" The plot window or file is already closed\n"), std::string::npos);
  EXPECT_FALSE(frame::iocom.plot_open);
  EXPECT_TRUE(log_lines().empty());
}

TEST_F(LifeCycle, OpenThenClose) {
  Console con("\n\n\n");
  plinit("seis.ps", 2);
  plend();
  EXPECT_FALSE(frame::iocom.plot_open);
  EXPECT_EQ(disposed(), 1);
  EXPECT_EQ(view.context, nullptr);
  EXPECT_NE(con.text().find(" Ready to close the Quartz plot window\n"), std::string::npos);
}

TEST_F(LifeCycle, OddDeviceCodeAsksNoTitle) {
  Console con("\n");
  plinit("seis.ps", 1);
  EXPECT_TRUE(frame::iocom.plot_open);
  EXPECT_EQ(con.text().find("plot window name"), std::string::npos);
}

TEST_F(LifeCycle, NextPlotMenuAndClearing) {
  Console con("\n\n\n");
  plinit("seis.ps", 2);
  log_->clear();
  const std::size_t before = con.text().size();
  newpage();
  const auto out = split_lines(con.text().substr(before));
  EXPECT_GE(find_sequence(out, {" IT IS SUGGESTED TO CLEAR THE PLOT",
                                " You can:",
                                " clear the window / add a page to the file ..0",
                                " close the window / file and open a new one .1",
                                " append to the current window / file ........2"}),
            0)
      << con.text().substr(before);
  EXPECT_NE(con.text().find("your choice"), std::string::npos);
  bool cleared = false;
  for (const auto& l : log_lines()) cleared = cleared || l.rfind("clear_white ", 0) == 0;
  EXPECT_TRUE(cleared);
  EXPECT_TRUE(frame::iocom.plot_open);
}

TEST_F(LifeCycle, NextPlotAppendChangesNothing) {
  Console con("\n\n2\n");
  plinit("seis.ps", 2);
  log_->clear();
  newpage();
  EXPECT_TRUE(log_lines().empty());
}

TEST_F(LifeCycle, NextPlotInANewWindow) {
  // open: settings, title; newpage: choice 1, RETURN to dispose, settings, title.
  Console con("\n\n1\n\n\n\n");
  plinit("seis.ps", 2);
  plt2blk.textheight = 2.0f;  // a caller's setting: back to its default in the new window
  newpage();
  EXPECT_EQ(windows_opened(), 2);
  EXPECT_EQ(disposed(), 1);
  EXPECT_NE(log_->text().find("page=\"Next_plot\""), std::string::npos);
  EXPECT_TRUE(frame::iocom.plot_open);
  EXPECT_FLOAT_EQ(plt2blk.textheight, 0.5f);
}

// The window step of the menus acts on its own answers only (0 is no drawing answer), and a
// window it opens is set to filled shapes only on request.
TEST_F(LifeCycle, WindowStepActsOnItsOwnAnswersOnly) {
  Console con(std::string(20, '\n'));
  EXPECT_FALSE(window_step(0, "seis.ps", 0, true));
  EXPECT_FALSE(window_step(99, "seis.ps", 1000, true));
  EXPECT_EQ(windows_opened(), 0);
  EXPECT_TRUE(window_step(1000, "seis.ps", 1000, false));
  EXPECT_EQ(windows_opened(), 1);
  // The opening itself sets the fill style: a filled opening sets it once more.
  const auto fill_settings = [&con] {
    int n = 0;
    for (const auto& l : split_lines(con.text())) n += l == " INITIALISING FILL STYLE TO: filled";
    return n;
  };
  const int by_opening = fill_settings();
  EXPECT_FALSE(window_step(0, "seis.ps", 0, true));
  EXPECT_EQ(con.text().find("IT IS SUGGESTED"), std::string::npos);
  EXPECT_FALSE(window_step(1000, "seis.ps", 1000, true));  // the next-plot menu
  EXPECT_NE(con.text().find("IT IS SUGGESTED"), std::string::npos);
  EXPECT_FALSE(window_step(10, "seis.ps", 1000, true));
  EXPECT_NE(con.text().find(" Plot file or window is already opened\n"), std::string::npos);
  EXPECT_EQ(windows_opened(), 1);
  EXPECT_FALSE(window_step(20, "seis.ps", 1000, true));
  EXPECT_FALSE(frame::iocom.plot_open);
  EXPECT_TRUE(window_step(10, "seis.ps", 0, true));
  EXPECT_TRUE(frame::iocom.plot_open);
  EXPECT_EQ(fill_settings(), 2 * by_opening + 1);
}

TEST_F(LifeCycle, PageFilesForDrawnPagesOnly) {
  use_cairo();
  const float x[2] = {10, 300};
  const float y[2] = {10, 300};
  {
    Console con("\n\n\n\n");
    ::testing::internal::CaptureStderr();
    plinit("seis.ps", 2);
    deline(x, y, 2);
    newpage();  // choice 0: the drawn page is written, the next starts white
    deline(x, y, 2);
    plend();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err,
              "korbast: plot page 1 written to seis_w1_p001.png and seis_w1.pdf\n"
              "korbast: plot page 2 written to seis_w1_p002.png and seis_w1.pdf\n");
  }
  EXPECT_TRUE(fs::exists(dir() / "seis_w1_p001.png"));
  EXPECT_TRUE(fs::exists(dir() / "seis_w1_p002.png"));
  EXPECT_TRUE(fs::exists(dir() / "seis_w1.pdf"));
  if (korbast::testing::have_tool("pdfinfo")) {
    std::string why;
    EXPECT_EQ(korbast::testing::checked_pdf_pages((dir() / "seis_w1.pdf").string(), &why), 2) << why;
  }
  cairo_surface_t* png = cairo_image_surface_create_from_png((dir() / "seis_w1_p001.png").c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(png), 786);
  EXPECT_EQ(cairo_image_surface_get_height(png), 1112);
  cairo_surface_destroy(png);

  // A window with nothing drawn, and a cleared page, leave no files.
  {
    Console con("\n\n\n\n");
    plinit("empty.ps", 2);
    newpage();
    plend();
  }
  for (const auto& e : fs::directory_iterator(dir()))
    EXPECT_EQ(e.path().filename().string().rfind("empty", 0), std::string::npos) << e.path();
}

TEST_F(LifeCycle, BlackAndWhiteTextStaysBlackAfterANewPage) {
  pages::CairoCanvas& c = use_cairo();
  Console con("\n\n\n\n");
  plinit("bw.ps", 2);
  plt2blk.colormode = 0;  // one colour: no primitive sets any colour
  plt2blk.textalign = 1;
  intstextsize(1.0f);
  newpage();
  detext2(50, 500, "WWWW");
  cairo_surface_t* img = c.page_image();
  cairo_surface_flush(img);
  const unsigned char* data = cairo_image_surface_get_data(img);
  const int stride = cairo_image_surface_get_stride(img);
  int dark = 0;
  for (int row = 0; row < cairo_image_surface_get_height(img); ++row)
    for (int x = 0; x < cairo_image_surface_get_width(img); ++x) {
      const auto v = *reinterpret_cast<const std::uint32_t*>(data + row * stride + x * 4);
      dark += (v & 0xFFFFFF) == 0;
    }
  EXPECT_GT(dark, 50);
  plend();
}

TEST_F(LifeCycle, StartUpSettingsOfTheMainProgram) {
  Console con;
  scolortable(5);
  float size = 0.0f;
  ssymbolsize(size, 5);
  int style = 0;
  sfillstyle(style, 5);
  const auto out = split_lines(con.text());
  EXPECT_GE(find_sequence(out, {" INITIALIZING COLOR TABLE:", " 0   -> BKG = WHITE",
                                " 1   -> FRG = BLACK", " 2-4 -> RGB COLORS", " 5-7 -> CMY COLORS",
                                " 8   -> GREY 50%"}),
            0)
      << con.text();
  EXPECT_GE(find_sequence(out, {" INITIALISING SYMBOL SIZE (cm) =    0.400"}), 0);
  EXPECT_GE(find_sequence(out, {" INITIALISING FILL STYLE TO: filled"}), 0);
  EXPECT_FLOAT_EQ(size, 0.4f);
  EXPECT_EQ(style, 1);
  EXPECT_EQ(plt2blk.fillstyle, 1);
  EXPECT_EQ(plt2blk.ncolors, 12);
  EXPECT_EQ(plt2blk.colormode, 1);
  EXPECT_FLOAT_EQ(plt2blk.red[2], 50.0f);
  EXPECT_EQ(pltcharblk.colornam[0].view(), "White-bk");
  EXPECT_EQ(pltcharblk.colornam[12].view(), "Grey70  ");
  EXPECT_TRUE(pltcharblk.subplotitle[0].blank());
}

// One reset gives every block of the subsystem its start value.
TEST(PlotState, ResetGivesEveryBlockItsStartValue) {
  platform::LogCanvas canvas;
  plt1blk.devscale = 1.0f;
  plt2blk.fillstyle = 1;
  pltcharblk.colornam[0] = "red";
  view.window = &canvas;
  windevsize.isetup = 2;
  pltbuff1.xdevbuff[0] = 1.0f;
  ptblock.np = 3;
  cc2dbuff.yp[0] = 1.0f;
  cc3dbuff.ze[0] = 1.0f;
  plevblock.nlev = 4;
  pfixblock.nparfix = 2;
  plot::reset();
  EXPECT_EQ(plt1blk.devscale, 0.0f);
  EXPECT_EQ(plt2blk.fillstyle, 0);
  EXPECT_EQ(pltcharblk.colornam[0].view(), Pltcharblk{}.colornam[0].view());
  EXPECT_EQ(view.window, nullptr);
  EXPECT_EQ(windevsize.isetup, 0);
  EXPECT_EQ(pltbuff1.xdevbuff[0], 0.0f);
  EXPECT_EQ(ptblock.np, 0);
  EXPECT_EQ(cc2dbuff.yp[0], 0.0f);
  EXPECT_EQ(cc3dbuff.ze[0], 0.0f);
  EXPECT_EQ(plevblock.nlev, 0);
  EXPECT_EQ(pfixblock.nparfix, 0);
}

}  // namespace
}  // namespace korbast::plot::test
