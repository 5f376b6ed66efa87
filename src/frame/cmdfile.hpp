// Command files: a text file of answers that stands in for the keyboard.
#pragma once

#include <string_view>

#include "frame/mode.hpp"
#include "frame/text.hpp"

namespace korbast::frame {

// The command-file menu (5001 start, 5002 end and go on, 5003 end and quit, 99 back). It
// acts once; after 5003 the choice is 9999. A silent caller mode (1) stops on an unknown
// answer. The mode is handed on to the opening of the command file.
void altsio(int unit, Text<35>& name, int& choice, Mode mode);
// Opens a command file on the unit and reads the answers from it (level 2 output off). With
// one running already, a warning says that nothing was done and the choice is refused.
void beginaltsi(int unit, Text<35>& name, Mode mode);
// Closes the running command file and gives the questions back to the keyboard (level 2 on).
// With none running, a warning says that nothing was done and the choice is refused.
void endaltsi(int unit, const Text<35>& name, Mode mode);

}  // namespace korbast::frame
