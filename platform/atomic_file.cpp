// Whole-file replacement through a temporary file and rename.
#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace vesk {

namespace {

constexpr std::string_view kTmpMark = ".tmp";
constexpr std::string_view kTmpPattern = "XXXXXX";

bool writeAll(int fd, std::string_view data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t w = ::write(fd, data.data() + done, data.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        done += static_cast<size_t>(w);
    }
    return true;
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view data) {
    // A unique temporary name, so that two writers of one file never share
    // (and rename) each other's half-written temporary.
    std::string tmp = path + std::string(kTmpMark) + std::string(kTmpPattern);
    int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    // mkostemp makes the file private; keep the mode the file had.
    struct stat st{};
    mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, data) && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (!ok || ::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself survive a power cut.
    std::string dir = path.substr(0, path.find_last_of('/') + 1);
    int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

size_t removeLeftoverTemporaries(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
    const std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + std::string(kTmpMark);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return 0;
    size_t removed = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name(e->d_name);
        if (name.size() != prefix.size() + kTmpPattern.size() || name.substr(0, prefix.size()) != prefix) continue;
        bool generated = true;
        for (char c : name.substr(prefix.size()))
            generated = generated && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'));
        if (generated && ::unlink((dir + std::string(name)).c_str()) == 0) ++removed;
    }
    ::closedir(d);
    return removed;
}

bool readWholeFile(const std::string& path, std::string& out) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::string text;
    char buf[8192];
    for (;;) {
        ssize_t r = ::read(fd, buf, sizeof buf);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            // A folder or an unreadable device is a failure, not an empty file.
            ::close(fd);
            return false;
        }
        if (r == 0) break;
        text.append(buf, static_cast<size_t>(r));
    }
    ::close(fd);
    out = std::move(text);
    return true;
}

}  // namespace vesk
