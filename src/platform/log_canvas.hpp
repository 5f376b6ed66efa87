// A drawing device for tests: every operation appends one line of text, numbers with three
// decimals, so that the drawing logic can be checked exactly. Texts are measured with a
// fixed advance of half the font size per byte.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.hpp"

namespace korbast::platform {

class LogCanvas final : public Canvas {
 public:
  explicit LogCanvas(ScreenRect screen = {0, 0, 1200, 1920}) : screen_(screen) {}

  const std::vector<std::string>& lines() const { return lines_; }
  // All lines joined, each ended by a line feed.
  std::string text() const;
  void clear() { lines_.clear(); }
  void set_screen(ScreenRect screen) { screen_ = screen; }
  double font_size() const { return font_size_; }
  double line_width() const { return line_width_; }
  Rgb stroke_rgb() const { return stroke_; }

  ScreenRect screen_bounds() override;
  void window_open(const ScreenRect& content, std::string_view title,
                   const PageInfo& page) override;
  ScreenRect window_region(int code) override;
  bool window_is_open() const override { return open_; }
  void context_begin(bool antialias) override;
  void set_stroke_rgb(const Rgb& c) override;
  void set_fill_rgb(const Rgb& c) override;
  Rgb fill_rgb() const override { return fill_; }
  void set_line_width(double w) override;
  void select_font(double size) override;
  void set_font_size(double size) override;
  void path_begin() override;
  void path_move(double x, double y) override;
  void path_line(double x, double y) override;
  void path_close() override;
  void path_stroke() override;
  void path_fill_stroke() override;
  void path_stroke_dot() override;
  double text_advance(std::string_view bytes) override;
  void text_show(double x, double y, double angle, std::string_view bytes) override;
  void clear_white(double x, double y, double w, double h) override;
  void flush() override;
  void sync() override;
  void write_page() override;
  void context_end() override;
  void window_dispose() override;

 private:
  void log(std::string line) { lines_.push_back(std::move(line)); }
  std::vector<std::string> lines_;
  ScreenRect screen_;
  ScreenRect content_;
  bool open_ = false;
  Rgb stroke_;
  Rgb fill_;
  double line_width_ = 1.0;
  double font_size_ = 0.0;
};

}  // namespace korbast::platform
