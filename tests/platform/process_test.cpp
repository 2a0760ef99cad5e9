// Starting programs detached, finding them by name, and the panel restart,
// with real processes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/platform_config.h"
#include "platform/power.h"
#include "platform/process.h"
#include "support/test_support.h"
#include "wait_until.h"

namespace vesk {
namespace {

bool exists(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0;
}

void writeScript(const std::string& path, const std::string& body) {
    test::writeText(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

// Runs `fn` in a forked child and returns its exit status (-1 if killed).
template <typename Fn>
int inChild(Fn fn) {
    pid_t pid = ::fork();
    if (pid == 0) {
        fn();
        ::_exit(99);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Process, ExecutableFolderHoldsThisProgram) {
    std::string folder = executableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(exists(folder + "test_platform"));
}

TEST(Process, StartedProgramRunsDetachedWithOurEnvironmentAndNoLeakedFiles) {
    test::TempDir dir;
    const std::string name = "vprobe" + std::to_string(::getpid());
    const std::string path = dir.file(name);
    writeScript(path,
                "[ \"$VESK_PROBE\" = yes ] && : > \"$0.env\"\n"
                "ls /proc/$$/fd > \"$0.fds.tmp\" && mv \"$0.fds.tmp\" \"$0.fds\"\n"
                ": > \"$0.started\"\n"
                "while [ ! -e \"$0.stop\" ] && [ -e \"$0\" ]; do sleep 0.02; done\n");
    // A descriptor without close-on-exec, like a carelessly opened port.
    int raw = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(raw, 0);
    int leaky = ::fcntl(raw, F_DUPFD, 60);
    ::close(raw);
    ASSERT_GE(leaky, 60);
    ::setenv("VESK_PROBE", "yes", 1);

    EXPECT_FALSE(isProgramRunning(name));
    ASSERT_TRUE(startProgram(path));
    ::unsetenv("VESK_PROBE");
    ::close(leaky);

    // Not our child: nothing is left for us to reap, now or later.
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);

    ASSERT_TRUE(test::waitUntil([&] { return exists(path + ".started"); }));
    EXPECT_TRUE(isProgramRunning(name));
    EXPECT_TRUE(exists(path + ".env"));
    std::istringstream fds(test::readText(path + ".fds"));
    for (std::string fd; fds >> fd;) EXPECT_NE(fd, std::to_string(leaky));

    test::writeText(path + ".stop", "");
    EXPECT_TRUE(test::waitUntil([&] { return !isProgramRunning(name); }));
}

TEST(Process, StartFailuresAreReported) {
    test::TempDir dir;
    EXPECT_FALSE(startProgram(dir.file("missing")));
    EXPECT_FALSE(startProgram(""));
    test::writeText(dir.file("notexec"), "#!/bin/sh\nexit 0\n");
    ::chmod(dir.file("notexec").c_str(), 0644);
    EXPECT_FALSE(startProgram(dir.file("notexec")));
    EXPECT_FALSE(startProgram(dir.path()));
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);  // no zombies from failures either
}

TEST(Process, UnknownNamesAreNotRunning) {
    EXPECT_FALSE(isProgramRunning("no-such-prog-z"));
    EXPECT_FALSE(isProgramRunning(""));
    EXPECT_TRUE(isProgramRunning("test_platform"));
}

TEST(RestartPanel, RunsTheRestartCommandWhenSet) {
    test::TempDir dir;
    PlatformConfig cfg;
    cfg.home = dir.path();
    cfg.restartCmd = "echo restarted > '" + dir.file("marker") + "'; exit 7";
    writeScript(dir.file("launcher"), "exit 5\n");
    EXPECT_EQ(inChild([&] { restartPanel(cfg); }), 7);
    EXPECT_EQ(test::readText(dir.file("marker")), "restarted\n");
}

TEST(RestartPanel, OtherwiseExecsTheLauncherFromTheProgramFolder) {
    test::TempDir dir;
    PlatformConfig cfg;
    cfg.home = dir.path();
    writeScript(dir.file("launcher"), "echo \"$VESK_PROBE\" > \"$(dirname \"$0\")/launched\"\nexit 5\n");
    ::setenv("VESK_PROBE", "kept", 1);
    int code = inChild([&] { restartPanel(cfg); });
    ::unsetenv("VESK_PROBE");
    EXPECT_EQ(code, 5);
    EXPECT_EQ(test::readText(dir.file("launched")), "kept\n");
}

TEST(RestartPanel, ReturnsWhenThereIsNoLauncher) {
    test::TempDir dir;
    PlatformConfig cfg;
    cfg.home = dir.path();
    EXPECT_EQ(inChild([&] { restartPanel(cfg); }), 99);
}

}  // namespace
}  // namespace vesk
