// KEY=value line files of the platform layer (registry store, platform.cfg).
#pragma once
#include <map>
#include <string>
#include <string_view>

namespace vesk {

// Splits lines at the first '='. Blank lines, '#' comments, lines without
// '=' and lines with an empty key are skipped; a trailing '\r' is dropped.
// A later line for a key replaces an earlier one.
std::map<std::string, std::string> parseKeyValueText(std::string_view text);
std::string formatKeyValueText(const std::map<std::string, std::string>& values);

}  // namespace vesk
