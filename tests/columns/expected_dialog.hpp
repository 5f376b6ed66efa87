// Expected console lines of the dialog pieces the column-data reader uses, built by hand from
// their rules: frames, the integer questions with their echo, the pause.
#pragma once

#include <string>

#include "frame/format.hpp"
#include "support/expected_lines.hpp"

namespace korbast::testing::cols {

using expected::Lines;
namespace fmt = frame::fmt;

using expected::dots;
inline std::string at43() { return expected::rule('@'); }
inline std::string stars43() { return expected::rule('*'); }
inline std::string slashes43() { return expected::rule('/'); }

inline Lines head(const std::string& name) { return expected::head(name); }
inline Lines warning(const std::string& name) { return expected::warning_head(name); }
inline Lines error(const std::string& name) { return expected::error_head(name); }

// inintegdef at output level 2: the question, then the echo of the accepted value.
inline Lines ask(const std::string& prompt, int def) {
  return {dots(), " Enter " + prompt, " or return for default value", " Default = " + fmt::I(def, 12)};
}
inline Lines echo(int v) { return {" New value =  " + fmt::I(v, 12), dots()}; }
inline Lines answer(const std::string& prompt, int def, int v) {
  return expected::join({ask(prompt, def), echo(v)});
}
// inintegvindef at output level 2.
inline Lines ask_in(const std::string& prompt, const std::string& interval, int def) {
  return {dots(), " Enter " + prompt, " inside  " + interval, " or return for default value",
          " Default = " + fmt::I(def, 12)};
}

inline std::string text(const Lines& ls) {
  std::string s;
  for (const auto& l : ls) s += l + "\n";
  return s;
}

}  // namespace korbast::testing::cols
