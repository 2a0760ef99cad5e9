// Panel restart: hand the process over to the restart command or to the
// launcher, which picks the controller variant afresh.
#include "platform/power.h"

#include <signal.h>
#include <unistd.h>

#include "platform/exec_prep.h"
#include "platform/platform_config.h"
#include "platform/process.h"

extern char** environ;

namespace vesk {

namespace {

// Execs `argv`; the new program starts with no blocked signals and default
// SIGPIPE. Restores both when the exec fails.
void execClean(char* const argv[]) {
    sigset_t none, old;
    ::sigemptyset(&none);
    ::pthread_sigmask(SIG_SETMASK, &none, &old);
    struct sigaction dfl{}, oldPipe{};
    dfl.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &dfl, &oldPipe);
    markDescriptorsCloseOnExec();
    ::execve(argv[0], argv, environ);
    ::sigaction(SIGPIPE, &oldPipe, nullptr);
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

}  // namespace

void restartPanel(const PlatformConfig& cfg) {
    if (!cfg.restartCmd.empty()) {
        std::string sh = "/bin/sh", dashC = "-c", cmd = cfg.restartCmd;
        char* argv[] = {sh.data(), dashC.data(), cmd.data(), nullptr};
        execClean(argv);
        return;
    }
    std::string folder = cfg.home.empty() ? executableFolder() : cfg.home;
    if (folder.empty()) return;
    if (folder.back() != '/') folder += '/';
    execProgram(folder + "launcher");
}

void execProgram(const std::string& path) {
    std::string p = path;
    char* argv[] = {p.data(), nullptr};
    execClean(argv);
}

}  // namespace vesk
