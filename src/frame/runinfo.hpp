// Run information: which program and plotting routine run, for whom, on what and since when;
// the start and end banners.
#pragma once

#include <string>
#include <string_view>

#include "frame/text.hpp"

namespace korbast::frame {

struct RunInfo {
  Text<11> mainname;
  Text<11> subname = Text<11>::zeros();  // empty until the first plotting routine runs
  Text<4> mainversion;
  Text<4> subversion = Text<4>::zeros();
  Text<10> maindate;
  Text<10> subdate = Text<10>::zeros();
  Text<10> user;
  Text<25> system;
  Text<10> rundate;
  Text<8> runtime;
};
extern RunInfo runinfocom;

// Fills the run information: the main program's identity, user, system, run date and time.
void smaininfo(std::string_view name, std::string_view version, std::string_view date, int mode);
// Notes the plotting routine that runs (its identity) in the run information.
void ssubinfo(std::string_view name, std::string_view version, std::string_view date, int i1,
              int i2);

// hh:mm:ss of the local clock.
std::string c8time();
// dd-mm-yyyy of the local clock.
std::string c10date();
// The user shown in the banners and plot captions: always "Mac user".
std::string username();
// The system description: system, processor and clock parts joined by "-" (at most 25).
std::string hostname();
// The answers a system description is made of.
struct SystemAnswers {
  const std::string* kernel_digits;
  const std::string* machine;
  const unsigned long long* clock_hz;
};
// The system description from given answers (a part is unknown when its answer is missing).
std::string hostname_from(const SystemAnswers& answers);

// The start banner (program, version, date, run date and time, system); waits for RETURN.
void progheadbc(std::string_view name, std::string_view version, std::string_view date);
// The end banner at the current time, with one of the end-of-run pictures.
void maintail(std::string_view name, std::string_view version, std::string_view date);
// The end banner for a given time text (its last digit chooses the picture).
void maintail_at(std::string_view name, std::string_view version, std::string_view time);

}  // namespace korbast::frame
