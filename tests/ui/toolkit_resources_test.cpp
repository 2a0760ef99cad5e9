// Resource pictures: found by number, cached, keyed once, empty when missing.
#include "toolkit_fixture.h"

namespace vesk::test {
namespace {

TEST(ResourcesTest, PicturesByNumberAndTheirKeyedForms) {
    TempDir d;
    std::filesystem::create_directories(d.file("res"));
    writePng(d.file("res/171.png"), 80, 28, 0x123456, kTestKey);
    Resources r(d.file("res/"), {});
    const Bitmap& opaque = r.bitmap(171);
    ASSERT_EQ(opaque.width(), 80);
    EXPECT_EQ(opaque.height(), 28);
    EXPECT_FALSE(opaque.keyed());
    EXPECT_EQ(opaque.pixel(0, 0), toPixel(kTestKey));
    EXPECT_EQ(opaque.pixel(5, 5), toPixel(0x123456));

    const Bitmap& keyed = r.keyed(171);
    ASSERT_TRUE(keyed.keyed());
    EXPECT_EQ(keyed.pixel(0, 0), 0u);
    EXPECT_EQ(keyed.pixel(5, 5), 0xFF000000u | toPixel(0x123456));
    // Converted once: the same pixels are handed out again.
    EXPECT_EQ(r.keyed(171).surface(), keyed.surface());
    EXPECT_EQ(r.bitmap(171).surface(), opaque.surface());

    // Keyed on a given colour rather than the corner.
    const Bitmap& onFill = r.keyedOn(171, 0x123456);
    EXPECT_EQ(onFill.pixel(5, 5), 0u);
    EXPECT_EQ(onFill.pixel(0, 0), 0xFF000000u | toPixel(kTestKey));
}

TEST(ResourcesTest, MissingPicturesAreEmpty) {
    TempDir d;
    std::filesystem::create_directories(d.file("res"));
    writeText(d.file("res/300.png"), "not a png");
    Resources r(d.file("res/"), {});
    EXPECT_TRUE(r.bitmap(299).empty());
    EXPECT_EQ(r.bitmap(299).width(), 0);
    EXPECT_TRUE(r.keyed(299).empty());
    EXPECT_TRUE(r.bitmap(300).empty());
}

TEST(ResourcesTest, HomeResourcesWinOverTheProgramFolder) {
    TempDir home, exe;
    std::filesystem::create_directories(exe.file("res"));
    writePng(exe.file("res/5.png"), 3, 3, 0x0000FF);
    EXPECT_EQ(Resources::forProgram(home.path(), exe.path()).resourceDir(), exe.file("res/"));
    std::filesystem::create_directories(home.file("res"));
    EXPECT_EQ(Resources::forProgram(home.path(), exe.path()).resourceDir(), home.file("res/"));
}

}  // namespace
}  // namespace vesk::test
