// Expected console lines of the dialog frames, built from their rules, for tests that compare
// what a routine printed line by line.
#pragma once

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace korbast::testing::expected {

using Lines = std::vector<std::string>;

// One blank and n copies of c: the rules of the frames.
inline std::string rule(char c, int n = 43) {
  return std::string(" ").append(static_cast<std::size_t>(n), c);
}
inline std::string dots() { return rule('.', 42); }
inline std::string padded(std::string s, std::size_t n) {
  s.resize(n, ' ');
  return s;
}

// The last line of a menu frame head: " @" and 42 "=".
inline std::string head_rule() { return " @" + std::string(42, '='); }
// The menu frame head of a routine, and of the main program.
inline Lines head(const std::string& name) {
  return {rule('@'), " @ subroutine " + padded(name, 11), head_rule()};
}
inline Lines main_head(const std::string& name) {
  return {rule('@'), " @ main program " + padded(name, 11), head_rule()};
}
// The boxes of warnings and errors.
inline Lines warning_head(const std::string& name) {
  const std::string body = padded("       subroutine " + name, 35);
  return {rule('/'), " /// " + body + " ///", " ///               WARNING               ///",
          rule('/')};
}
inline Lines error_head(const std::string& name) {
  const std::string body = padded("       subroutine " + name, 35);
  const std::string empty = " *** " + std::string(35, ' ') + " ***";
  return {rule('*'), rule('*'), empty, " *** " + body + " ***", empty,
          " ***                ERROR                ***", empty, rule('*'), rule('*')};
}

// Lines as console text: each ended by a line feed.
inline std::string text(const Lines& lines) {
  std::string all;
  for (const auto& l : lines) all += l + "\n";
  return all;
}

inline Lines join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}
inline void append(Lines& to, const Lines& more) { to.insert(to.end(), more.begin(), more.end()); }

// The lines of a console text, and how often one line stands among them.
inline Lines split_lines(const std::string& text) {
  Lines out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}
inline int count(const Lines& lines, const std::string& line) {
  int n = 0;
  for (const auto& l : lines) n += l == line;
  return n;
}

}  // namespace korbast::testing::expected

// The short name the tests use for the expected lines.
namespace ex = korbast::testing::expected;
