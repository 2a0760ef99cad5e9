// Remote commands ask the panel's saver instead of writing user.cfg each.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/controller_state.h"
#include "net/dispatcher.h"
#include "platform/manual_clock.h"
#include "platform/manual_timer_service.h"
#include "platform/wait_until.h"
#include "settings/coalesced_saves.h"
#include "settings/param_table.h"
#include "settings/schedule.h"
#include "settings/settings_file.h"
#include "support/test_support.h"

namespace vesk {
namespace {

// SetWaterSetpoint sent a hundred times by a client: user.cfg is written
// once, with the last set-point, instead of a hundred times.
TEST(CoalescedCommands, ABurstOfSetPointsIsOneWriteWithTheLastValue) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        test::TempDir dir;
        ControllerState s(v);
        serviceDefaults(s.settings, v, true);
        userDefaults(s.settings, v, false, 1);
        ScheduleStore schedule;
        ManualClock clock;
        ManualTimerService timers{clock};
        const std::string path = dir.file("user.cfg");
        CoalescedSaves saves{clock, timers,
                             [&] {
                                 return saveUserSettingsSnapshot(path, s.settings, v, s.stateLock,
                                                                 s.settingsFileLock);
                             },
                             [] { return true; }};
        DispatcherServices d{s, schedule, clock, dir.path()};
        d.saves = &saves;
        CommandDispatcher dispatcher(d);
        const uint16_t kWater = 3;
        for (int i = 0; i < 100; ++i) {
            const uint8_t value[2] = {static_cast<uint8_t>(60 + i % 20), 0};
            ASSERT_EQ(dispatcher.run(kWater, value, 2, true).result, kDone);
        }
        EXPECT_FALSE(std::filesystem::exists(path));
        for (int t = 0; t < CoalescedSaves::kMinIntervalMs; t += 10) clock.advance(10);
        ASSERT_TRUE(test::waitUntil([&] { return saves.writes(SavedFile::User) == 1; }));
        Settings loaded;
        ASSERT_TRUE(test::waitUntil([&] {
            return loadUserSettings(path, loaded, v, 1) && loaded.usr.TWAT_UST == 60 + 99 % 20;
        }));
    }
}

}  // namespace
}  // namespace vesk
