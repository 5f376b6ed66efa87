// The prompted questions: a prompt, one answer line, the default kept on an empty answer, the
// free-format conversion, the question again after an unreadable answer, and the echo.
#include "frame/prompts.hpp"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "frame/dialog.hpp"
#include "frame/dialog_detail.hpp"
#include "frame/format.hpp"
#include "frame/iocom.hpp"
#include "frame/listread.hpp"
#include "frame/textfmt.hpp"
#include "frame/units.hpp"

namespace korbast::frame {

namespace {

using namespace detail;

constexpr Identity id_inintegdef{"inintegdef ", "1.3 ", "08-03-2000"};
constexpr Identity id_inrealdef{"inrealdef  ", "1.2 ", "08-03-2000"};
constexpr Identity id_inlogicdef{"inlogicdef ", " 1.2", "02-05-99  "};
constexpr Identity id_inchardef{"inchardef  ", "1.4 ", "08-03-2000"};
constexpr Identity id_ininteg1{"ininteg1   ", "1.1 ", "08-03-2000"};
constexpr Identity id_inchar1{"inchar1    ", "1.4 ", "08-03-2000"};
constexpr Identity id_inintegdefnp{"inintegdefn", "1.10", "07-10-96  "};
constexpr Identity id_inlogicdef2{"inlogicdef2", " 1.0", "08-03-2000"};

void fill(std::span<char> value, std::string_view text) {
  std::size_t n = std::min(text.size(), value.size());
  std::copy_n(text.begin(), n, value.begin());
  std::fill(value.begin() + static_cast<std::ptrdiff_t>(n), value.end(), ' ');
}


void echo_int(int v) { say(fmt::Line().item("New value = ").item(fmt::I(v, 12)).str()); }

template <class T>
ListStatus convert(const std::string& buf, T& v) {
  if constexpr (std::is_same_v<T, int>) {
    return list_int(buf, v);
  } else {
    return list_real(buf, v);
  }
}

// The answer to the number question `prompt` of the routine `id`, read from the standard
// input: a blank answer gives d, any other is read as a number into v; an unreadable number
// makes the read an error. Again as read_answer_line says it.
template <class T>
AnswerRead number_or_default(const Identity& id, std::string_view prompt, T& v, T d) {
  std::string line;
  const AnswerRead r = read_answer_line(iocom.stdin_unit, line, id.name, prompt);
  if (r != AnswerRead::Ok) return r;
  const std::string buf = buffer(line, 20);
  if (keeps_default(buf)) {
    v = d;
    return r;
  }
  return convert(buf, v) == ListStatus::Ok ? r : AnswerRead::Error;
}

// One answer line to the question `prompt` of the routine `id`, from the standard input.
// False when the question is to be asked again: the command file ended, or the read failed
// and the error frame has said so.
bool got_answer(const Identity& id, std::string_view prompt, std::string& line) {
  const AnswerRead r = read_answer_line(iocom.stdin_unit, line, id.name, prompt);
  if (r == AnswerRead::Error) could_not_read(id, prompt);
  return r == AnswerRead::Ok;
}

// A question with a default as it is shown: the prompt, and at output level 2 the dotted
// line before it and the default after it.
void ask_with_default(std::string_view prompt, std::string_view shown_default) {
  if (verbose()) dots();
  say(fmt::Line().item("Enter").item(trimmed(prompt)).str());
  if (verbose()) {
    say_item("or return for default value");
    say(fmt::Line().item("Default =").item(shown_default).str());
  }
}

// inintegdef and inrealdef: the same question for an integer or a real; the answer is taken
// here unless it is the choice of a menu (`menu`), which the menu takes.
template <class T>
void number_question(const Identity& id, T& value, std::string_view prompt, T def,
                     std::string (*form)(T), bool menu = false) {
  const T d = def;  // value and default may be the same variable
  for (;;) {
    ask_with_default(prompt, form(d));
    T v = value;
    const AnswerRead r = number_or_default(id, prompt, v, d);
    if (r == AnswerRead::Again) continue;
    if (r == AnswerRead::Error) {
      could_not_read(id, prompt);
      continue;
    }
    if (!menu) answer_taken();
    value = v;
    say(fmt::Line().item("New value = ").item(form(v)).str());
    if (verbose()) dots();
    return;
  }
}

// The first character of an answer for the console ("?" for a byte that is no UTF-8).
std::string first_character(std::string_view answer) {
  const std::string shown = fmt::printable(answer);
  const auto lead = static_cast<unsigned char>(shown[0]);
  const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return shown.substr(0, n);
}

std::string form_i12(int v) { return fmt::I(v, 12); }
std::string form_g12(float v) { return fmt::G(v, 12, 6); }

// The yes/no question. `always` is the inlogicdef2 form: everything printed whatever the
// output level, the dotted line once before the first question, messages on out_unit.
void yes_no(const Identity& id, bool& value, std::string_view prompt, bool def, int in_unit,
            int out_unit, bool always) {
  const bool d = def;
  const std::string_view def_text = d ? "Yes" : "No ";
  auto say = [out_unit](std::string_view line) { units::write_line(out_unit, line); };
  auto help = [&] {
    submenuhead(id);
    say_item("   To         type           ");
    say_item("-----------------------------");
    say_item("get help      h or H         ");
    say_item("answer Yes    y or Y or 1    ");
    say_item("answer No     n or N or 0    ");
    say_item("use default   Carriage Return");
    menutail();
  };
  if (always) dots(out_unit);
  for (;;) {
    const bool full = always || verbose();
    if (!always && full) dots(out_unit);
    say(fmt::Line().item(trimmed(prompt)).item("?").str());
    if (full) {
      say(fmt::Line().item("Enter").item("(0/1)(n/y)(N/Y)").str());
      say_item("or return for default value or h for help");
      say(fmt::Line().item("Default =").item(def_text).str());
    }
    std::string line;
    AnswerRead r = read_answer_line(always ? in_unit : iocom.stdin_unit, line, id.name, prompt);
    if (r == AnswerRead::Again) continue;
    if (r == AnswerRead::Error) {
      errorhead(id);
      say(fmt::Line().item("could not read answer to").item(prompt).str());
      say_item("==> WILL ASK QUESTION AGAIN");
      errortail00();
      continue;
    }
    const char c = line.empty() ? ' ' : line[0];
    bool v;
    switch (c) {
      case 'y': case 'Y': case '1': v = true; break;
      case 'n': case 'N': case '0': v = false; break;
      case ' ': case '\n': case '\r': v = d; break;
      case 'h': case 'H':
        help();
        continue;
      default:
        errorhead(id);
        say(fmt::Line().item("incorrect answer:").item(first_character(line)).str());
        say_item("==> WILL ASK QUESTION AGAIN");
        errortail00();
        help();
        continue;
    }
    answer_taken();
    value = v;
    say(fmt::Line().item("New value = ").item(v ? "Yes" : "No ").str());
    if (full) dots(out_unit);
    return;
  }
}

}  // namespace

void inintegdef(int& value, std::string_view prompt, int def, int& status) {
  status = 0;
  number_question(id_inintegdef, value, prompt, def, form_i12);
}

void inrealdef(float& value, std::string_view prompt, float def, int& status) {
  status = 0;
  number_question(id_inrealdef, value, prompt, def, form_g12);
}

void inlogicdef(bool& value, std::string_view prompt, bool def, int& status) {
  status = 0;
  yes_no(id_inlogicdef, value, prompt, def, iocom.stdin_unit, iocom.stdout_unit, false);
}

void inlogicdef2(bool& value, std::string_view prompt, bool def, int in_unit, int out_unit,
                 int& status) {
  status = 0;
  yes_no(id_inlogicdef2, value, prompt, def, in_unit, out_unit, true);
}

namespace {

// The text question behind inchardef, asked for the routine `id`: the answer is cut to
// `buffer_len` characters (all of it when 0) and stored through `store`, which also gives the
// text the echo shows; it is taken here when `takes`, else by the caller.
template <typename Store>
void ask_text(const Identity& id, std::string_view prompt, std::string_view def,
              std::size_t buffer_len, bool takes, Store store) {
  const std::string d(def);  // value and default may share storage
  for (;;) {
    ask_with_default(prompt, trimmed(d));
    std::string line;
    if (!got_answer(id, prompt, line)) continue;
    if (takes) answer_taken();
    std::string buf = buffer(line, buffer_len == 0 ? std::max<std::size_t>(line.size(), 1) : buffer_len);
    std::string shown;
    if (keeps_default(buf)) {
      const int code = static_cast<unsigned char>(buf[0]);
      say(fmt::Line().item("ichar =").item(fmt::I(code, 3)).item("=> use default value").str());
      shown = store(d);
    } else {
      shown = store(buf);
    }
    say(fmt::Line().item("New value =").item(fmt::printable(shown)).str());
    if (verbose()) dots();
    return;
  }
}

}  // namespace

void inchardef(std::span<char> value, std::string_view prompt, std::string_view def,
               int& status) {
  status = 0;
  ask_text(id_inchardef, prompt, def, 80, true, [&](const std::string& text) {
    fill(value, text);
    return std::string(value.data(), value.size());
  });
}

std::string inchardef_name(std::string_view asker, std::string_view prompt, std::string_view def,
                           std::size_t shown_len, int& status) {
  status = 0;
  std::string answer;
  const Identity id{asker, id_inchardef.version, id_inchardef.date};
  ask_text(id, prompt, def, 0, false, [&](const std::string& text) {
    answer = text;
    std::string shown(whole_characters(text, shown_len));
    shown.resize(shown_len, ' ');
    return shown;
  });
  return answer;
}

void ininteg1(int& value, std::string_view prompt, int& status) {
  status = 0;
  const Identity& id = id_ininteg1;
  for (;;) {
    if (verbose()) dots();
    say(fmt::Line().item("Enter").item(trimmed(prompt)).str());
    std::string line;
    const AnswerRead r = read_value_line(id, prompt, line, true);
    if (r == AnswerRead::Again) continue;
    int v = value;
    if (r == AnswerRead::Error || list_int(line, v) != ListStatus::Ok) {
      could_not_read(id, prompt);
      continue;
    }
    value = v;
    echo_int(v);
    if (verbose()) dots();
    return;
  }
}

void inchar1(std::span<char> value, std::string_view prompt, int& status) {
  status = 0;
  const Identity& id = id_inchar1;
  for (;;) {
    if (verbose()) dots();
    say(fmt::Line().item("Enter").item(trimmed(prompt)).str());
    std::string line;
    if (!got_answer(id, prompt, line)) continue;
    answer_taken();
    fill(value, line);
    say(fmt::Line().item("New value =").item(std::string_view(value.data(), value.size())).str());
    if (verbose()) dots();
    return;
  }
}

int menu_choice(int def) {
  int choice = def;
  number_question(id_inintegdef, choice, "your choice", def, form_i12, true);
  return choice;
}

int close_menu(std::string_view exit_item) {
  say_rule();
  say_item(exit_item);
  menutail();
  return menu_choice();
}

void inintegdefnp(int& value, std::string_view prompt, int def, int& status) {
  status = 0;
  const int d = def;
  const Identity& id = id_inintegdefnp;
  dots();
  for (;;) {
    say(fmt::Line().item("Enter").item(prompt).str());
    say_item("or return for default value");
    say(fmt::Line().item("Default =").item(fmt::I(d, 12)).str());
    int v = value;
    const AnswerRead r = number_or_default(id, prompt, v, d);
    if (r == AnswerRead::Again) continue;
    if (r == AnswerRead::Error) {
      errorhead(id);
      say(fmt::Line().item("could not read").item(prompt).str());
      say_item("             RETRYING              ");
      errortail0(0);
      continue;
    }
    value = v;
    dots();
    return;
  }
}

}  // namespace korbast::frame
