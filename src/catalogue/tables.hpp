// Catalogue tables: the stored events as tab-separated lines in the column order of the
// format they were read from, under two header lines. The columns, their names and their
// fields are those of the line layouts (layouts.hpp), line after line, then the columns
// computed per event when it is read (`computed_columns` in tables.cpp: fclvd, erelm and
// nmfree), 62 columns for dek and 70 for ndk in all.
#pragma once

#include <string>
#include <string_view>

namespace korbast::catalogue {

// Line 1: a blank and the file name (its full 40 characters) between single quotes.
std::string table_name_line(std::string_view name40);
// Line 2: a blank and the quoted column names of the data type (1 dek, 2 ndk), separated by
// sep (the tab).
std::string table_names_line(int type, char sep);
// The names of the computed columns as the writer announces them, separated by ", ".
std::string computed_column_names();
// The line of the event in slot k (1-based): a blank and the values separated by sep.
std::string table_event_line(int type, int k, char sep);

}  // namespace korbast::catalogue
