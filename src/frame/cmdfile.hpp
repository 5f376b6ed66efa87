// Command files: a text file of answers that stands in for the keyboard.
#pragma once

#include <string_view>

#include "frame/text.hpp"

namespace korbast::frame {

// The command-file menu (5001 start, 5002 end and go on, 5003 end and quit, 99 back). It
// acts once; after 5003 the choice is 9999. Mode 1 stops on an unknown answer.
void altsio(int unit, Text<35>& name, int& choice, int mode);
// Opens a command file on the unit and reads the answers from it (level 2 output off).
void beginaltsi(int unit, Text<35>& name, int mode);
// Closes the running command file and gives the questions back to the keyboard (level 2 on).
void endaltsi(int unit, const Text<35>& name, int mode);

}  // namespace korbast::frame
