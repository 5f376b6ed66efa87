// A fixture for the projection dialogs: the I/O settings at their start values without the
// pause after errors, the projection state as at program start, no map-line hook, and a
// helper that runs a dialog on given answers and returns what it printed; the names the
// dialog tests share.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "frame/angles.hpp"
#include "frame/iocom.hpp"
#include "projection/menu.hpp"
#include "projection/projection.hpp"
#include "projection/setups.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"

namespace korbast::testing {

class ProjectionDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_iocom();
    frame::iocom.pause = false;
    projection::reset_projection_blocks();
    projection::set_contours_hook(nullptr);
  }
  void TearDown() override {
    reset_iocom();
    projection::set_contours_hook(nullptr);
  }

  // Runs f with units 5 and 6 bound to strings: the answers in, the console text out.
  template <class F>
  std::string run(const std::string& answers, F f) {
    Console console(answers);
    f();
    return console.text();
  }

  // The start-up initialisation (mode 5), its lines dropped.
  void initialise() {
    run("", [] {
      int iproj = 0;
      projection::sprojll2(iproj, 5);
    });
  }
};

// A menu answer of the set-ups: choose entry k, answer its question with v, leave with 99.
inline std::string set_value(int k, const std::string& v) {
  return std::to_string(k) + "\n" + v + "\n99\n";
}
// Leave a menu with its default, 99.
inline const std::string kLeave = "\n";

// Whether text holds line (a whole line).
inline bool has_line(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

}  // namespace korbast::testing

// The names the projection dialog tests speak in: a test file takes them with `using namespace
// testing::projection_dialog_names;` inside its own unnamed namespace.
namespace korbast::testing::projection_dialog_names {

using frame::rad;
using testing::has_line;
using testing::kLeave;
using testing::lines;
using testing::rep;
using testing::set_value;

}  // namespace korbast::testing::projection_dialog_names
