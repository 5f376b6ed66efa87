// The window device: the one plot window, its page set-up and anti-aliasing kept in the
// settings file "vomek1_ini_u.txt" of the current directory, its opening, white page and
// closing, and the stroking of a pending pen path.
#pragma once

#include <string_view>

#include "platform/canvas.hpp"

namespace korbast::plot {

// The open window. All three handles are the drawing device while the window is open;
// `context` is null whenever no drawing context exists (before the first opening and after
// a closing), and then every drawing call does nothing.
struct View {
  platform::Canvas* window = nullptr;
  platform::Canvas* port = nullptr;
  platform::Canvas* context = nullptr;
  int pathopen = 0;  // 1 while a pen path begun by deplot waits to be stroked
};
extern View view;

// Window geometry, rewritten at every opening (screen pixels, y downwards).
struct Windevsize {
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
  int isetup = 0;      // page set-up 0..4
  float pxpcm = 0.0f;  // pixels per cm at 100 %: 35.43307
};
extern Windevsize windevsize;

// The settings file and its unit.
inline constexpr std::string_view kSettingsFile = "vomek1_ini_u.txt";
inline constexpr int kSettingsUnit = 50;

// The window of a page set-up on a screen (pixels, y downwards): the usable screen (the
// screen less 44 pixels at the top and at the bottom) or the part of it an A4 page takes,
// fitted (set-ups 1, 2) or at 100 % (3, 4), against its right (and, at 100 %, bottom) edge;
// set-up 0 and unknown set-ups take the whole usable screen.
Windevsize window_geometry(int isetup, const platform::ScreenRect& screen);

// Pixels per centimetre of the page for a set-up and window content: the 29.7 cm side fills
// the height (set-ups 0, 1) or the width (2); 100 % set-ups (3, 4) use pxpcm; any other 1.0.
float page_scale(int isetup, int top, int left, int bottom, int right, float pxpcm);

// The drawing device the window opens on. By default the program's own device (a window on
// the X display when one opens, page files in the current directory); tests hand in another
// one (nullptr brings the default back). Not to be changed while a window is open.
void use_device(platform::Canvas* device);
// The drawing device in use.
platform::Canvas& device();

// Opens the window on the device: the page set-up (settings file or dialog) and a white page.
void intplinit(std::string_view name, int idev);
// Writes the last page, waits for RETURN and closes the window.
void intplend();
// Writes the page drawn and starts a white one.
void intnewpage();
// Strokes the open path, if any.
void endpath();

}  // namespace korbast::plot
