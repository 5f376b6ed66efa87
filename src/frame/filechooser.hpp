// The file chooser of the console: stands in for the open and save dialogs of a desktop.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "frame/units.hpp"

namespace korbast::frame {

// Reads a path from the keyboard. An empty answer cancels. For a file that must exist
// (must_exist) a path is returned as typed and the open decides. For a new file, the name is
// looked at itself, never through a link: nothing there, or a folder (or a link to one), is
// returned for a new file (the open refuses a folder); anything else there (a file, a link,
// even one that leads nowhere, a FIFO, a device, a socket, the file open on another unit) is
// what the user is asked to replace: yes sets replace to what was looked at, which the open
// checks and refuses or writes (see units::Status::Replace); no cancels. typed is the path as
// typed (blanks around it removed), for the warning after a cancel: empty when no name was
// given (or no answer could be read), the file's name when it was not replaced. The caller
// (opef2) takes a cancel as a failed open and asks again. The answers are read for the
// question `prompt` (the file name question of opef2).
std::optional<std::string> choose_file(std::string_view prompt, bool must_exist,
                                       std::optional<units::Look>& replace, std::string& typed);

}  // namespace korbast::frame
