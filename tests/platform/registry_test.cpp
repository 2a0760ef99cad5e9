// The registry store file: round trips, tolerance of damaged lines.
#include <gtest/gtest.h>

#include <thread>

#include "platform/key_value_text.h"
#include "platform/registry.h"
#include "support/test_support.h"

namespace vesk {
namespace {

TEST(Registry, ValuesSurviveReopenAndRemoval) {
    test::TempDir dir;
    const std::string path = dir.file("registry.cfg");
    {
        Registry r(path);
        EXPECT_FALSE(r.get("BL_LEVEL"));
        r.setInt("BL_LEVEL", 7);
        r.setInt("ClockOffsetSeconds", -86400LL * 400);
        r.set("IpAddress", "192.168.1.20");
        r.set("Formula", "a=b=c");
        r.set("Empty", "");
        r.set("Gone", "x");
        r.remove("Gone");
    }
    Registry r(path);
    EXPECT_EQ(r.getInt("BL_LEVEL"), 7);
    EXPECT_EQ(r.getInt("ClockOffsetSeconds"), -86400LL * 400);
    EXPECT_EQ(r.get("IpAddress"), "192.168.1.20");
    EXPECT_EQ(r.get("Formula"), "a=b=c");
    EXPECT_EQ(r.get("Empty"), "");
    EXPECT_FALSE(r.get("Gone"));
    EXPECT_FALSE(r.getInt("IpAddress"));  // not a whole number
    EXPECT_FALSE(r.getInt("Empty"));
}

TEST(Registry, DamagedLinesAreSkipped) {
    test::TempDir dir;
    const std::string path = dir.file("registry.cfg");
    test::writeText(path, "junk line\r\n=nokey\r\nA=1\r\n# note=1\r\n\r\nB= spaced \nA=2\nC=");
    Registry r(path);
    EXPECT_EQ(r.getInt("A"), 2);  // the later line wins
    EXPECT_EQ(r.get("B"), " spaced ");
    EXPECT_EQ(r.get("C"), "");
    EXPECT_FALSE(r.get("junk line"));
    EXPECT_FALSE(r.get(""));
    EXPECT_FALSE(r.get("# note"));
}

TEST(Registry, UnstorableKeysAndValuesAreRefused) {
    test::TempDir dir;
    const std::string path = dir.file("registry.cfg");
    {
        Registry r(path);
        r.set("Ok", "1");
        r.set("Bad", "two\nINJECTED=1");
        r.set("Bad=Key", "1");
        r.set("#Hidden", "1");
        EXPECT_FALSE(r.get("Bad"));
    }
    Registry r(path);
    EXPECT_EQ(r.get("Ok"), "1");
    EXPECT_FALSE(r.get("INJECTED"));
    EXPECT_FALSE(r.get("Bad"));
    EXPECT_EQ(parseKeyValueText(test::readText(path)).size(), 1u);
}

TEST(Registry, ConcurrentSettersAllPersist) {
    test::TempDir dir;
    const std::string path = dir.file("registry.cfg");
    {
        Registry r(path);
        auto setter = [&](const std::string& prefix) {
            for (int i = 0; i < 25; ++i) r.setInt(prefix + std::to_string(i), i);
        };
        std::thread a(setter, "A"), b(setter, "B");
        a.join();
        b.join();
    }
    Registry r(path);
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(r.getInt("A" + std::to_string(i)), i);
        EXPECT_EQ(r.getInt("B" + std::to_string(i)), i);
    }
}

TEST(Registry, WithoutAFileItStillWorksForTheRun) {
    Registry mem("");
    mem.set("K", "v");
    EXPECT_EQ(mem.get("K"), "v");
    test::TempDir dir;
    Registry unwritable(dir.file("no/such/folder/registry.cfg"));
    unwritable.setInt("K", 3);
    EXPECT_EQ(unwritable.getInt("K"), 3);
}

}  // namespace
}  // namespace vesk
