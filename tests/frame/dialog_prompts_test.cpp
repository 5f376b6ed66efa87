// Prompted questions: defaults, retries, yes/no help, echo forms, output level 2 on and off.
#include <gtest/gtest.h>

#include <string>

#include "frame/dialog.hpp"
#include "frame/iocom.hpp"
#include "frame/text.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"

namespace korbast::frame {
namespace {

using testing::Console;
using testing::lines;
using testing::rep;

class Prompts : public testing::DialogTest {};

const std::string pause_line = " ===> HIT RETURN TO CONTINUE";

// ---- inintegdef ----

std::string int_question(const std::string& def12) {
  return lines({ex::dots(), " Enter number of points", " or return for default value",
                " Default = " + def12});
}

TEST_F(Prompts, InintegdefKeepsTheDefaultOnABlankAnswer) {
  Console c("\n");
  int n = 5;
  int status = 7;
  inintegdef(n, "number of points   ", n, status);
  EXPECT_EQ(n, 5);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(c.text(), int_question("           5") +
                          lines({" New value =             5", ex::dots()}));
}

TEST_F(Prompts, InintegdefAnswerForms) {
  struct Case {
    const char* answer;
    int expected;
  } cases[] = {
      {"1000", 1000},         {"-3", -3},      {"12 34", 12},  {"12,34", 12},
      {" 7", 5},              {",", 9},        {"/", 9},       {"\t42", 42},
      {"+8", 8},              {"2147483647", 2147483647},      {"-2147483648", -2147483647 - 1},
      {"00000000000000000012345", 12},  // cut to 20 characters: "00000000000000000012"
  };
  for (const auto& k : cases) {
    Console c(std::string(k.answer) + "\n");
    int n = 9;
    int status = 0;
    inintegdef(n, "n", 5, status);
    EXPECT_EQ(n, k.expected) << k.answer;
  }
}

TEST_F(Prompts, InintegdefRetriesUnreadableAnswers) {
  // Letters, a real, an overflow, non-finite and hex forms are read errors; each costs the
  // error frame and its pause, then the question comes again.
  for (const char* bad : {"abc", "2.5", "99999999999", "inf", "nan", "0x10", "1e3",
                          "12345678901234567890123"}) {
    Console c(std::string(bad) + "\n\n42\n");
    int n = 5;
    int status = 0;
    inintegdef(n, "number of points", n, status);
    EXPECT_EQ(n, 42) << bad;
    EXPECT_EQ(c.text(), int_question("           5") +
                            ex::text(ex::error_head("inintegdef")) +
                            lines({" could not read number of points", " ==> RETRYING",
                                   pause_line, ex::rule('*')}) +
                            int_question("           5") +
                            lines({" New value =            42", ex::dots()}))
        << bad;
  }
}

TEST_F(Prompts, InintegdefWithLevelTwoOff) {
  Console c("\n");
  iocom.lwito(2) = false;
  int n = -12;
  int status = 0;
  inintegdef(n, "  shift ", n, status);
  EXPECT_EQ(c.text(), lines({" Enter shift", " New value =           -12"}));
}

// ---- inrealdef ----

TEST_F(Prompts, InrealdefEchoesInG126) {
  struct Case {
    const char* answer;
    float def;
    float expected;
    const char* def_text;
    const char* echo;
  } cases[] = {
      {"", 0.5f, 0.5f, "0.500000    ", "0.500000    "},
      {"12.5", 0.5f, 12.5f, "0.500000    ", " 12.5000    "},
      {"0.05", 0.5f, 0.05f, "0.500000    ", "0.500000E-01"},
      {"1e3", 0.5f, 1000.0f, "0.500000    ", " 1000.00    "},
      {"-0.5", 0.0f, -0.5f, "0.000000    ", "-.500000    "},
      {"999999.5", 1.0f, 999999.5f, " 1.00000    ", "0.100000E+07"},
      {"2.5d0", 1.0f, 2.5f, " 1.00000    ", " 2.50000    "},
  };
  for (const auto& k : cases) {
    Console c(std::string(k.answer) + "\n");
    float x = k.def;
    int status = 0;
    inrealdef(x, "size", x, status);
    EXPECT_EQ(x, k.expected) << k.answer;
    EXPECT_EQ(c.text(), lines({ex::dots(), " Enter size", " or return for default value",
                               std::string(" Default = ") + k.def_text,
                               std::string(" New value =  ") + k.echo, ex::dots()}))
        << k.answer;
  }
}

TEST_F(Prompts, InrealdefRefusesNonFiniteAndOutOfRange) {
  for (const char* bad : {"inf", "-Infinity", "nan", "1e99", "0x1p3", "1.5.2", "e5"}) {
    Console c(std::string(bad) + "\n\n3\n");
    iocom.lwito(2) = false;
    float x = 1.0f;
    int status = 0;
    inrealdef(x, "size", x, status);
    EXPECT_EQ(x, 3.0f) << bad;
    EXPECT_EQ(c.text(), lines({" Enter size"}) +
                            ex::text(ex::error_head("inrealdef")) +
                            lines({" could not read size", " ==> RETRYING", pause_line, ex::rule('*'),
                                   " Enter size", " New value =   3.00000    "}))
        << bad;
  }
}

// ---- inlogicdef ----

const std::string help_table =
    lines({ex::rule('@'), " @ subroutine inlogicdef ", ex::head_rule(),
           "    To         type           ", " -----------------------------",
           " get help      h or H         ", " answer Yes    y or Y or 1    ",
           " answer No     n or N or 0    ", " use default   Carriage Return", ex::rule('@')});

std::string yes_no_question(const std::string& def) {
  return lines({ex::dots(), " plot the map ?", " Enter (0/1)(n/y)(N/Y)",
                " or return for default value or h for help", " Default = " + def});
}

TEST_F(Prompts, InlogicdefAnswers) {
  struct Case {
    const char* answer;
    bool def;
    bool expected;
  } cases[] = {{"y", false, true},   {"Y", false, true}, {"1", false, true},
               {"yes", false, true}, {"n", true, false}, {"N", true, false},
               {"0", true, false},   {"", true, true},   {"", false, false},
               {" y", false, false}};
  for (const auto& k : cases) {
    Console c(std::string(k.answer) + "\n");
    bool v = k.def;
    int status = 0;
    inlogicdef(v, "plot the map", v, status);
    EXPECT_EQ(v, k.expected) << k.answer;
    EXPECT_EQ(c.text(), yes_no_question(k.def ? "Yes" : "No ") +
                            lines({std::string(" New value =  ") + (k.expected ? "Yes" : "No "),
                                   ex::dots()}))
        << k.answer;
  }
}

TEST_F(Prompts, InlogicdefHelpAndIncorrectAnswer) {
  Console c("h\n2\n\nn\n");
  bool v = true;
  int status = 0;
  inlogicdef(v, "plot the map", v, status);
  EXPECT_FALSE(v);
  EXPECT_EQ(c.text(), yes_no_question("Yes") + help_table + yes_no_question("Yes") +
                          ex::text(ex::error_head("inlogicdef")) +
                          lines({" incorrect answer: 2", " ==> WILL ASK QUESTION AGAIN",
                                 pause_line, ex::rule('*')}) +
                          help_table + yes_no_question("Yes") +
                          lines({" New value =  No ", ex::dots()}));
}

TEST_F(Prompts, InlogicdefWithLevelTwoOff) {
  Console c("\n");
  iocom.lwito(2) = false;
  bool v = false;
  int status = 0;
  inlogicdef(v, "  plot the map  ", v, status);
  EXPECT_EQ(c.text(), lines({" plot the map ?", " New value =  No "}));
}

// ---- inchardef ----

TEST_F(Prompts, InchardefEmptyAnswerKeepsTheDefault) {
  Console c("\n");
  std::string name(12, '?');
  int status = 0;
  inchardef(name, "plot file name", "seis.ps", status);
  EXPECT_EQ(name, "seis.ps     ");
  EXPECT_EQ(c.text(), lines({ex::dots(), " Enter plot file name", " or return for default value",
                             " Default = seis.ps", " ichar =  32 => use default value",
                             " New value = seis.ps     ", ex::dots()}));
}

TEST_F(Prompts, InchardefTakesTheLineCutOrPadded) {
  Console c("a_rather_long_name.ps\n   indented\n");
  iocom.lwito(2) = false;
  Text<12> name("seis.ps");
  int status = 0;
  inchardef(name, "plot file name", name, status);
  EXPECT_EQ(name.view(), "a_rather_lon");
  inchardef(name, "plot file name", "  seis.ps  ", status);  // a blank first: the default
  EXPECT_EQ(name.view(), "  seis.ps   ");
  EXPECT_EQ(c.text(), lines({" Enter plot file name", " New value = a_rather_lon",
                             " Enter plot file name", " ichar =  32 => use default value",
                             " New value =   seis.ps   "}));
}

TEST_F(Prompts, EchoesNeverWriteInvalidUtf8) {
  // A Latin-1 answer and a UTF-8 one cut inside its last character: stored as they are,
  // echoed with "?" for the bytes that are no UTF-8. A wrong yes/no answer is echoed by its
  // first character whole, of two, three or four bytes.
  Console c("S\xE9isme\nabcdefghijk\xC3\xA9\n\xE9\n\n\xC3\xA9\n\n\xE2\x82\xACuro\n\n"
            "\xF0\x9F\x98\x80!\n\nn\n");  // blank lines: pauses
  iocom.lwito(2) = false;
  Text<12> name("seis.ps");
  int status = 0;
  inchardef(name, "title", name, status);
  EXPECT_EQ(name.view(), "S\xE9isme      ");
  inchardef(name, "title", name, status);
  EXPECT_EQ(name.view(), "abcdefghijk\xC3");
  bool v = true;
  inlogicdef(v, "plot the map", v, status);
  const std::string text = c.text();
  EXPECT_NE(text.find(" New value = S?isme      \n"), std::string::npos) << text;
  EXPECT_NE(text.find(" New value = abcdefghijk?\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" incorrect answer: ?\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" incorrect answer: \xC3\xA9\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" incorrect answer: \xE2\x82\xAC\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" incorrect answer: \xF0\x9F\x98\x80\n"), std::string::npos) << text;
}

TEST_F(Prompts, InchardefKeepsEightyCharacters) {
  const std::string longer = rep('a', 79) + "bcd";
  Console c(longer + "\n");
  iocom.lwito(2) = false;
  std::string v(90, ' ');
  int status = 0;
  inchardef(v, "t", "", status);
  EXPECT_EQ(v, rep('a', 79) + "b" + rep(' ', 10));
}

// ---- ininteg1 ----

TEST_F(Prompts, Ininteg1SkipsEmptyLinesAndEchoes) {
  Console c("\n   \n\t\n 2001 junk\n");
  int choice = 0;
  int status = 0;
  ininteg1(choice, "your choice", status);
  EXPECT_EQ(choice, 2001);
  EXPECT_EQ(c.text(), lines({ex::dots(), " Enter your choice", " New value =          2001", ex::dots()}));
}

TEST_F(Prompts, Ininteg1NullKeepsTheLastChoiceAndRetries) {
  Console c(",\nx\n\n13\n");
  iocom.lwito(2) = false;
  int choice = 10;
  int status = 0;
  ininteg1(choice, "your choice", status);
  EXPECT_EQ(choice, 10);
  ininteg1(choice, "your choice", status);
  EXPECT_EQ(choice, 13);
  EXPECT_EQ(c.text(), lines({" Enter your choice", " New value =            10",
                             " Enter your choice"}) +
                          ex::text(ex::error_head("ininteg1")) +
                          lines({" could not read your choice", " ==> RETRYING", pause_line,
                                 ex::rule('*'), " Enter your choice", " New value =            13"}));
}

// ---- inchar1 ----

TEST_F(Prompts, Inchar1ReadsOneLineIntoTheText) {
  Console c("Global CMT 2010\n\n");
  Text<20> title;
  int status = 0;
  inchar1(title, "title", status);
  EXPECT_EQ(title.view(), "Global CMT 2010     ");
  iocom.lwito(2) = false;
  inchar1(title, "title", status);  // an empty line gives blanks
  EXPECT_EQ(title.view(), rep(' ', 20));
  EXPECT_EQ(c.text(), lines({ex::dots(), " Enter title", " New value = Global CMT 2010     ",
                             ex::dots(), " Enter title", " New value = " + rep(' ', 20)}));
}

// ---- inintegdefnp ----

TEST_F(Prompts, InintegdefnpPrintsEverythingAndNeverEchoes) {
  Console c("\n");
  iocom.lwito(2) = false;  // as while a command file runs
  int n = 3;
  int status = 0;
  inintegdefnp(n, "choice   ", n, status);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(c.text(), lines({ex::dots(), " Enter choice   ", " or return for default value",
                             " Default =            3", ex::dots()}));
}

TEST_F(Prompts, InintegdefnpRetryUsesTheOutdatedTail) {
  Console c("zz\n\n4\n");
  int n = 3;
  int status = 0;
  inintegdefnp(n, "choice", n, status);
  EXPECT_EQ(n, 4);
  const std::string a = " " + rep('@', 24);
  const std::string outdated =
      lines({a, "   " + rep('@', 20) + "  ", "     " + rep('@', 16) + "    ",
             "       " + rep('@', 12) + "      ", "         " + rep('@', 8) + "        ",
             "           " + rep('@', 4) + "          ", a, " OUTDATED    errortail0", a,
             "           " + rep('@', 4) + "          ", "         " + rep('@', 8) + "        ",
             "       " + rep('@', 12) + "      ", "     " + rep('@', 16) + "    ",
             "   " + rep('@', 20) + "  ", a});
  const std::string ask =
      lines({" Enter choice", " or return for default value", " Default =            3"});
  EXPECT_EQ(c.text(), lines({ex::dots()}) + ask + ex::text(ex::error_head("inintegdefn")) +
                          lines({" could not read choice", "              RETRYING              "}) +
                          outdated + lines({pause_line, ex::rule('*')}) + ask + lines({ex::dots()}));
}

// ---- inlogicdef2 ----

TEST_F(Prompts, Inlogicdef2PrintsEverythingWhateverTheLevel) {
  Console c("x\n\n\n");
  iocom.lwito(2) = false;
  bool v = false;
  int status = 0;
  inlogicdef2(v, "RESUME", true, 5, 6, status);
  EXPECT_TRUE(v);
  const std::string ask = lines({" RESUME ?", " Enter (0/1)(n/y)(N/Y)",
                                 " or return for default value or h for help",
                                 " Default = Yes"});
  const std::string help =
      lines({ex::rule('@'), " @ subroutine inlogicdef2", ex::head_rule(),
             "    To         type           ", " -----------------------------",
             " get help      h or H         ", " answer Yes    y or Y or 1    ",
             " answer No     n or N or 0    ", " use default   Carriage Return",
             ex::rule('@')});
  // The dotted line comes once before the first question and once after the echo.
  EXPECT_EQ(c.text(), lines({ex::dots()}) + ask + ex::text(ex::error_head("inlogicdef2")) +
                          lines({" incorrect answer: x", " ==> WILL ASK QUESTION AGAIN",
                                 pause_line, ex::rule('*')}) +
                          help + ask + lines({" New value =  Yes", ex::dots()}));
}

}  // namespace
}  // namespace korbast::frame
