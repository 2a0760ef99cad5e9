// Chooses the controller program the installed boiler needs.
#pragma once
#include <string>

namespace vesk {

// "ORVENA" for boiler types 2 and 3, "KESTRALO" for every other type.
std::string controllerProgramFor(int boilerType);

// Reads CFG/service.cfg below `home` (creating CFG/ when missing) and
// returns the full path of the program to start from `home`.
std::string chooseController(const std::string& home);

}  // namespace vesk
