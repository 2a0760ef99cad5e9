// A readable text form of the thermostat programs:
//
//   enable 1
//   program 0
//     6-9 water=75 air=22
//     22-6 air=18 pause          (a period may run past midnight)
//   program 1
//   ...
//   days MON=0 TUE=0 WED=0 THU=0 FRI=0 SAT=1 SUN=-
//
// Hours are whole; "water=N" and "air=N" set a target, "pause" pauses the
// heating; "-" is a day without a program; "#" starts a comment.
#pragma once
#include <string>

#include "settings/schedule.h"

namespace vesk::client {

std::string formatPrograms(const Schedule& s);
// False with a message naming the line when the text cannot be read.
bool parsePrograms(const std::string& text, Schedule& out, std::string& error);

}  // namespace vesk::client
