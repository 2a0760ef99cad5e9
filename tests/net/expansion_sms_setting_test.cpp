// SMS control in the registry store: loaded at start, following the flag.
#include <gtest/gtest.h>

#include <future>

#include "core/controller_state.h"
#include "net/expansion_sms_setting.h"
#include "platform/registry.h"
#include "support/test_support.h"

namespace vesk::test {
namespace {

TEST(SmsControlSetting, LoadsOnlyAFlag) {
    TempDir dir;
    const std::string path = dir.file("registry.cfg");
    EXPECT_EQ(loadSmsControl(Registry(path)), 0);
    for (auto [text, expected] : {std::pair{"1", 1}, {"0", 0}, {"7", 0}, {"x", 0}}) {
        writeText(path, std::string(kSmsControlKey) + "=" + text + "\n");
        EXPECT_EQ(loadSmsControl(Registry(path)), expected) << text;
    }
}

TEST(SmsControlSetting, StoreFollowsTheFlagAndSurvivesARestart) {
    TempDir dir;
    const std::string path = dir.file("registry.cfg");
    ControllerState s(Variant::Kestralo);
    {
        Registry registry(path);
        s.smsControlEnable = 1;
        syncSmsControl(registry, s);
    }
    EXPECT_EQ(loadSmsControl(Registry(path)), 1);

    Registry registry(path);
    s.smsControlEnable = 0;
    syncSmsControl(registry, s);
    EXPECT_EQ(loadSmsControl(Registry(path)), 0);
}

TEST(SmsControlSetting, ABusyStateLockPutsTheStoreOff) {
    TempDir dir;
    Registry registry(dir.file("registry.cfg"));
    ControllerState s(Variant::Orvena);
    s.smsControlEnable = 1;
    {
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        // Another thread holds the lock: the call returns without storing.
        std::async(std::launch::async, [&] { syncSmsControl(registry, s); }).wait();
    }
    EXPECT_EQ(loadSmsControl(registry), 0);
    syncSmsControl(registry, s);
    EXPECT_EQ(loadSmsControl(registry), 1);
}

}  // namespace
}  // namespace vesk::test
