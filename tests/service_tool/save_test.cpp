// Saving: service.cfg as the controller and the launcher read it, the
// Ethernet address in the registry store, and a failed write that changes
// nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "launcher/launcher.h"
#include "net/network_settings.h"
#include "platform/registry.h"
#include "service_tool/service_save.h"
#include "settings/service_table.h"
#include "settings/settings_file.h"
#include "support/test_support.h"

namespace vesk::test {
namespace {

ServiceRecord defaults() {
    ServiceRecord r;
    serviceDefaults(r.settings, kToolVariant, true);
    return r;
}

TEST(ServiceSave, WritesServiceCfgThenTheAddressOfTheSerial) {
    TempDir dir;
    Registry registry(dir.file("registry.cfg"));
    ServiceRecord r = defaults();
    chooseModel(r, 4);  // "Кестрало", power page never visited
    r.settings.svc.SERIAL = 1023456;  // low 16 bits 0x9D60, shown as 023456
    r.settings.svc.GAS_KEEP = 321;
    ASSERT_TRUE(saveServiceRecord(r, dir.file("service.cfg"), registry));

    const std::string text = readText(dir.file("service.cfg"));
    EXPECT_EQ(text.rfind("POWER=15\nBOILER_TYPE=4\nSERIAL=23456\n", 0), 0u) << text;
    EXPECT_NE(text.find("WORM_PERIOD=120,240,90,0,0,0\n"), std::string::npos);
    EXPECT_EQ(text, formatServiceFile(r.settings));

    Settings back;
    ASSERT_TRUE(loadServiceSettings(dir.file("service.cfg"), back, Variant::Kestralo));
    EXPECT_EQ(back.svc.GAS_KEEP, 321);
    EXPECT_EQ(back.svc.BOILER_TYPE, 4);
    EXPECT_EQ(controllerProgramFor(back.svc.BOILER_TYPE), "KESTRALO");

    // 23456 = 0x5BA0: bytes swapped.
    EXPECT_EQ(Registry(dir.file("registry.cfg")).get(kRegNetworkAddress), "00800F03a05b");
    EXPECT_FALSE(std::filesystem::exists(dir.file("service.cfg.tmp")));
}

TEST(ServiceSave, FailedWriteLeavesFileAndRegistryAlone) {
    TempDir dir;
    writeText(dir.file("service.cfg"), "BOILER_TYPE=2\nPOWER=150\n");
    Registry registry(dir.file("registry.cfg"));
    registry.set(kRegNetworkAddress, "00800F03beef");
    ServiceRecord r = defaults();
    r.settings.svc.SERIAL = 5;
    // A folder that does not exist: nothing can be written there.
    EXPECT_FALSE(saveServiceRecord(r, dir.file("missing/service.cfg"), registry));
    EXPECT_EQ(registry.get(kRegNetworkAddress), "00800F03beef");
    // A place that cannot take the file (root ignores permissions, so a
    // folder stands in the way).
    std::filesystem::create_directory(dir.file("blocked.cfg"));
    EXPECT_FALSE(saveServiceRecord(r, dir.file("blocked.cfg"), registry));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("blocked.cfg")));
    EXPECT_EQ(registry.get(kRegNetworkAddress), "00800F03beef");
    EXPECT_EQ(readText(dir.file("service.cfg")), "BOILER_TYPE=2\nPOWER=150\n");
}

TEST(ServiceSave, GarbledServiceCfgLoadsLikeTheControllerLoadsIt) {
    TempDir dir;
    writeText(dir.file("service.cfg"),
              "BOILER_TYPE=9\nPOWER=17\nGAS_BURNUP=151\nFAN100=75\nNOT_A_KEY=1\n\x01\x02garbage\nWORM_PERIOD=20,20,40\n"
              "WORM100=300,300,300\nGPID_KP=-5\n");
    ServiceRecord r;
    loadServiceSettings(dir.file("service.cfg"), r.settings, kToolVariant);
    EXPECT_EQ(r.settings.svc.BOILER_TYPE, 0);
    EXPECT_EQ(r.settings.svc.POWER, 16);
    EXPECT_EQ(r.settings.svc.GAS_BURNUP, 45);
    EXPECT_EQ(r.settings.svc.FAN100, 75);
    EXPECT_EQ(r.settings.svc.WORM100[0], 190);
    EXPECT_EQ(r.settings.svc.WORM100[2], 300);
    EXPECT_EQ(r.settings.svc.GPID_KP, -5);
}

}  // namespace
}  // namespace vesk::test
