// Free-format (list-directed) input.
//
// Values are separated by blanks, tabs or a comma; a record may continue over lines; a "/"
// ends the record and leaves the remaining targets unchanged; an empty value between two
// commas, or a comma that starts the record (a null), leaves its target unchanged; "r*v"
// repeats v r times and "r*" is r nulls; texts may be quoted with ' or " (the quote doubled
// inside; a quoted text goes on over the line end) and must then be followed by a
// separator; an unquoted text ends at a blank, comma, slash or the line end. Integers are
// optionally signed digits; reals may add a point and an exponent (E, e, D, d or a bare
// sign). NaN, Inf, hex numbers, a quoted number and a value beyond the type's range are read
// errors; a real too small for single precision reads as 0.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korbast::frame {

enum class ListStatus { Ok, Error, Eof };

// One integer from the start of a text (the answer of a prompt): leading blanks skipped, the
// value ends at a blank, comma, slash or the end; the rest is ignored. A leading comma or
// slash is a null: Ok with *null set and the value unchanged.
ListStatus list_int(std::string_view text, int& value, bool* null = nullptr);
// One real from the start of a text, read as list_int reads an integer.
ListStatus list_real(std::string_view text, float& value, bool* null = nullptr);

// A list-directed read of several items from a unit, one record: the reader takes lines
// from the unit as long as items remain (empty lines are skipped), and discards the rest of
// the last line it used.
class ListReader {
 public:
  explicit ListReader(int unit) : unit_(unit) {}
  // A reader of the answers to the question `prompt` of the routine `name` (the frame that
  // ends a run after answers refused in a row names them); the caller takes the values.
  ListReader(int unit, std::string_view name, std::string_view prompt)
      : unit_(unit), name_(name), prompt_(prompt) {}

  ListReader& i(int& value);
  ListReader& f(float& value);
  ListReader& a(std::string& value);
  // A text into n characters, padded with blanks or cut.
  ListReader& a(char* text, int n);

  // Eof when the unit ended before all items were read, Error on a bad value or a failed
  // read; once not Ok, further items are skipped.
  ListStatus status() const { return status_; }
  bool ok() const { return status_ == ListStatus::Ok; }

 private:
  friend ListStatus list_int(std::string_view text, int& value, bool* null);
  friend ListStatus list_real(std::string_view text, float& value, bool* null);
  // A reader over one text instead of a unit (the answer buffer of a prompt).
  ListReader(std::string_view text, bool) : unit_(-1), text_(text) {}

  enum class Tok { Value, Null, End, Error, Eof };
  Tok next(std::string& token, bool& quoted);
  bool fetch();             // the next line into line_; false with status_ set when none
  // Whether the unit is the standard input of the dialog: the values are answers.
  bool answers() const;
  // The read ends in error.
  void failed();
  Tok quoted_text(std::string& token);
  // The token of a value item, or false when the item keeps its target (null, "/", a
  // failure: status_ tells which).
  bool value_token(std::string& token, bool& quoted);
  // A number item read through `convert`: false when the item keeps its target (as
  // value_token); a quoted or unreadable value sets Error.
  template <class T>
  bool number_item(T& value, bool (*convert)(const std::string&, T&));

  int unit_;
  std::string_view text_;   // the text of a text reader
  std::string_view name_ = "listread", prompt_ = "the values asked";  // of a reader of answers
  bool text_used_ = false;
  std::string line_;
  std::size_t pos_ = 0;
  bool have_line_ = false;
  bool begun_ = false;      // a line holding an item (or a separator) has been read
  bool slash_ = false;
  int sep_ = 0;             // 0 start of the record, 1 after a value, 2 after a comma
  int repeat_left_ = 0;
  std::string repeat_token_;
  bool repeat_null_ = false;
  bool repeat_quoted_ = false;
  ListStatus status_ = ListStatus::Ok;
};

}  // namespace korbast::frame
