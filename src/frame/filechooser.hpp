// The file chooser of the console: stands in for the open and save dialogs of a desktop.
#pragma once

#include <optional>
#include <string>

namespace korbast::frame {

// Reads a path from the keyboard. An empty answer cancels. For a file that must exist
// (must_exist) a path is returned as typed and the open decides. For a new file that exists
// already, the chooser asks whether to replace it: yes sets replace, no cancels; a folder is
// returned without the question, for the open to refuse. typed is the path as typed (blanks
// around it removed), for the warning after a cancel: empty when no name was given (or no
// answer could be read), the file's name when it was not replaced. The caller (opef2) takes a
// cancel as a failed open and asks again.
std::optional<std::string> choose_file(bool must_exist, bool& replace, std::string& typed);

}  // namespace korbast::frame
