// Menu frames, banners, error and warning boxes, tails, the pause and the severities.
#include <gtest/gtest.h>

#include "frame/dialog.hpp"
#include "frame/iocom.hpp"
#include "support/console.hpp"
#include "support/dialog_support.hpp"
#include "support/expected_lines.hpp"

namespace korbast::frame {
namespace {

using testing::Console;
using testing::lines;
using testing::rep;
using testing::sorry_text;
using testing::StderrConsole;

class Frames : public testing::DialogTest {};

TEST_F(Frames, InitsioPrintsTheStartSettings) {
  Console c;
  iocom.stdin_unit = 15;  // whatever was set before, initsio starts afresh
  iocom.lwito(2) = false;
  initsio();
  EXPECT_EQ(c.text(), lines({ex::rule('@'),
                             " @ subroutine initsio    ",
                             ex::head_rule(),
                             " INITIALIZING INPUT/OUTPUT",
                             " standard  input unit        =  5",
                             " standard output unit        =  6",
                             " error     input unit        =  5",
                             " error    output unit        =  6",
                             " minimum output enabled      :  T",
                             " more    output enabled      :  T",
                             " maximum output enabled      :  F",
                             " command file open status    :  F",
                             " plot    file open status    :  F",
                             " pause after warning or error:  T",
                             ex::rule('@')}));
  EXPECT_EQ(iocom.stdin_unit, 5);
  EXPECT_TRUE(iocom.lwito(2));
}

TEST_F(Frames, MenuHeadsAndTail) {
  Console c;
  mainmenuhead({"korbast    ", "8.0 ", "06-05-2010"});
  submenuhead({"inintegdefnp", "1.10", "07-10-96  "});  // a longer name shows 11 characters
  menutail();
  EXPECT_EQ(c.text(), lines({ex::rule('@'), " @ main program korbast    ", ex::head_rule(),
                             ex::rule('@'), " @ subroutine inintegdefn", ex::head_rule(), ex::rule('@')}));
}

TEST_F(Frames, ConsoleLineKit) {
  Console c;
  say("as it stands");
  say_item("one item");
  say_value("name:", "Red");
  say_int("nb =", 42, 6);
  say_int("nb =", 1234, 3);  // too wide: asterisks
  say_real("x =", -0.0004, 8, 3);
  say_real("y =", 2.5f, 6, 2);
  say_rule();
  EXPECT_EQ(c.text(), lines({"as it stands", " one item", " name: Red", " nb =     42", " nb = ***",
                             " x =   -0.000", " y =   2.50", ex::rule('-')}));
  EXPECT_EQ(item("a"), " a");
}

TEST_F(Frames, HeadsOfAnIdentityAreTheHeadsOfItsParts) {
  Console c;
  submenuhead({"scolortable", " 1.3", "10-05-2009"});
  warninghead({"scolortable", " 1.3", "10-05-2009"});
  const std::string parts = c.text();
  c.clear();
  constexpr Identity id{"scolortable", " 1.3", "10-05-2009"};
  submenuhead(id);
  warninghead(id);
  EXPECT_EQ(c.text(), parts);
  EXPECT_NE(parts, "");
}

TEST_F(Frames, BannersOnlyAtLevelThree) {
  Console c;
  subhead({"opefin", "1.0 ", "08-03-2000"});
  subtail({"opefin", "1.0 ", "08-03-2000"});
  EXPECT_EQ(c.text(), "");
  iocom.lwito(3) = true;
  subhead({"opefin", "1.0 ", "08-03-2000"});
  subtail({"opefin", "1.0 ", "08-03-2000"});
  EXPECT_EQ(c.text(), lines({ex::rule('@'), " @ subroutine  opefin     ", " @ version 1.0  on 08-03-2000",
                             ex::rule('@'), ex::rule('@'), " @ exiting opefin     ", ex::rule('@')}));
}

TEST_F(Frames, ErrorAndWarningHeads) {
  Console c;
  errorhead({"inintegdef ", "1.3 ", "08-03-2000"});
  EXPECT_EQ(c.text(), ex::text(ex::error_head("inintegdef")));
  c.clear();
  warninghead({"beginaltsi ", " 3.0", "17-06-2008"});
  EXPECT_EQ(c.text(), lines({ex::rule('/'), " ///        subroutine beginaltsi        ///",
                             " ///               WARNING               ///", ex::rule('/')}));
  c.clear();
  // A name of more than 17 characters is cut with the body at 35.
  errorhead({"a_very_long_routine_name", "", ""});
  EXPECT_EQ(c.text(), ex::text(ex::error_head("a_very_long_routine_name")));
}

TEST_F(Frames, AValueResetInAFrameSaysWhatWasAskedThenTheNewValue) {
  Console c;
  iocom.pause = false;
  int value = 15;
  reset_in_frame({"scolortable", " 1.3", "10-05-2009"}, value, 12, {"===> RESET nb =", 6},
                 {int_line("trying to set nb =", value, 6), item("max nb = 12")});
  EXPECT_EQ(value, 12);
  ex::Lines warning = ex::warning_head("scolortable");
  for (const char* l : {" trying to set nb =     15", " max nb = 12", " ===> RESET nb =     12"})
    warning.push_back(l);
  warning.push_back(ex::rule('/'));
  EXPECT_EQ(c.text(), ex::text(warning));
  c.clear();
  // A stored value: an error frame, with the lines that follow the new value.
  value = -4;
  reset_in_frame({"getfreal", "", ""}, value, 1, {"==> RESET col =", 3}, {}, {item("==> READ AGAIN")},
                 FrameKind::kError);
  EXPECT_EQ(value, 1);
  ex::Lines error = ex::error_head("getfreal");
  for (const char* l : {" ==> RESET col =   1", " ==> READ AGAIN"}) error.push_back(l);
  error.push_back(ex::rule('*'));
  EXPECT_EQ(c.text(), ex::text(error));
}

TEST_F(Frames, TailsPauseWhenThePauseFlagIsOn) {
  Console c("any text\n\n");
  errortail00();
  warningtail00();
  EXPECT_EQ(c.text(), lines({" ===> HIT RETURN TO CONTINUE", ex::rule('*'),
                             " ===> HIT RETURN TO CONTINUE", ex::rule('/')}));
  c.clear();
  iocom.pause = false;
  errortail00();
  warningtail00();
  EXPECT_EQ(c.text(), lines({ex::rule('*'), ex::rule('/')}));
}

TEST_F(Frames, PauseWhileACommandFileRunsReadsTheKeyboard) {
  Console c("\n");
  iocom.command_file = true;
  iocom.stdin_unit = 15;  // not open: the pause must not touch it
  pause_for_return();
  EXPECT_EQ(c.text(), lines({" ===> HIT RETURN TO RESUME COMMANDS"}));
}

TEST_F(Frames, PauseAtTheEndOfTheKeyboardGoesOn) {
  Console c("");
  errortail00();
  EXPECT_EQ(c.text(), lines({" ===> HIT RETURN TO CONTINUE", ex::rule('*')}));
}

TEST_F(Frames, OutdatedTails) {
  Console c;
  iocom.pause = false;
  errortail0(0);
  warningtail0(0);
  const std::string a = " " + rep('@', 24);
  auto shape = [&](const std::string& notice) {
    return lines({a, "   " + rep('@', 20) + "  ", "     " + rep('@', 16) + "    ",
                  "       " + rep('@', 12) + "      ", "         " + rep('@', 8) + "        ",
                  "           " + rep('@', 4) + "          ", a, notice, a,
                  "           " + rep('@', 4) + "          ", "         " + rep('@', 8) + "        ",
                  "       " + rep('@', 12) + "      ", "     " + rep('@', 16) + "    ",
                  "   " + rep('@', 20) + "  ", a});
  };
  EXPECT_EQ(c.text(), shape(" OUTDATED    errortail0") + lines({ex::rule('*')}) +
                          shape(" OUTDATED    warningtail0") + lines({ex::rule('/')}));
}

// ---- errortail01 ----

std::string stop_question(const std::string& def, const std::string& answer) {
  return lines({ex::dots(), " STOP ?", " Enter (0/1)(n/y)(N/Y)",
                " or return for default value or h for help", " Default = " + def,
                " New value =  " + answer, ex::dots()});
}

TEST_F(Frames, Errortail01RecoverableKeepsTheDefaultNo) {
  Console c("\n\n");  // the answer, then the pause
  errortail01(0);
  EXPECT_EQ(c.text(), lines({" RECOVERABLE ERROR ====> CAN RESUME EXECUTION"}) +
                          stop_question("No ", "No ") +
                          lines({" RESUMING EXECUTION", " ===> HIT RETURN TO CONTINUE", ex::rule('*')}));
}

TEST_F(Frames, Errortail01PausesEvenWithThePauseFlagOff) {
  Console c("0\n\n");
  iocom.pause = false;
  errortail01(0);
  EXPECT_NE(c.text().find(" ===> HIT RETURN TO CONTINUE\n" + ex::rule('*') + "\n"), std::string::npos);
}

TEST_F(Frames, Errortail01UnrecoverableAnsweredNo) {
  Console c("n\n\n");
  errortail01(1);
  EXPECT_EQ(c.text(), sorry_text() + lines({" UNRECOVERABLE ERROR =====> QUITTING ADVISED"}) +
                          stop_question("Yes", "No ") +
                          lines({" ENTERING THE TWILIGHT ZONE OF COMPUTING !",
                                 " THE VALIDITY OF WHAT FOLLOWS IS QUESTIONABLE",
                                 " ===> HIT RETURN TO CONTINUE", ex::rule('*')}));
}

TEST_F(Frames, Errortail01OtherSeveritiesResumeWithoutTwilight) {
  for (int severity : {2, -1}) {
    Console c("N\n\n");
    errortail01(severity);
    EXPECT_EQ(c.text(), sorry_text() + lines({" UNRECOVERABLE ERROR =====> QUITTING ADVISED"}) +
                            stop_question("Yes", "No ") +
                            lines({" RESUMING EXECUTION", " ===> HIT RETURN TO CONTINUE", ex::rule('*')}));
  }
}

TEST_F(Frames, Errortail01HelpAndWrongAnswersAskAgain) {
  Console c("h\nx\n\n0\n\n");  // help, a wrong answer and its pause, no, the closing pause
  errortail01(0);
  const std::string help =
      lines({ex::rule('@'), " @ subroutine inlogicdef2", ex::head_rule(),
             "    To         type           ", " -----------------------------",
             " get help      h or H         ", " answer Yes    y or Y or 1    ",
             " answer No     n or N or 0    ", " use default   Carriage Return", ex::rule('@')});
  const std::string ask = lines({" STOP ?", " Enter (0/1)(n/y)(N/Y)",
                                 " or return for default value or h for help",
                                 " Default = No "});
  EXPECT_EQ(c.text(),
            lines({" RECOVERABLE ERROR ====> CAN RESUME EXECUTION", ex::dots()}) + ask + help + ask +
                ex::text(ex::error_head("inlogicdef2")) +
                lines({" incorrect answer: x", " ==> WILL ASK QUESTION AGAIN",
                       " ===> HIT RETURN TO CONTINUE", ex::rule('*')}) +
                help + ask +
                lines({" New value =  No ", ex::dots(), " RESUMING EXECUTION",
                       " ===> HIT RETURN TO CONTINUE", ex::rule('*')}));
}

TEST_F(Frames, Errortail01YesEndsTheRun) {
  EXPECT_EXIT(
      {
        StderrConsole c("y\n");
        errortail01(0);
      },
      ::testing::ExitedWithCode(1), "New value =  Yes\n \\.+\n EXECUTION STOPPED AFTER ERROR\n \\*{43}\n$");
  EXPECT_EXIT(
      {
        StderrConsole c("\n");
        errortail01(1);
      },
      ::testing::ExitedWithCode(1), "EXECUTION STOPPED AFTER ERROR");
}

TEST_F(Frames, Errortail01AtTheEndOfTheKeyboardEndsTheRun) {
  EXPECT_EXIT(
      {
        StderrConsole c("");
        errortail01(0);
      },
      ::testing::ExitedWithCode(1), "END OF INPUT\n no answer to STOP\n ===> STOPPING EXECUTION");
}

// ---- errorstop ----

TEST_F(Frames, ErrorstopRecoverableResumes) {
  Console c("\n");
  errorstop(0);
  EXPECT_EQ(c.text(), lines({" RECOVERABLE ERROR ==> RESUMING EXECUTION ADVISED", ex::dots(),
                             " RESUME ?", " Enter (0/1)(n/y)(N/Y)",
                             " or return for default value or h for help", " Default = Yes",
                             " New value =  Yes", ex::dots(), " RESUMING EXECUTION"}));
}

TEST_F(Frames, ErrorstopRecoverableAnsweredNoEndsTheRun) {
  EXPECT_EXIT(
      {
        StderrConsole c("n\n");
        errorstop(0);
      },
      ::testing::ExitedWithCode(1),
      " EXECUTION STOPPED BY USER\n AFTER RECOVERABLE ERROR\n \\*{43}\n$");
}

TEST_F(Frames, ErrorstopUnrecoverableAnsweredNoResumes) {
  Console c("0\n");
  errorstop(1);
  EXPECT_EQ(c.text(), sorry_text() + lines({" UNRECOVERABLE ERROR ==> QUITTING ADVISED"}) +
                          stop_question("Yes", "No ") +
                          lines({" ENTERING THE TWILIGHT ZONE OF COMPUTING !",
                                 " THE VALIDITY OF WHAT FOLLOWS IS QUESTIONABLE",
                                 " RESUMING EXECUTION"}));
}

TEST_F(Frames, ErrorstopUnrecoverableAnsweredYesEndsTheRun) {
  EXPECT_EXIT(
      {
        StderrConsole c("\n");
        errorstop(1);
      },
      ::testing::ExitedWithCode(1),
      " EXECUTION STOPPED BY USER\n AFTER UNRECOVERABLE ERROR\n Copying the above information\n"
      " and sending it to the program author\n might be helpful\n \\*{43}\n$");
}

TEST_F(Frames, ErrorstopFatalEndsTheRunWithoutAQuestion) {
  EXPECT_EXIT(
      {
        StderrConsole c("");
        errorstop(2);
      },
      ::testing::ExitedWithCode(1),
      "&& +\n {6}\n UNRECOVERABLE ERROR\n EXECUTION STOPPED BY PROGRAM\n"
      " Copying the above information\n and sending it to the program author\n"
      " might be helpful\n \\*{43}\n$");
}

TEST_F(Frames, ErrorstopOtherSeveritiesDoNothing) {
  Console c("");
  errorstop(3);
  errorstop(-1);
  EXPECT_EQ(c.text(), "");
}

}  // namespace
}  // namespace korbast::frame
