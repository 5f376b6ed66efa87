// Free-format (list-directed) input: a small tokenizer over the lines of a unit, or over one
// text, and the conversion of each token with the fixed-column number rules.
#include "frame/listread.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <system_error>

#include "frame/dialog.hpp"
#include "frame/fields.hpp"
#include "frame/iocom.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

namespace {

// A stray CR inside a line ("1 2\r\r\n") is a blank, as the old readers take it.
bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool is_separator(char c) { return is_blank(c) || c == ',' || c == '/'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool to_int(const std::string& token, int& value) {
  if (token.find_first_of("0123456789") == std::string::npos) return false;
  return parse_int_field(token, value);
}

bool to_real(const std::string& token, float& value) {
  // At least one digit: a lone sign or point is no number here.
  if (token.find_first_of("0123456789") == std::string::npos) return false;
  return detail::parse_real(token, 0, false, value);
}

}  // namespace

bool ListReader::answers() const { return unit_ >= 0 && unit_ == iocom.stdin_unit; }

void ListReader::failed() {
  if (status_ == ListStatus::Error) return;
  status_ = ListStatus::Error;
}

bool ListReader::fetch() {
  units::Read r;
  if (unit_ < 0) {
    if (text_used_) {
      r = units::Read::Eof;
    } else {
      line_.assign(text_);
      text_used_ = true;
      r = units::Read::Ok;
    }
  } else {
    // Each answer line counts as refused until the caller takes the values (a blank one too);
    // the lines from the first one holding an item are one answer.
    r = answers() ? read_answer(unit_, line_, name_, prompt_, begun_)
                  : units::read_line(unit_, line_);
  }
  if (r == units::Read::Eof) status_ = ListStatus::Eof;
  if (r != units::Read::Ok) {
    if (r != units::Read::Eof) failed();
    return false;
  }
  have_line_ = true;
  begun_ = begun_ || !std::all_of(line_.begin(), line_.end(), is_blank);
  pos_ = 0;
  return true;
}

// A quoted text starting at pos_ (on its quote). A doubled quote stands for one; a line end
// inside the quotes joins the next line. The closing quote must be followed by a separator
// or the line end.
ListReader::Tok ListReader::quoted_text(std::string& token) {
  const char q = line_[pos_++];
  token.clear();
  for (;;) {
    if (pos_ >= line_.size()) {
      if (!fetch()) return status_ == ListStatus::Eof ? Tok::Eof : Tok::Error;
      continue;
    }
    const char c = line_[pos_++];
    if (c != q) {
      token += c;
      continue;
    }
    if (pos_ < line_.size() && line_[pos_] == q) {
      token += q;
      ++pos_;
      continue;
    }
    if (pos_ < line_.size() && !is_separator(line_[pos_])) return Tok::Error;
    return Tok::Value;
  }
}

ListReader::Tok ListReader::next(std::string& token, bool& quoted) {
  quoted = false;
  if (repeat_left_ > 0) {
    --repeat_left_;
    if (repeat_null_) return Tok::Null;
    token = repeat_token_;
    quoted = repeat_quoted_;
    return Tok::Value;
  }
  if (slash_) return Tok::End;
  // Skip separators up to the next value; a comma right after another comma (or at the
  // start of the record) is a null value.
  for (;;) {
    if (!have_line_ || pos_ >= line_.size()) {
      if (!fetch()) return status_ == ListStatus::Eof ? Tok::Eof : Tok::Error;
      continue;
    }
    const char c = line_[pos_];
    if (is_blank(c)) {
      ++pos_;
    } else if (c == ',') {
      ++pos_;
      const bool null = sep_ != 1;
      sep_ = 2;
      if (null) return Tok::Null;
    } else if (c == '/') {
      ++pos_;
      slash_ = true;
      return Tok::End;
    } else {
      break;
    }
  }
  sep_ = 1;
  // A repeat count: digits and "*".
  int repeat = 1;
  std::size_t k = pos_;
  while (k < line_.size() && is_digit(line_[k])) ++k;
  if (k > pos_ && k < line_.size() && line_[k] == '*') {
    const auto r = std::from_chars(line_.data() + pos_, line_.data() + k, repeat);
    if (r.ec != std::errc() || repeat < 1) return Tok::Error;
    pos_ = k + 1;
    if (pos_ >= line_.size() || is_separator(line_[pos_])) {
      // "r*": r null values.
      repeat_null_ = true;
      repeat_left_ = repeat - 1;
      return Tok::Null;
    }
  }
  if (line_[pos_] == '\'' || line_[pos_] == '"') {
    quoted = true;
    const Tok t = quoted_text(token);
    if (t != Tok::Value) return t;
  } else {
    const std::size_t start = pos_;
    while (pos_ < line_.size() && !is_separator(line_[pos_])) ++pos_;
    token.assign(line_, start, pos_ - start);
  }
  if (repeat > 1) {
    repeat_null_ = false;
    repeat_left_ = repeat - 1;
    repeat_token_ = token;
    repeat_quoted_ = quoted;
  }
  return Tok::Value;
}

bool ListReader::value_token(std::string& token, bool& quoted) {
  if (status_ != ListStatus::Ok) return false;
  switch (next(token, quoted)) {
    case Tok::Value:
      return true;
    case Tok::Null:
    case Tok::End:
      return false;
    case Tok::Error:
      failed();
      return false;
    case Tok::Eof:
      if (status_ == ListStatus::Ok) status_ = ListStatus::Eof;
      return false;
  }
  return false;
}

template <class T>
bool ListReader::number_item(T& value, bool (*convert)(const std::string&, T&)) {
  std::string token;
  bool quoted = false;
  if (!value_token(token, quoted)) return false;
  if (quoted || !convert(token, value)) failed();
  return true;
}

ListReader& ListReader::i(int& value) {
  number_item(value, to_int);
  return *this;
}

ListReader& ListReader::f(float& value) {
  number_item(value, to_real);
  return *this;
}

ListReader& ListReader::a(std::string& value) {
  std::string token;
  bool quoted = false;
  if (value_token(token, quoted)) value = token;
  return *this;
}

ListReader& ListReader::a(char* text, int n) {
  std::string token;
  bool quoted = false;
  if (!value_token(token, quoted) || n <= 0) return *this;
  const auto len = static_cast<std::size_t>(n);
  const std::size_t used = std::min(len, token.size());
  std::memcpy(text, token.data(), used);
  std::memset(text + used, ' ', len - used);
  return *this;
}

ListStatus list_int(std::string_view text, int& value, bool* null) {
  ListReader r(text, true);
  const bool got = r.number_item(value, to_int);
  if (null) *null = !got && r.status_ == ListStatus::Ok;
  return r.status_;
}

ListStatus list_real(std::string_view text, float& value, bool* null) {
  ListReader r(text, true);
  const bool got = r.number_item(value, to_real);
  if (null) *null = !got && r.status_ == ListStatus::Ok;
  return r.status_;
}

}  // namespace korbast::frame
