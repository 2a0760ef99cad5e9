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

AtomicFileWriter::~AtomicFileWriter() { discard(); }

void AtomicFileWriter::discard() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(tmp_.c_str());
    fd_ = -1;
}

bool AtomicFileWriter::create(const std::string& path) {
    discard();
    struct stat st{};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return false;
    // A unique temporary name, so that two writers of one file never share
    // (and rename) each other's half-written temporary.
    std::string tmp = path + std::string(kTmpMark) + std::string(kTmpPattern);
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    // mkostemp makes the file private; keep the mode the file had.
    if (::fchmod(fd, exists ? (st.st_mode & 07777) : 0644) != 0) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return false;
    }
    path_ = path;
    tmp_ = std::move(tmp);
    fd_ = fd;
    return true;
}

bool AtomicFileWriter::commit(std::string_view data) {
    if (fd_ < 0) return false;
    bool ok = writeAll(fd_, data) && ::fsync(fd_) == 0;
    if (::close(fd_) != 0) ok = false;
    fd_ = -1;
    if (!ok || ::rename(tmp_.c_str(), path_.c_str()) != 0) {
        ::unlink(tmp_.c_str());
        return false;
    }
    // Make the rename itself survive a power cut.
    std::string dir = path_.substr(0, path_.find_last_of('/') + 1);
    int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view data) {
    AtomicFileWriter w;
    return w.create(path) && w.commit(data);
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
