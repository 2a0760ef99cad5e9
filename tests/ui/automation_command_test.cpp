// Automation command lines: every command, and the malformed lines that
// must be answered with an error instead of reaching the UI.
#include <gtest/gtest.h>

#include "platform/display/automation_server.h"

namespace vesk {
namespace {

using K = AutomationCommand::Kind;

AutomationCommand parseOk(const std::string& line) {
    AutomationCommand c{};
    std::string error;
    EXPECT_TRUE(parseAutomationCommand(line, c, error)) << line << ": " << error;
    return c;
}

std::string parseError(const std::string& line) {
    AutomationCommand c{};
    std::string error;
    EXPECT_FALSE(parseAutomationCommand(line, c, error)) << line;
    EXPECT_EQ(error.find('\n'), std::string::npos);
    return error;
}

TEST(AutomationCommand, PenCommandsCarryThePoint) {
    struct Case {
        const char* line;
        K kind;
    } cases[] = {{"down 10 20", K::Down}, {"move 0 0", K::Move}, {"up 319 239", K::Up},
                 {"tap 160 120", K::Tap}};
    for (const auto& c : cases) {
        AutomationCommand cmd = parseOk(c.line);
        EXPECT_EQ(cmd.kind, c.kind) << c.line;
    }
    AutomationCommand cmd = parseOk("up 319 239");
    EXPECT_EQ(cmd.x, 319);
    EXPECT_EQ(cmd.y, 239);
    cmd = parseOk("  tap\t5   7 \r");
    EXPECT_EQ(cmd.kind, K::Tap);
    EXPECT_EQ(cmd.x, 5);
    EXPECT_EQ(cmd.y, 7);
}

TEST(AutomationCommand, HoldTakesMilliseconds) {
    AutomationCommand cmd = parseOk("hold 100 50 1500");
    EXPECT_EQ(cmd.kind, K::Hold);
    EXPECT_EQ(cmd.x, 100);
    EXPECT_EQ(cmd.y, 50);
    EXPECT_EQ(cmd.holdMs, 1500);
    EXPECT_EQ(parseOk("hold 1 1 0").holdMs, 0);
    EXPECT_EQ(parseOk("hold 1 1 3600000").holdMs, 3600000);
    parseError("hold 1 1");
    parseError("hold 1 1 -5");
    parseError("hold 1 1 3600001");
    parseError("hold 1 1 99999999999999999999999");
}

TEST(AutomationCommand, ShotKeepsTheWholePath) {
    AutomationCommand cmd = parseOk("shot /tmp/a dir/screen 1.png");
    EXPECT_EQ(cmd.kind, K::Shot);
    EXPECT_EQ(cmd.path, "/tmp/a dir/screen 1.png");
    EXPECT_EQ(parseOk("shot /tmp/x.png\r").path, "/tmp/x.png");
    parseError("shot");
    parseError("shot   ");
}

TEST(AutomationCommand, SyncAndSoundsTakeNoArguments) {
    EXPECT_EQ(parseOk("sync").kind, K::Sync);
    EXPECT_EQ(parseOk("sounds\r").kind, K::Sounds);
    parseError("sync now");
    parseError("sounds 1");
}

TEST(AutomationCommand, PointsOffTheScreenAndBadNumbersAreRefused) {
    for (const char* line : {"tap 320 0", "tap 0 240", "tap -1 5", "down 5 -1", "tap 1e2 5",
                             "tap 12abc 5", "tap 0x10 5", "tap 5", "tap", "move 1 2 3",
                             "tap 1.5 2", "tap +3 4", "up 99999999999 1"})
        parseError(line);
}

TEST(AutomationCommand, UnknownAndEmptyLinesAreRefused) {
    parseError("");
    parseError("   \r");
    parseError("TAP 1 1");  // commands are lower case
    std::string why = parseError(std::string("zap\x01\x7f") + std::string(200, 'x'));
    EXPECT_NE(why.find("unknown command"), std::string::npos);
    EXPECT_LT(why.size(), 80u);  // the client's junk is not echoed at length
    for (char c : why) EXPECT_TRUE(c >= 0x20 && c < 0x7F);
}

}  // namespace
}  // namespace vesk
