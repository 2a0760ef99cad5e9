// Network status screen texts, the Ethernet address and driver settings in
// the registry store, the password digits, the message buffer pool and the
// adapter query.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/controller_state.h"
#include "net/buffer_pool.h"
#include "net/network.h"
#include "net/network_settings.h"
#include "net/status_text.h"
#include "platform/network_adapter.h"
#include "platform/platform_config.h"
#include "platform/registry.h"
#include "settings/settings_file.h"
#include "support/test_support.h"

namespace vesk {
namespace {

TEST(StatusText, ConnectionCountTakesTheRussianEnding) {
    const std::pair<unsigned, const char*> cases[] = {
        {0, "НЕТ ПОДКЛЮЧЕНИЙ"},     {1, "1 ПОДКЛЮЧЕНИЕ"},     {2, "2 ПОДКЛЮЧЕНИЯ"},
        {4, "4 ПОДКЛЮЧЕНИЯ"},       {5, "5 ПОДКЛЮЧЕНИЙ"},     {11, "11 ПОДКЛЮЧЕНИЙ"},
        {12, "12 ПОДКЛЮЧЕНИЙ"},     {20, "20 ПОДКЛЮЧЕНИЙ"},   {21, "21 ПОДКЛЮЧЕНИЕ"},
        {22, "22 ПОДКЛЮЧЕНИЯ"},     {25, "25 ПОДКЛЮЧЕНИЙ"},   {32, "32 ПОДКЛЮЧЕНИЯ"},
        {111, "111 ПОДКЛЮЧЕНИЙ"},   {112, "112 ПОДКЛЮЧЕНИЙ"}, {121, "121 ПОДКЛЮЧЕНИЕ"},
    };
    for (const auto& [n, text] : cases) EXPECT_EQ(connectionCountText(n), text) << n;
}

TEST(StatusText, LinkAddressAndInternetLines) {
    EXPECT_EQ(networkStatusText({false, 0xC0A80001, 3, true}, "x"), "НЕТ ПОДКЛЮЧЕНИЯ К СЕТИ");
    EXPECT_EQ(networkStatusText({true, 0, 3, true}, "x"), "ПОЛУЧЕНИЕ IP АДРЕСА...");
    EXPECT_EQ(networkStatusText({true, 0xC0A80105, 0, false}, "remote.vesk-panel.net"),
              "IP АДДРЕС: 192.168.1.5\nЛОКАЛЬНАЯ СЕТЬ: НЕТ ПОДКЛЮЧЕНИЙ\nИНТЕРНЕТ: НЕТ ПОДКЛЮЧЕНИЯ");
    EXPECT_EQ(networkStatusText({true, 0x0A000002, 2, true}, "remote.vesk-panel.net"),
              "IP АДДРЕС: 10.0.0.2\nЛОКАЛЬНАЯ СЕТЬ: 2 ПОДКЛЮЧЕНИЯ\nИНТЕРНЕТ: ПОДКЛЮЧЕН К REMOTE.VESK-PANEL.NET");
}

TEST(EthernetAddress, PrefixThenTheSwappedLowSixteenBitsOfTheSerial) {
    EXPECT_EQ(ethernetAddress("00800F06", 0x2A5B), "00800F065b2a");
    EXPECT_EQ(ethernetAddress("00800F03", 0x2A5B), "00800F035b2a");
    EXPECT_EQ(ethernetAddress("00800F06", 1), "00800F060100");
    EXPECT_EQ(ethernetAddress("00800F06", 0), "00800F060000");
    // Above 65535 only the low 16 bits count.
    EXPECT_EQ(ethernetAddress("00800F06", 0x12342A5B), "00800F065b2a");
    EXPECT_EQ(ethernetAddress("00800F06", 65536 + 0x00FF), "00800F06ff00");
    EXPECT_EQ(ethernetAddress(variantInfo(Variant::Kestralo).macPrefix, 0x0102),
              std::string(kServiceMacPrefix) + "0201");
}

struct RegistryRig {
    test::TempDir dir;
    Registry reg{dir.file("registry.cfg")};
    ControllerState state{Variant::Orvena};
    std::string userCfg() const { return dir.file("user.cfg"); }
};

TEST(DriverSettings, OnlyReadableValuesThatDifferAreRewritten) {
    RegistryRig r;
    EXPECT_FALSE(applyDriverSettings(r.reg));  // nothing to read: left alone
    EXPECT_FALSE(r.reg.get(kRegLinkMode));

    r.reg.setInt(kRegLinkMode, 127);
    r.reg.setInt(kRegEnableDhcp, 1);
    EXPECT_FALSE(applyDriverSettings(r.reg));

    r.reg.setInt(kRegLinkMode, 0);
    EXPECT_TRUE(applyDriverSettings(r.reg));
    EXPECT_EQ(r.reg.getInt(kRegLinkMode), 127);
    r.reg.setInt(kRegEnableDhcp, 0);
    EXPECT_TRUE(applyDriverSettings(r.reg));
    EXPECT_EQ(r.reg.getInt(kRegEnableDhcp), 1);
    // The store file carries the values to the next start.
    EXPECT_EQ(Registry(r.reg.path()).getInt(kRegEnableDhcp), 1);
}

TEST(NetworkScreen, TogglesAreSavedAndOnlyAnEnabledPathTouchesTheRegistry) {
    RegistryRig r;
    r.reg.setInt(kRegLinkMode, 3);
    r.reg.setInt(kRegEnableDhcp, 0);

    EXPECT_FALSE(applyNetworkAccess(r.state, false, false, r.reg, r.userCfg()));
    EXPECT_EQ(r.reg.getInt(kRegLinkMode), 3);
    EXPECT_TRUE(std::filesystem::exists(r.userCfg()));

    EXPECT_TRUE(applyNetworkAccess(r.state, true, false, r.reg, r.userCfg()));
    EXPECT_EQ(r.state.usr.LAN_EN_REM, 1);
    EXPECT_EQ(r.state.usr.LAN_EN_LOC, 0);
    EXPECT_EQ(r.reg.getInt(kRegLinkMode), 127);
    // Already as required: no restart.
    EXPECT_FALSE(applyNetworkAccess(r.state, true, true, r.reg, r.userCfg()));

    ControllerState loaded(Variant::Orvena);
    ASSERT_TRUE(loadUserSettings(r.userCfg(), loaded.settings, Variant::Orvena, 1));
    EXPECT_EQ(loaded.usr.LAN_EN_REM, 1);
    EXPECT_EQ(loaded.usr.LAN_EN_LOC, 1);
}

TEST(NetworkPassword, SixDigitsWrapAndMakeOneNumber) {
    EXPECT_EQ(passwordDigits(123456), (PasswordDigits{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(passwordDigits(42), (PasswordDigits{0, 0, 0, 0, 4, 2}));
    EXPECT_EQ(passwordFromDigits({9, 0, 0, 0, 0, 1}), 900001);
    EXPECT_EQ(passwordFromDigits({0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(stepDigit(9, +1), 0);
    EXPECT_EQ(stepDigit(0, -1), 9);
    EXPECT_EQ(stepDigit(4, +1), 5);

    RegistryRig r;
    storeNetworkPassword(r.state, 900001, r.userCfg());
    ControllerState loaded(Variant::Orvena);
    ASSERT_TRUE(loadUserSettings(r.userCfg(), loaded.settings, Variant::Orvena, 1));
    EXPECT_EQ(loaded.usr.LAN_PWD, 900001);
}

TEST(SettingsImport, AddressFromTheImportedSerialAndAccessOff) {
    for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
        RegistryRig r;
        Settings s;
        s.svc.SERIAL = 0x00010203;
        s.usr.LAN_EN_LOC = s.usr.LAN_EN_REM = 1;
        s.usr.LAN_PWD = 555;
        resetNetworkAfterImport(r.reg, s, v);
        EXPECT_EQ(r.reg.get(kRegNetworkAddress), std::string(variantInfo(v).macPrefix) + "0302");
        EXPECT_EQ(s.usr.LAN_EN_LOC, 0);
        EXPECT_EQ(s.usr.LAN_EN_REM, 0);
        EXPECT_EQ(s.usr.LAN_PWD, 0);
    }
}

TEST(BufferPool, KeepsAtMostFiftyFreeAndCountsWhatIsOut) {
    BufferPool pool;
    std::vector<BufferPool::Buffer> taken;
    for (int i = 0; i < 60; ++i) taken.push_back(pool.take());
    EXPECT_EQ(pool.inUse(), 60u);
    taken[0]->count = 17;
    taken.clear();
    EXPECT_EQ(pool.inUse(), 0u);
    EXPECT_EQ(pool.freeCount(), BufferPool::kMaxFree);
    BufferPool::Buffer again = pool.take();
    EXPECT_EQ(again->count, 0u);  // reused buffers come back cleared
    EXPECT_EQ(pool.freeCount(), BufferPool::kMaxFree - 1);
}

TEST(NetworkAdapter, NamedLoopbackIsUpAndUnknownInterfacesAreDown) {
    AdapterState lo = SystemNetworkAdapter("lo").query();
    EXPECT_TRUE(lo.up);
    EXPECT_EQ(lo.address, 0x7F000001u);
    AdapterState none = SystemNetworkAdapter("nosuch0").query();
    EXPECT_FALSE(none.up);
    EXPECT_EQ(none.address, 0u);
    // Without a name only an up Ethernet interface counts; here the
    // interface files say none is Ethernet.
    test::TempDir sys;
    EXPECT_FALSE(SystemNetworkAdapter("", sys.path()).query().up);
}

TEST(NetworkConfig, PortsAndRemoteFromThePlatformSettings) {
    PlatformConfig p = loadPlatformConfig("/nonexistent/", {{"VESK_PORT_LOCAL", "2977"},
                                                            {"VESK_PORT_DISCOVERY", "2981"},
                                                            {"VESK_REMOTE", "server.example:4000"}});
    NetworkConfig c = networkConfig(p, Variant::Kestralo);
    EXPECT_EQ(c.variant, Variant::Kestralo);
    EXPECT_EQ(c.portLocal, 2977);
    EXPECT_EQ(c.portDiscovery, 2981);
    EXPECT_EQ(c.remoteHost, "server.example");
    EXPECT_EQ(c.remotePort, 4000);
    c = networkConfig(loadPlatformConfig("/nonexistent/", {{"VESK_REMOTE", "10.1.2.3"}}), Variant::Orvena);
    EXPECT_EQ(c.remoteHost, "10.1.2.3");
    EXPECT_EQ(c.remotePort, 1978);
    EXPECT_EQ(c.portLocal, 1977);
}

}  // namespace
}  // namespace vesk
