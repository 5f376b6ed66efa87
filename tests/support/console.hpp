// Test seams: units 5 (keyboard) and 6 (console) bound to strings for the life of an object;
// keyboard answers given in pieces.
#pragma once

#include <deque>
#include <functional>
#include <ios>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>

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

// Keyboard answers in pieces (bound as a stream's buffer): what goes with a piece is done just
// before its first byte is read, as another program may act while a question waits. fail()
// puts a read that fails between two pieces, as a file buffer's on a failing disk: the reader's
// call throws, and the next one goes on with the next piece.
class Answers : public std::streambuf {
 public:
  void add(std::string text, std::function<void()> before = {}) { pieces_.push_back({std::move(text), before}); }
  void fail() { add("", [] { throw std::ios_base::failure("the read failed"); }); }

 protected:
  int_type underflow() override {
    while (gptr() == egptr()) {
      if (next_ == pieces_.size()) return traits_type::eof();
      auto& [text, before] = pieces_[next_++];
      if (before) before();
      setg(text.data(), text.data(), text.data() + text.size());
    }
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::deque<std::pair<std::string, std::function<void()>>> pieces_;
  std::size_t next_ = 0;
};

}  // namespace korbast::testing
