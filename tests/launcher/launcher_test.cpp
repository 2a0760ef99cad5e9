#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "launcher/launcher.h"
#include "support/test_support.h"

namespace vesk {
namespace {

using test::TempDir;

std::string chosenFor(const std::string& serviceCfg) {
    TempDir home;
    std::filesystem::create_directories(home.file("CFG"));
    test::writeText(home.file("CFG/service.cfg"), serviceCfg);
    std::string path = chooseController(home.path());
    return path.substr(home.path().size());
}

TEST(Launcher, ChoosesVariantByBoilerType) {
    EXPECT_EQ(chosenFor("BOILER_TYPE=3\n"), "ORVENA");
    EXPECT_EQ(chosenFor("BOILER_TYPE=2\n"), "ORVENA");
    EXPECT_EQ(chosenFor("BOILER_TYPE=1\n"), "KESTRALO");
    EXPECT_EQ(chosenFor("BOILER_TYPE=4\n"), "KESTRALO");
    EXPECT_EQ(chosenFor("BOILER_TYPE=0\n"), "KESTRALO");
    // Out of range: the loader drops it and the default type 0 applies.
    EXPECT_EQ(chosenFor("BOILER_TYPE=7\n"), "KESTRALO");
    EXPECT_EQ(chosenFor("BOILER_TYPE=2\nBOILER_TYPE=7\n"), "ORVENA");
}

TEST(Launcher, MissingFolderIsCreatedAndDefaultChosen) {
    TempDir home;
    std::string path = chooseController(home.path());
    EXPECT_EQ(path, home.path() + "KESTRALO");
    EXPECT_TRUE(std::filesystem::is_directory(home.file("CFG")));
}

// The real program: it starts the chosen controller from its folder with the
// environment passed on, and exits 0.
// Runs the launcher with `home` as VESK_HOME and `env` added; its exit
// status, or -1 when it did not end normally.
int runLauncher(const TempDir& home, const std::map<std::string, std::string>& env, pid_t* started = nullptr) {
    pid_t pid = fork();
    if (pid == 0) {
        setenv("VESK_HOME", home.path().c_str(), 1);
        for (const auto& [k, v] : env) setenv(k.c_str(), v.c_str(), 1);
        std::string exe = test::binDir() + "launcher";
        execl(exe.c_str(), "launcher", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (started) *started = pid;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Launcher, StartsChosenProgramAndExitsZero) {
    TempDir home;
    std::filesystem::create_directories(home.file("CFG"));
    test::writeText(home.file("CFG/service.cfg"), "BOILER_TYPE=3\n");
    const std::string marker = home.file("started");
    test::writeText(home.file("ORVENA"), "#!/bin/sh\necho \"$VESK_MARK\" > \"$VESK_HOME/s.tmp\" && mv \"$VESK_HOME/s.tmp\" \"$VESK_HOME/started\"\n");
    chmod(home.file("ORVENA").c_str(), 0755);

    EXPECT_EQ(runLauncher(home, {{"VESK_MARK", "passed-on"}}), 0);
    for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(test::readText(marker), "passed-on\n");
}

// Under systemd the unit's process must become the controller: the launcher
// execs it in place instead of starting it and ending.
TEST(Launcher, UnderAServiceManagerBecomesTheControllerInPlace) {
    TempDir home;
    std::filesystem::create_directories(home.file("CFG"));
    test::writeText(home.file("CFG/service.cfg"), "BOILER_TYPE=1\n");
    test::writeText(home.file("KESTRALO"), "#!/bin/sh\necho $$ > \"$VESK_HOME/pid.tmp\" && mv \"$VESK_HOME/pid.tmp\" \"$VESK_HOME/pid\"\nexit 7\n");
    chmod(home.file("KESTRALO").c_str(), 0755);
    pid_t pid = 0;
    EXPECT_EQ(runLauncher(home, {{"VESK_LAUNCHER_EXEC", "1"}}, &pid), 7) << "the controller's own exit status";
    EXPECT_EQ(test::readText(home.file("pid")), std::to_string(pid) + "\n") << "same process";

    // Nothing to start: a failure the service manager sees.
    std::filesystem::remove(home.file("KESTRALO"));
    EXPECT_EQ(runLauncher(home, {{"VESK_LAUNCHER_EXEC", "1"}}), 1);
}

}  // namespace
}  // namespace vesk
