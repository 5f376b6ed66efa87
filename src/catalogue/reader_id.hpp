// Routine identities of the catalogue subsystem, as its frames print them.
#pragma once

#include "frame/frames.hpp"

namespace korbast::catalogue {

inline constexpr const char* reader_name = "gcmtreadex1";
inline constexpr const char* reader_version = " 8.0";
inline constexpr const char* reader_date = "08-05-2010";
inline constexpr frame::Identity reader_id{reader_name, reader_version, reader_date};

inline constexpr const char* criteria_name = "setseistest";
inline constexpr const char* criteria_version = " 7.1";
inline constexpr const char* criteria_date = "06-04-2010";
inline constexpr frame::Identity criteria_id{criteria_name, criteria_version, criteria_date};

inline constexpr const char* polygon_name = "spolygontst";
inline constexpr const char* polygon_version = " 1.0";
inline constexpr const char* polygon_date = "01-04-2010";

inline constexpr const char* writer_name = "gcmtwrite  ";
inline constexpr const char* writer_version = " 2.2";
inline constexpr const char* writer_date = "22-09-2009";
inline constexpr frame::Identity writer_id{writer_name, writer_version, writer_date};

}  // namespace korbast::catalogue
