// SD copies: key stream, check bytes, export/import round trips and the
// rule that a bad copy never replaces a local file.
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <string>

#include "settings/sd_transfer.h"
#include "settings/service_table.h"
#include "settings/settings_file.h"
#include "settings/user_table.h"
#include "support/test_support.h"

namespace vesk {
namespace {

TEST(SdScramble, CrcAndLayout) {
    EXPECT_EQ(crc16Xmodem("123456789"), 0x31C3);
    EXPECT_EQ(crc16Xmodem(""), 0);

    KeyStream ks(1, 1, 256, 0);  // keys 1, 2, 3, 4, ...
    const std::string out = scrambleForSd("AB", ks);
    const uint16_t crc = crc16Xmodem("AB");
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(static_cast<uint8_t>(out[0]), 'A' ^ 1);
    EXPECT_EQ(static_cast<uint8_t>(out[1]), 'B' ^ 2);
    EXPECT_EQ(static_cast<uint8_t>(out[2]), (crc & 0xFF) ^ 3);
    EXPECT_EQ(static_cast<uint8_t>(out[3]), (crc >> 8) ^ 4);
}

TEST(SdScramble, ShortOrTamperedCopiesAreRejected) {
    std::string plain;
    for (size_t n : {0u, 1u, 2u}) {
        KeyStream ks;
        EXPECT_FALSE(unscrambleFromSd(std::string(n, 'x'), ks, plain)) << n;
    }
    KeyStream a, b;
    std::string copy = scrambleForSd("TWAT_UST=70\n", a);
    EXPECT_TRUE(unscrambleFromSd(copy, b, plain));
    EXPECT_EQ(plain, "TWAT_UST=70\n");
    copy[3] ^= 0x10;
    KeyStream c;
    EXPECT_FALSE(unscrambleFromSd(copy, c, plain));
    // An exported empty file is two bytes long and cannot be imported.
    KeyStream d, e;
    EXPECT_FALSE(unscrambleFromSd(scrambleForSd("", d), e, plain));
}

class SdTransfer : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(cfg());
        std::filesystem::create_directories(sd());
        Settings s;
        serviceDefaults(s, Variant::Orvena, true);
        applyServiceText("POWER=200\nBOILER_TYPE=2\nSERIAL=4321\n", s);
        userDefaults(s, Variant::Orvena, false, 10);
        s.usr.TWAT_UST = 66;
        s.usr.LAN_EN_LOC = 1;
        s.usr.LAN_EN_REM = 1;
        s.usr.LAN_PWD = 4242;
        userText = formatUserFile(s, Variant::Orvena);
        serviceText = formatServiceFile(s);
        test::writeText(cfg() + "user.cfg", userText);
        test::writeText(cfg() + "service.cfg", serviceText);
    }
    std::string cfg() const { return root.path() + "CFG/"; }
    std::string sd() const { return root.path() + "sd/"; }
    std::string other() const { return root.path() + "other/"; }

    test::TempDir root;
    std::mutex fileLock;
    std::string userText, serviceText;
};

TEST_F(SdTransfer, ExportThenImportWithAFreshStream) {
    KeyStream screen;
    ASSERT_EQ(exportToSd(cfg(), sd(), screen), SdResult::Ok);
    EXPECT_NE(test::readText(sd() + "user.cfg"), userText);
    EXPECT_EQ(test::readText(sd() + "user.cfg").size(), userText.size() + 2);

    std::filesystem::create_directories(other());
    KeyStream reopened;
    ASSERT_EQ(importFromSd(other(), sd(), reopened, fileLock), SdResult::Ok);
    EXPECT_EQ(test::readText(other() + "user.cfg"), userText);
    EXPECT_EQ(test::readText(other() + "service.cfg"), serviceText);

    Settings s;
    ASSERT_TRUE(applyImportedSettings(other(), s, Variant::Orvena, 10, fileLock));
    EXPECT_EQ(s.svc.SERIAL, 4321);
    EXPECT_EQ(s.usr.TWAT_UST, 66);
    EXPECT_EQ(s.usr.LAN_EN_LOC, 0);
    EXPECT_EQ(s.usr.LAN_EN_REM, 0);
    EXPECT_EQ(s.usr.LAN_PWD, 0);
    const std::string saved = test::readText(other() + "user.cfg");
    EXPECT_NE(saved.find("\nLAN_EN_LOC=0\nLAN_EN_REM=0\nLAN_PWD=0\n"), std::string::npos);
}

TEST_F(SdTransfer, ImportWithTheContinuedStreamFailsAndChangesNothing) {
    KeyStream screen;
    ASSERT_EQ(exportToSd(cfg(), sd(), screen), SdResult::Ok);
    test::writeText(cfg() + "user.cfg", "LOCAL\n");
    EXPECT_EQ(importFromSd(cfg(), sd(), screen, fileLock), SdResult::LoadError);
    EXPECT_EQ(test::readText(cfg() + "user.cfg"), "LOCAL\n");
    EXPECT_EQ(test::readText(cfg() + "service.cfg"), serviceText);
}

