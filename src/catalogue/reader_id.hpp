// Routine identities of the catalogue subsystem, as its frames print them.
#pragma once

#include "frame/frames.hpp"

namespace korbast::catalogue {

inline constexpr frame::Identity reader_id{"gcmtreadex1", " 8.0", "08-05-2010"};
inline constexpr frame::Identity criteria_id{"setseistest", " 7.1", "06-04-2010"};
inline constexpr frame::Identity polygon_id{"spolygontst", " 1.0", "01-04-2010"};
inline constexpr frame::Identity writer_id{"gcmtwrite  ", " 2.2", "22-09-2009"};

}  // namespace korbast::catalogue
