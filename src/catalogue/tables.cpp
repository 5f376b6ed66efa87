#include "catalogue/tables.hpp"

#include "catalogue/gcmtblk.hpp"
#include "catalogue/layouts.hpp"
#include "frame/format.hpp"

namespace korbast::catalogue {

namespace {

using frame::fmt::Line;
using enum Kind;

constexpr Gcmtblk& g = gcmtblk;

// The columns computed per event when it is read (derived.cpp) that end every event line,
// after the columns of the format's lines. A new one is a stored array of Gcmtblk and a row
// here: the table header and the writer's announcement follow.
constexpr Field computed_columns[] = {
    {Real, 5, 2, at(g.fclvd), "Fclvd"},
    {Real, 5, 2, at(g.erelm), "Erel"},
    {Int, 1, 0, at(g.nmfree), "Nfree"},
};

// A blank, then item(s, f) for every table column f of data type `type` in order, with sep
// between two columns.
template <typename Item>
std::string columns_line(int type, char sep, Item item) {
  Line s(" ");
  bool first = true;
  auto column = [&](const Field& f) {
    if (!first) s.lit(std::string_view(&sep, 1));
    first = false;
    item(s, f);
  };
  for (int l = 1; l <= line_count(type); ++l) {
    for (const Field& f : layout(type, l)) {
      if (f.kind != Blank) column(f);
    }
  }
  for (const Field& f : computed_columns) column(f);
  return s.str();
}

// One value of the event at index i. A text is quoted and holds the first w characters of
// the stored text, kept as they are (trailing blanks too); an angle is a rounded real.
void value(Line& s, const Field& f, int i) {
  switch (f.kind) {
    case Text: {
      const std::string_view t = f.store.text_view(i).substr(0, static_cast<std::size_t>(f.width));
      s.lit("'").a(t).x(f.width - static_cast<int>(t.size())).lit("'");
      break;
    }
    case Int: s.i(f.store.integer(i), f.width); break;
    case Real: s.f(f.store.real(i), f.width, f.decimals); break;
    case Angle: s.f(f.store.real(i), f.table_width > 0 ? f.table_width : f.width, 0); break;
    case Blank: break;
  }
}

}  // namespace

std::string table_name_line(std::string_view name40) {
  std::string s = " '";
  s += name40;
  s += '\'';
  return s;
}

std::string table_names_line(int type, char sep) {
  return columns_line(type, sep, [](Line& s, const Field& f) { s.lit("'").lit(f.column).lit("'"); });
}

std::string computed_column_names() {
  std::string names;
  for (const Field& f : computed_columns) {
    if (!names.empty()) names += ", ";
    names += f.column;
  }
  return names;
}

std::string table_event_line(int type, int k, char sep) {
  return columns_line(type, sep, [k](Line& s, const Field& f) { value(s, f, k - 1); });
}

}  // namespace korbast::catalogue
