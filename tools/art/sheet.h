// Contact sheet: every generated picture and animation on one PNG, plus mock-up
// screens composed from them, for checking the artwork by eye.
#pragma once
#include <string>

namespace vesk::art {

enum class SheetPart { All, Screens, Pictures };

// Reads what the generator wrote under `dir` and draws the sheet into `out`.
// Returns false with a message on stderr when something cannot be read.
bool makeSheet(const std::string& out, const std::string& dir, SheetPart part, int scale);

}  // namespace vesk::art
