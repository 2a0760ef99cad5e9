// Settings files are replaced whole: a writer killed at any moment, a
// failed write or a stale temporary file never leave a broken file.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "settings/schedule.h"
#include "settings/service_table.h"
#include "settings/settings_file.h"
#include "settings/user_table.h"
#include "support/test_support.h"

namespace vesk {
namespace {

Settings withSetPoint(int32_t twat) {
    Settings s;
    serviceDefaults(s, Variant::Kestralo, true);
    userDefaults(s, Variant::Kestralo, false, 100);
    s.usr.TWAT_UST = twat;
    return s;
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

// Kills the writer however the test ends.
struct ChildProcess {
    pid_t pid = -1;
    void kill() {
        if (pid <= 0) return;
        ::kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
    ~ChildProcess() { kill(); }
};

TEST(FileReplacement, KilledWriterLeavesAWholeFile) {
    test::TempDir dir;
    const std::string path = dir.file("user.cfg");
    const Settings a = withSetPoint(61), b = withSetPoint(89);
    const std::string textA = formatUserFile(a, Variant::Kestralo);
    const std::string textB = formatUserFile(b, Variant::Kestralo);

    ChildProcess child;
    child.pid = fork();
    ASSERT_GE(child.pid, 0);
    if (child.pid == 0) {
        std::mutex lock;
        for (unsigned i = 0;; ++i) saveUserSettings(path, (i & 1) ? b : a, Variant::Kestralo, lock);
    }
    for (int i = 0; i < 20000 && !exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(exists(path));
    for (int i = 0; i < 300; ++i) {
        const std::string seen = test::readText(path);
        ASSERT_TRUE(seen == textA || seen == textB) << "torn read of " << seen.size() << " bytes";
    }
    child.kill();

    const std::string last = test::readText(path);
    EXPECT_TRUE(last == textA || last == textB);
    Settings back;
    serviceDefaults(back, Variant::Kestralo, true);
    ASSERT_TRUE(loadUserSettings(path, back, Variant::Kestralo, 100));
    EXPECT_TRUE(back.usr.TWAT_UST == 61 || back.usr.TWAT_UST == 89);
}

TEST(FileReplacement, StaleTemporaryFileNeitherLoadsNorBlocks) {
    test::TempDir dir;
    const std::string path = dir.file("user.cfg");
    std::mutex lock;
    ASSERT_TRUE(saveUserSettings(path, withSetPoint(61), Variant::Kestralo, lock));
    test::writeText(path + ".tmp", "TWAT_UST=8");  // half a file from a cut-off writer

    Settings back;
    serviceDefaults(back, Variant::Kestralo, true);
    loadUserSettings(path, back, Variant::Kestralo, 100);
    EXPECT_EQ(back.usr.TWAT_UST, 61);

    ASSERT_TRUE(saveUserSettings(path, withSetPoint(70), Variant::Kestralo, lock));
    EXPECT_EQ(test::readText(path), formatUserFile(withSetPoint(70), Variant::Kestralo));
}

TEST(FileReplacement, FailedWritesReportFailureAndKeepTheOldFile) {
    test::TempDir dir;
    std::mutex lock;
    EXPECT_FALSE(saveUserSettings(dir.file("missing/user.cfg"), withSetPoint(61), Variant::Orvena, lock));
    EXPECT_FALSE(saveServiceSettings(dir.file("missing/service.cfg"), withSetPoint(61)));
    ScheduleStore store;
    EXPECT_FALSE(saveSchedule(dir.file("missing/tmstat.cfg"), store));

    // A folder in the way of the rename: the write fails, nothing changes.
    std::filesystem::create_directories(dir.file("user.cfg/keep"));
    EXPECT_FALSE(saveUserSettings(dir.file("user.cfg"), withSetPoint(61), Variant::Orvena, lock));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("user.cfg/keep")));
}

TEST(SettingsDir, CreatedWhenMissingElseBareNames) {
    test::TempDir dir;
    EXPECT_EQ(settingsDir(dir.path() + "home"), dir.path() + "home/CFG/");
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "home/CFG"));
    EXPECT_EQ(settingsDir(dir.path() + "home/"), dir.path() + "home/CFG/");
    test::writeText(dir.file("plain"), "x");
    EXPECT_EQ(settingsDir(dir.file("plain")), "");
}

}  // namespace
}  // namespace vesk
