// Interval questions and value checks of the console dialog. The conventions of the dialog
// are in frame/dialog.hpp.
#pragma once

#include <string>
#include <string_view>

namespace korbast::frame {

// ---- Interval questions and value checks ----
// An interval whose lower bound exceeds its upper bound cannot be answered: the interval
// questions then report it in an error frame and return without reading (inintegvindef and
// inrealvindef give the default, inintegvin1 leaves the value as it was).

// The interval under a question: " inside  [lower,upper]", or " outside [lower,upper]" after
// a refusal; an open interval, which excludes its bounds, is written "]lower,upper[".
std::string interval_line(bool inside, const std::string& lower, const std::string& upper,
                          bool open = false);
// An integer inside [lower, upper], without a default: asked again until it lies inside.
void inintegvin1(int& value, std::string_view prompt, int lower, int upper, int& status);
// An integer inside [lower, upper], with a default kept on an empty answer.
void inintegvindef(int& value, std::string_view prompt, int def, int lower, int upper,
                   int& status);
// A real inside [lower, upper], with a default kept on an empty answer.
void inrealvindef(float& value, std::string_view prompt, float def, float lower, float upper,
                  int& status);
// A real strictly inside ]lower, upper[ (the bounds refused), with a default kept on an empty
// answer; the question and its refusal write the interval so.
void inrealvinopen(float& value, std::string_view prompt, float def, float lower, float upper,
                   int& status);
// Checks that an integer lies in [lower, upper]: outside, an error frame naming the caller.
void cinvin(int value, int lower, int upper, std::string_view caller, std::string_view varname,
            int& status);
// Checks that an integer is at most upper: above, an error frame naming the caller.
void cinmax(int value, int upper, std::string_view caller, std::string_view varname,
            int& status);
// Gravity 0 warning, 1 error, 2 error and "RESUME", 3 error and "STOP", 4 fatal (no reset);
// the value is reset to the nearer bound unless the gravity is 4.
void crevin2(std::string_view varname, float& value, float lower, float upper,
             std::string_view caller, int gravity, int& status);

}  // namespace korbast::frame
