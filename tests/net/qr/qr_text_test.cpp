// The pairing text: line order, model names, identifier prefix and the
// six-digit padding of serial number and password.
#include <gtest/gtest.h>

#include <string>

#include "net/qr/qr_text.h"
#include "settings/params.h"

namespace vesk::test {
namespace {

std::string text(int32_t type, int32_t power, int32_t serial, int32_t pwd) {
    return std::string(buildQrText(type, power, serial, pwd).view());
}

TEST(QrText, OrvenaPanelText) {
    EXPECT_EQ(text(2, 200, 1234, 123456), "Vesk Orvena\nP:200 kW\nID:006-001234\nNETPASS:123456\n");
    EXPECT_EQ(text(3, 25, 654321, 7), "Vesk Orvena\nP:25 kW\nID:006-654321\nNETPASS:000007\n");
}

TEST(QrText, KestraloPanelText) {
    EXPECT_EQ(text(0, 16, 42, 100000), "Vesk Kestralo\nP:16 kW\nID:003-000042\nNETPASS:100000\n");
    EXPECT_EQ(text(1, 85, 42, 1), "Vesk Kestralo\nP:85 kW\nID:003-000042\nNETPASS:000001\n");
    EXPECT_EQ(text(4, 150, 42, 1), "Vesk Kestralo\nP:150 kW\nID:003-000042\nNETPASS:000001\n");
}

TEST(QrText, UnknownBoilerTypeKeepsTheKestraloIdentifier) {
    EXPECT_EQ(text(5, 16, 1, 1), "Vesk UNKNOWN\nP:16 kW\nID:003-000001\nNETPASS:000001\n");
    EXPECT_EQ(text(-1, 16, 1, 1), "Vesk UNKNOWN\nP:16 kW\nID:003-000001\nNETPASS:000001\n");
}

TEST(QrText, SixDigitPadding) {
    // Zero still has one digit, so six zeros and no more.
    EXPECT_EQ(text(2, 20, 0, 0), "Vesk Orvena\nP:20 kW\nID:006-000000\nNETPASS:000000\n");
    EXPECT_NE(text(2, 20, 1, 0).find("-000001\n"), std::string::npos);
    EXPECT_NE(text(2, 20, 999999, 0).find("-999999\n"), std::string::npos);
    // Longer values are written whole.
    EXPECT_NE(text(2, 20, 1234567, 0).find("ID:006-1234567\n"), std::string::npos);
    EXPECT_NE(text(2, 20, 1, 12345678).find("NETPASS:12345678\n"), std::string::npos);
}

TEST(QrText, NegativeValuesKeepTheirSignAheadOfThePadding) {
    EXPECT_NE(text(2, -5, -42, 0).find("P:-5 kW\nID:006--000042\n"), std::string::npos);
    EXPECT_NE(text(2, 20, INT32_MIN, 0).find("ID:006--2147483648\n"), std::string::npos);
}

TEST(QrText, LongestSettingsStillFitTheBuffer) {
    QrText t = buildQrText(-1, INT32_MIN, INT32_MIN, INT32_MIN);
    EXPECT_FALSE(t.truncated());
    EXPECT_LT(t.view().size(), QrText::kCapacity);
    EXPECT_EQ(t.view().back(), '\n');
}

TEST(QrText, OverflowIsCutAndTheTerminatorKept) {
    QrText t;
    t.append(std::string(60, 'a'));
    EXPECT_FALSE(t.truncated());
    t.append(std::string(60, 'b'));
    EXPECT_TRUE(t.truncated());
    EXPECT_EQ(t.view(), std::string(60, 'a') + std::string(39, 'b'));
    t.appendPadded(5, 6);
    EXPECT_EQ(t.view().size(), QrText::kCapacity - 1);
    EXPECT_EQ(t.bytes().back(), '\0');
}

TEST(QrText, TakesTheFieldsFromTheSettings) {
    ServiceParams s;
    UserParams u;
    s.BOILER_TYPE = 3;
    s.POWER = 40;
    s.SERIAL = 77;
    u.LAN_PWD = 314159;
    EXPECT_EQ(std::string(buildQrText(s, u).view()), "Vesk Orvena\nP:40 kW\nID:006-000077\nNETPASS:314159\n");
}

}  // namespace
}  // namespace vesk::test
