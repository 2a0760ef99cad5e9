// Own folder from /proc, detached program start, running-program lookup.
#include "platform/process.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/exec_prep.h"

extern char** environ;

namespace vesk {

namespace {

std::string readLink(const std::string& path) {
    std::vector<char> buf(256);
    for (;;) {
        ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size());
        if (n < 0) return {};
        if (static_cast<size_t>(n) < buf.size()) return std::string(buf.data(), static_cast<size_t>(n));
        buf.resize(buf.size() * 2);
    }
}

// A replaced executable still shows under its old path with this mark.
std::string withoutDeletedMark(std::string path) {
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
        path.resize(path.size() - deleted.size());
    return path;
}

std::string baseName(std::string path) {
    path = withoutDeletedMark(std::move(path));
    return path.substr(path.find_last_of('/') + 1);
}

bool isPid(const char* s) {
    if (*s == '\0') return false;
    for (; *s; ++s)
        if (*s < '0' || *s > '9') return false;
    return true;
}

// A zombie has ended: it is no longer running, only not yet reaped.
bool hasEnded(const std::string& procDir) {
    std::string stat;
    if (!readWholeFile(procDir + "stat", stat)) return true;
    size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 >= stat.size()) return true;
    char state = stat[close + 2];
    return state == 'Z' || state == 'X' || state == 'x';
}

bool processIsNamed(const std::string& procDir, const std::string& name) {
    // The kernel keeps at most 15 bytes of the name in comm.
    constexpr size_t kCommMax = 15;
    std::string comm;
    if (readWholeFile(procDir + "comm", comm)) {
        while (!comm.empty() && comm.back() == '\n') comm.pop_back();
        if (comm == name) return true;
        if (name.size() > kCommMax && comm == name.substr(0, kCommMax)) {
            std::string exe = readLink(procDir + "exe");
            if (!exe.empty()) return baseName(exe) == name;
            std::string cmdline;
            if (readWholeFile(procDir + "cmdline", cmdline)) return baseName(cmdline.c_str()) == name;
            return false;
        }
    }
    std::string exe = readLink(procDir + "exe");
    return !exe.empty() && baseName(exe) == name;
}

void waitChild(pid_t pid, int& status) {
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            status = 0;  // already reaped elsewhere (SIGCHLD ignored)
            return;
        }
    }
}

}  // namespace

std::string executableFolder() {
    std::string exe = readLink("/proc/self/exe");
    size_t slash = exe.find_last_of('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

bool startProgram(const std::string& path) {
    if (path.empty()) return false;
    // Everything the children need is prepared before fork: after it, only
    // async-signal-safe calls are allowed.
    std::string file = path;
    char* argv[] = {file.data(), nullptr};
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;

    pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    if (child == 0) {
        // Double fork: the program is adopted by init and never becomes our
        // zombie; its own session keeps it clear of our terminal's signals.
        ::close(pipeFds[0]);
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGPIPE, SIG_DFL);
        markDescriptorsCloseOnExec();
        ::execve(argv[0], argv, environ);
        // The pipe closes on a successful exec; on failure it carries errno.
        int err = errno;
        [[maybe_unused]] ssize_t w = ::write(pipeFds[1], &err, sizeof err);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    int status = 0;
    waitChild(child, status);
    bool forked = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    int err = 0;
    ssize_t r;
    do {
        r = ::read(pipeFds[0], &err, sizeof err);
    } while (r < 0 && errno == EINTR);
    ::close(pipeFds[0]);
    return forked && r == 0;
}

namespace {

template <typename Match>
bool anyLiveProcess(Match match) {
    DIR* dir = ::opendir("/proc");
    if (!dir) return false;
    bool found = false;
    while (dirent* e = ::readdir(dir)) {
        if (!isPid(e->d_name)) continue;
        std::string procDir = std::string("/proc/") + e->d_name + "/";
        if (match(procDir) && !hasEnded(procDir)) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

}  // namespace

bool isProgramRunning(const std::string& name) {
    if (name.empty()) return false;
    return anyLiveProcess([&](const std::string& procDir) { return processIsNamed(procDir, name); });
}

bool isProgramRunningAt(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return false;
    const std::string wanted = real;
    ::free(real);
    return anyLiveProcess([&](const std::string& procDir) {
        return withoutDeletedMark(readLink(procDir + "exe")) == wanted;
    });
}

}  // namespace vesk