TEST_F(SdTransfer, BadServiceCopyLeavesBothLocalFilesUntouched) {
    KeyStream screen;
    ASSERT_EQ(exportToSd(cfg(), sd(), screen), SdResult::Ok);
    std::string copy = test::readText(sd() + "service.cfg");
    copy[copy.size() / 2] ^= 0x01;
    test::writeText(sd() + "service.cfg", copy);
    test::writeText(cfg() + "user.cfg", "LOCAL USER\n");
    test::writeText(cfg() + "service.cfg", "LOCAL SERVICE\n");

    KeyStream reopened;
    EXPECT_EQ(importFromSd(cfg(), sd(), reopened, fileLock), SdResult::LoadError);
    EXPECT_EQ(test::readText(cfg() + "user.cfg"), "LOCAL USER\n");
    EXPECT_EQ(test::readText(cfg() + "service.cfg"), "LOCAL SERVICE\n");

    test::writeText(sd() + "service.cfg", "xy");
    KeyStream again;
    EXPECT_EQ(importFromSd(cfg(), sd(), again, fileLock), SdResult::LoadError);
    std::filesystem::remove(sd() + "service.cfg");
    KeyStream once_more;
    EXPECT_EQ(importFromSd(cfg(), sd(), once_more, fileLock), SdResult::SdMissing);
    EXPECT_EQ(test::readText(cfg() + "user.cfg"), "LOCAL USER\n");
}

TEST_F(SdTransfer, FailedServiceWritePutsTheOldUserFileBack) {
    KeyStream screen;
    ASSERT_EQ(exportToSd(cfg(), sd(), screen), SdResult::Ok);
    test::writeText(cfg() + "user.cfg", "LOCAL USER\n");
    // A folder where service.cfg should be makes its replacement fail.
    std::filesystem::remove(cfg() + "service.cfg");
    std::filesystem::create_directories(cfg() + "service.cfg/x");
    KeyStream reopened;
    EXPECT_EQ(importFromSd(cfg(), sd(), reopened, fileLock), SdResult::LoadError);
    EXPECT_EQ(test::readText(cfg() + "user.cfg"), "LOCAL USER\n");
}

// The card is there but a copy cannot be made on it: the card message, and
// the key stream has moved only for what was written.
TEST_F(SdTransfer, UncreatableCopyGivesTheCardMessageAndKeepsTheKeyStream) {
    std::filesystem::create_directories(sd() + "user.cfg/x");
    KeyStream screen;
    const uint32_t before = screen.state();
    EXPECT_EQ(exportToSd(cfg(), sd(), screen), SdResult::SdMissing);
    EXPECT_EQ(screen.state(), before);
    EXPECT_EQ(sdMessage(SdOperation::Export, SdResult::SdMissing).text, "SD КАРТА НЕ ВСТАВЛЕНА ИЛИ НЕИСПРАВНА!");

    std::filesystem::remove_all(sd() + "user.cfg");
    std::filesystem::create_directories(sd() + "service.cfg/x");
    KeyStream second, userOnly;
    EXPECT_EQ(exportToSd(cfg(), sd(), second), SdResult::SdMissing);
    EXPECT_EQ(test::readText(sd() + "user.cfg").size(), userText.size() + 2) << "user.cfg went out";
    scrambleForSd(userText, userOnly);
    EXPECT_EQ(second.state(), userOnly.state());
}

TEST_F(SdTransfer, MissingCardAndMissingLocalFiles) {
    KeyStream ks;
    EXPECT_EQ(exportToSd(cfg(), root.path() + "nocard/", ks), SdResult::SdMissing);
    EXPECT_EQ(importFromSd(cfg(), root.path() + "nocard/", ks, fileLock), SdResult::SdMissing);

    std::filesystem::remove(cfg() + "service.cfg");
    KeyStream ks2;
    EXPECT_EQ(exportToSd(cfg(), sd(), ks2), SdResult::SilentStop);
    EXPECT_TRUE(std::filesystem::exists(sd() + "user.cfg"));
    EXPECT_FALSE(std::filesystem::exists(sd() + "service.cfg"));

    std::filesystem::remove(cfg() + "user.cfg");
    std::filesystem::remove(sd() + "user.cfg");
    KeyStream ks3;
    EXPECT_EQ(exportToSd(cfg(), sd(), ks3), SdResult::SilentStop);
    EXPECT_FALSE(std::filesystem::exists(sd() + "user.cfg"));
}

TEST(SdMessages, TextsByOperationAndResult) {
    EXPECT_EQ(sdMessage(SdOperation::Export, SdResult::Ok).title, "СООБЩЕНИЕ!");
    EXPECT_EQ(sdMessage(SdOperation::Export, SdResult::Ok).text,
              "СЕРВИСНЫЕ И ПОЛЬЗОВАТЕЛЬСКИЕ НАСТРОЙКИ УСПЕШНО СОХРАНЕНЫ!");
    EXPECT_EQ(sdMessage(SdOperation::Import, SdResult::Ok).text,
              "СЕРВИСНЫЕ И ПОЛЬЗОВАТЕЛЬСКИЕ НАСТРОЙКИ УСПЕШНО ПРИМЕНЕНЫ!");
    EXPECT_EQ(sdMessage(SdOperation::Import, SdResult::SdMissing).title, "ОШИБКА!");
    EXPECT_EQ(sdMessage(SdOperation::Import, SdResult::SdMissing).text, "SD КАРТА НЕ ВСТАВЛЕНА ИЛИ НЕИСПРАВНА!");
    EXPECT_EQ(sdMessage(SdOperation::Export, SdResult::SaveError).text, "ОШИБКА СОХРАНЕНИЯ НАСТРОЕК!");
    EXPECT_EQ(sdMessage(SdOperation::Import, SdResult::LoadError).text, "ОШИБКА ЗАГРУЗКИ НАСТРОЕК!");
    EXPECT_TRUE(sdMessage(SdOperation::Export, SdResult::SilentStop).title.empty());
}

}  // namespace
}  // namespace vesk
