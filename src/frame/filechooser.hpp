// The file chooser of the console: stands in for the open and save dialogs of a desktop.
#pragma once

#include <optional>
#include <string>

namespace korbast::frame {

// Reads a path from the keyboard. An empty answer cancels. For a file that must exist
// (must_exist) a path is returned as typed and the open decides. For a new file, the name is
// looked at itself, never through a link: nothing there, or a folder, is returned for a new
// file (the open refuses a folder); a file or a link (even one that leads nowhere) is what
// the user is asked to replace: yes sets replace, no cancels. A FIFO, a device or a socket is
// returned with replace set and no question (the open writes it as it is, or refuses it), and
// so is a link to a FIFO or a character device (/dev/stdout), and a file open on another unit
// than `unit` (the open refuses it). typed is the path as
// typed (blanks around it removed), for the warning after a cancel: empty when no name was
// given (or no answer could be read), the file's name when it was not replaced. The caller
// (opef2) takes a cancel as a failed open and asks again.
std::optional<std::string> choose_file(bool must_exist, int unit, bool& replace, std::string& typed);

}  // namespace korbast::frame
