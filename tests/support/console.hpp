// Test seam: binds units 5 (keyboard) and 6 (console) to strings for the life of the object.
#pragma once

#include <sstream>
#include <string>

#include "frame/units.hpp"

namespace korbast::testing {

class Console {
 public:
  explicit Console(const std::string& input = "") : in_(input) {
    frame::units::bind_console(in_, out_);
  }
  ~Console() { frame::units::bind_console(); }
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Everything written to units 5/6 so far, and a way to start a fresh capture.
  std::string text() const { return out_.str(); }
  void clear() { out_.str(""); }

 private:
  std::istringstream in_;
  std::ostringstream out_;
};

}  // namespace korbast::testing
