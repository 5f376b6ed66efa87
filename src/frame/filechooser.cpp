#include "frame/filechooser.hpp"

#include "frame/dialog.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

namespace {

std::string strip(const std::string& s) {
  auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  auto e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

}  // namespace

// The prompt says what the frame around it does: a cancel (an empty answer, or no to
// replacing) is a failed open, which warns and asks again.
std::optional<std::string> choose_file(std::string_view prompt, bool must_exist,
                                       std::optional<units::Look>& replace, std::string& typed) {
  replace.reset();
  typed.clear();
  units::write_line(iocom.stdout_unit, " path (asked again until a file opens):");
  std::string answer;
  if (read_answer_line(units::keyboard, answer, "opef2", prompt) != AnswerRead::Ok)
    return std::nullopt;
  std::string path = strip(answer);
  typed = path;
  if (path.empty()) return std::nullopt;
  if (must_exist) return path;
  // Only the name is looked at: a FIFO is never opened here (its reader would take that for
  // the end of its input). Whatever stands there is asked about, so that an answer stream
  // that says yes after such a name keeps its step.
  const units::Look look = units::look_at(path);
  if (look.found == units::Found::Nothing || look.found == units::Found::Folder) return path;
  units::write_line(iocom.stdout_unit, " " + path + " exists. Replace it ? (y/n)");
  // The name and its yes are one answer, taken once the file opens.
  if (read_answer_line(units::keyboard, answer, "opef2", prompt, true) != AnswerRead::Ok)
    return std::nullopt;
  answer = strip(answer);
  if (!answer.empty() && (answer[0] == 'y' || answer[0] == 'Y')) {
    replace = look;
    return path;
  }
  return std::nullopt;
}

}  // namespace korbast::frame
