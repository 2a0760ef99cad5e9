// Files the panel writes are replaced whole: a power cut leaves the old file
// or the new one, never half of one.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace vesk {

// Writes `data` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`. False (and `path` untouched) on any failure.
bool writeFileAtomically(const std::string& path, std::string_view data);
// Removes the temporaries that interrupted writes of `path` left beside it
// (only names this writer makes: `path` + ".tmp" + six letters or digits).
// Returns how many were removed. Call it before anyone writes `path`.
size_t removeLeftoverTemporaries(const std::string& path);
// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& out);

}  // namespace vesk
