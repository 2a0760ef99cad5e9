// EEPROM backends: the image file's life cycle, ranges, whole-file writes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <thread>

#include "platform/eeprom.h"
#include "platform/file_eeprom.h"
#include "support/test_support.h"

namespace vesk {
namespace {

std::vector<std::string> folderEntries(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename().string());
    return out;
}

TEST(FileEeprom, CreatedErasedWhenMissingAndPersistsAcrossReopen) {
    test::TempDir dir;
    const std::string path = dir.file("eeprom.bin");
    {
        auto e = openEeprom(path);
        ASSERT_TRUE(e);
        std::string image = test::readText(path);
        ASSERT_EQ(image.size(), 4096u);
        EXPECT_EQ(image.find_first_not_of('\xFF'), std::string::npos);
        const uint8_t state = 2;
        ASSERT_TRUE(e->write(0, &state, 1));
        const uint8_t counters[6] = {1, 2, 3, 4, 5, 6};
        ASSERT_TRUE(e->write(4090, counters, 6));  // up to the last byte
    }
    auto e = openEeprom(path);
    ASSERT_TRUE(e);
    uint8_t b = 0;
    ASSERT_TRUE(e->read(0, &b, 1));
    EXPECT_EQ(b, 2);
    uint8_t tail[7] = {};
    ASSERT_TRUE(e->read(4089, tail, 7));
    EXPECT_EQ(tail[0], 0xFF);
    EXPECT_EQ(tail[6], 6);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"eeprom.bin"});  // no temporaries left
}

TEST(FileEeprom, OutOfRangeFailsAndChangesNothing) {
    test::TempDir dir;
    const std::string path = dir.file("eeprom.bin");
    auto e = openEeprom(path);
    ASSERT_TRUE(e);
    const std::string before = test::readText(path);
    uint8_t buf[8] = {7, 7, 7, 7, 7, 7, 7, 7};
    EXPECT_FALSE(e->write(4090, buf, 7));
    EXPECT_FALSE(e->write(4096, buf, 1));
    EXPECT_FALSE(e->write(65535, buf, 8));
    EXPECT_FALSE(e->read(4095, buf, 2));
    EXPECT_FALSE(e->read(4096, buf, 1));
    EXPECT_TRUE(e->read(4096, buf, 0));
    EXPECT_EQ(test::readText(path), before);
    uint8_t last = 0;
    ASSERT_TRUE(e->read(4089, &last, 1));
    EXPECT_EQ(last, 0xFF);
}

TEST(FileEeprom, ShortImageReadsErasedBeyondItsEnd) {
    test::TempDir dir;
    const std::string path = dir.file("eeprom.bin");
    test::writeText(path, std::string("\x03\x00\x41", 3));
    auto e = openEeprom(path);
    ASSERT_TRUE(e);
    uint8_t buf[4] = {};
    ASSERT_TRUE(e->read(0, buf, 4));
    EXPECT_EQ(buf[0], 3);
    EXPECT_EQ(buf[1], 0);
    EXPECT_EQ(buf[2], 0x41);
    EXPECT_EQ(buf[3], 0xFF);
    ASSERT_TRUE(e->write(3, buf, 1));
    EXPECT_EQ(test::readText(path).size(), 4096u);
}

TEST(FileEeprom, UnusableLocationsGiveNoEeprom) {
    test::TempDir dir;
    EXPECT_FALSE(openEeprom(dir.file("missing-folder/eeprom.bin")));
    EXPECT_FALSE(openEeprom(dir.path()));  // a folder
    EXPECT_FALSE(openEeprom(""));
    EXPECT_FALSE(openEeprom("/dev/i2c-250"));  // no such bus
}

TEST(FileEeprom, ConcurrentWritersBothLand) {
    // Burner state and fuel counters are written from different threads.
    test::TempDir dir;
    const std::string path = dir.file("eeprom.bin");
    auto e = openEeprom(path);
    ASSERT_TRUE(e);
    auto writer = [&](uint16_t base) {
        for (uint8_t i = 0; i < 20; ++i) EXPECT_TRUE(e->write(static_cast<uint16_t>(base + i), &i, 1));
    };
    std::thread a(writer, 100), b(writer, 200);
    a.join();
    b.join();
    auto again = openEeprom(path);
    ASSERT_TRUE(again);
    for (uint8_t i = 0; i < 20; ++i) {
        uint8_t x = 0, y = 0;
        ASSERT_TRUE(again->read(static_cast<uint16_t>(100 + i), &x, 1));
        ASSERT_TRUE(again->read(static_cast<uint16_t>(200 + i), &y, 1));
        EXPECT_EQ(x, i);
        EXPECT_EQ(y, i);
    }
    EXPECT_EQ(folderEntries(dir.path()).size(), 1u);
}

TEST(MemoryEeprom, RangesAndInjectedFailure) {
    MemoryEeprom e(16);
    uint8_t v[2] = {1, 2};
    EXPECT_TRUE(e.write(14, v, 2));
    EXPECT_FALSE(e.write(15, v, 2));
    EXPECT_EQ(e.data[15], 2);
    e.fail = true;
    uint8_t r = 0;
    EXPECT_FALSE(e.read(0, &r, 1));
    EXPECT_FALSE(e.write(0, v, 1));
    EXPECT_EQ(e.data[0], 0xFF);
}

}  // namespace
}  // namespace vesk
