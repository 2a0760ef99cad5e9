// The KEY=VALUES reader: separators, signs, junk, overflow and odd files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/line_parser.h"
#include "settings/settings_file.h"
#include "settings/user_table.h"

namespace vesk {
namespace {

std::vector<int32_t> values(std::string_view line) {
    SettingsLine l;
    if (!parseSettingsLine(line, l)) return {};
    return {l.values, l.values + l.count};
}

TEST(LineParser, SeparatorsSignsAndJunk) {
    EXPECT_EQ(values("WORM_CORR=1;2 3,,4"), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(values("TWAT_UST=70abc"), (std::vector<int32_t>{70}));
    EXPECT_EQ(values("TWAT_UST=abc"), (std::vector<int32_t>{}));
    EXPECT_EQ(values("K=  -5, +6"), (std::vector<int32_t>{-5, 6}));
    EXPECT_EQ(values("K=70\r"), (std::vector<int32_t>{70}));
    EXPECT_EQ(values("K=1,2,3,4,5,6,7,8"), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(values("K=5 x 6"), (std::vector<int32_t>{5}));
    EXPECT_EQ(values("no equals sign 5"), (std::vector<int32_t>{}));
    EXPECT_EQ(values("K="), (std::vector<int32_t>{}));
}

TEST(LineParser, KeyIsEverythingBeforeTheFirstEquals) {
    SettingsLine l;
    EXPECT_FALSE(parseSettingsLine("A=B=7", l));
    ASSERT_TRUE(parseSettingsLine("A=7=8", l));
    EXPECT_EQ(l.key, "A");
    EXPECT_EQ(l.count, 1);
    ASSERT_TRUE(parseSettingsLine("FUEL =2", l));
    EXPECT_EQ(l.key, "FUEL ");
}

TEST(LineParser, OverflowStopsTheList) {
    EXPECT_EQ(values("K=99999999999"), (std::vector<int32_t>{}));
    EXPECT_EQ(values("K=-99999999999"), (std::vector<int32_t>{}));
    EXPECT_EQ(values("K=2147483647"), (std::vector<int32_t>{}));
    EXPECT_EQ(values("K=2147483646"), (std::vector<int32_t>{2147483646}));
    EXPECT_EQ(values("K=-2147483647"), (std::vector<int32_t>{-2147483647}));
    EXPECT_EQ(values("K=1,99999999999999999999999,3"), (std::vector<int32_t>{1}));
}

TEST(LineParser, UserTextRulesThroughTheKeyTable) {
    Settings s;
    userDefaults(s, Variant::Orvena, false, 100);
    s.svc.WORM_CORR_MAX = 50;
    s.svc.MAX_TSENS_CORR = 10;
    applyUserText("FUEL = 2\nFUEL=\nHEAT_MODE=2\r\nWORM_CORR=1;2 3,,4\nTAIR_UST=70abc\nTAIR_UST=abc\n"
                  "POW_UST=99999999999\nTwat_UST=80\nTPUMPS_ON=45",
                  s, Variant::Orvena);
    EXPECT_EQ(s.usr.FUEL, 0);
    EXPECT_EQ(s.usr.HEAT_MODE, 2);
    EXPECT_EQ(s.usr.WORM_CORR[0], 1);
    EXPECT_EQ(s.usr.WORM_CORR[3], 4);
    EXPECT_EQ(s.usr.WORM_CORR[4], 0);
    EXPECT_EQ(s.usr.TAIR_UST, 30);  // 70 is out of range, "abc" unreadable
    EXPECT_EQ(s.usr.POW_UST, 100);
    EXPECT_EQ(s.usr.TWAT_UST, 75);
    EXPECT_EQ(s.usr.TPUMPS_ON, 45);  // last line without "\n"
}

TEST(LineParser, GarbageAndHugeLinesDoNotHurt) {
    std::string garbage;
    for (int i = 0; i < 70000; ++i) garbage.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
    garbage += "\nTAIR_UST=22\n";
    garbage += "TPUMPS_ON=" + std::string(1 << 20, '9') + "\n";
    garbage += "TDHW_UST=" + std::string(1 << 20, ' ') + "55\n";
    garbage += std::string(1 << 20, '=') + "\n";
    garbage.push_back('\0');
    garbage += "TRECIRC_ON=50\n";
    Settings s;
    userDefaults(s, Variant::Kestralo, false, 100);
    applyUserText(garbage, s, Variant::Kestralo);
    EXPECT_EQ(s.usr.TAIR_UST, 22);
    EXPECT_EQ(s.usr.TPUMPS_ON, 40);
    EXPECT_EQ(s.usr.TDHW_UST, 55);
    EXPECT_EQ(s.usr.TRECIRC_ON, 60);  // the key begins with a NUL byte
}

}  // namespace
}  // namespace vesk
