// Pictures drawn per variant: res/<program>/<N>.png wins over res/<N>.png,
// which still serves every picture the variant does not redraw.
#include "screens_fixture.h"

namespace vesk::test {
namespace {

TEST(VariantPictures, TheProgramsOwnFolderComesFirst) {
    TempDir home, exe;
    std::filesystem::create_directories(exe.file("res/ORVENA"));
    std::filesystem::create_directories(exe.file("res/KESTRALO"));
    writeFlatPng(exe.file("res/226.png"), 4, 4, 0x111111);
    writeFlatPng(exe.file("res/ORVENA/226.png"), 4, 4, 0x222222);
    writeFlatPng(exe.file("res/KESTRALO/226.png"), 4, 4, 0x333333);
    writeFlatPng(exe.file("res/167.png"), 4, 4, 0x444444);

    Resources orvena = Resources::forProgram(home.path(), exe.path(), "ORVENA");
    Resources kestralo = Resources::forProgram(home.path(), exe.path(), "KESTRALO");
    Resources plain = Resources::forProgram(home.path(), exe.path());
    EXPECT_EQ(orvena.bitmap(226).pixel(2, 2), 0x222222u);
    EXPECT_EQ(kestralo.bitmap(226).pixel(2, 2), 0x333333u);
    EXPECT_EQ(plain.bitmap(226).pixel(2, 2), 0x111111u);
    EXPECT_EQ(orvena.bitmap(167).pixel(2, 2), 0x444444u) << "shared pictures from res/";
    EXPECT_TRUE(orvena.keyed(226).keyed());
    EXPECT_TRUE(orvena.bitmap(999).empty());

    // A home folder with its own res/ takes the variant folder from there.
    std::filesystem::create_directories(home.file("res/ORVENA"));
    writeFlatPng(home.file("res/ORVENA/226.png"), 4, 4, 0x555555);
    EXPECT_EQ(Resources::forProgram(home.path(), exe.path(), "ORVENA").bitmap(226).pixel(2, 2), 0x555555u);
}

}  // namespace
}  // namespace vesk::test
