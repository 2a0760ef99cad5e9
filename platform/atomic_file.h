// Files the panel writes are replaced whole: a power cut leaves the old file
// or the new one, never half of one.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace vesk {

// A replacement of one file in two steps, for callers that must tell "the
// file cannot be made there" from "writing it failed": create() makes the
// temporary file beside `path`; commit() writes, flushes and renames it over
// `path`. A writer not committed removes its temporary file.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False when no file can be made at `path` (missing or read-only
    // folder, a folder of that name).
    bool create(const std::string& path);
    // False (and `path` untouched) on any failure.
    bool commit(std::string_view data);

private:
    void discard();
    std::string path_;
    std::string tmp_;
    int fd_ = -1;
};

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
