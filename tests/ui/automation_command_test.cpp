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
    for (char ch : error) EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << line;  // one clean reply line
    return error;
}

TEST(AutomationCommand, EveryCommandWithItsArguments) {
    EXPECT_EQ(parseOk("down 10 20").kind, K::Down);
    EXPECT_EQ(parseOk("move 0 0").kind, K::Move);
    AutomationCommand c = parseOk("up 319 239");
    EXPECT_EQ(c.kind, K::Up);
    EXPECT_EQ(c.x, 319);
    EXPECT_EQ(c.y, 239);
    c = parseOk("  tap\t5   7 \r");
    EXPECT_EQ(c.kind, K::Tap);
    EXPECT_EQ(c.y, 7);
    c = parseOk("hold 100 50 1500");
    EXPECT_EQ(c.kind, K::Hold);
    EXPECT_EQ(c.holdMs, 1500);
    EXPECT_EQ(parseOk("hold 1 1 0").holdMs, 0);
    EXPECT_EQ(parseOk("hold 1 1 3600000").holdMs, 3600000);
    c = parseOk("shot /tmp/a dir/screen 1.png\r");  // paths may hold spaces
    EXPECT_EQ(c.kind, K::Shot);
    EXPECT_EQ(c.path, "/tmp/a dir/screen 1.png");
    EXPECT_EQ(parseOk("sync").kind, K::Sync);
    EXPECT_EQ(parseOk("sounds\r").kind, K::Sounds);
}

TEST(AutomationCommand, MalformedLinesAreRefused) {
    for (const char* line :
         {"", "   \r", "TAP 1 1", "tap 320 0", "tap 0 240", "tap -1 5", "down 5 -1", "tap 1e2 5",
          "tap 12abc 5", "tap 0x10 5", "tap +3 4", "tap 1.5 2", "tap 5", "move 1 2 3",
          "up 99999999999 1", "hold 1 1", "hold 1 1 -5", "hold 1 1 3600001",
          "hold 1 1 99999999999999999999999", "shot", "shot   ", "sync now", "sounds 1"})
        parseError(line);
    std::string why = parseError(std::string("zap\x01\x7f") + std::string(200, 'x'));
    EXPECT_EQ(why.rfind("unknown command", 0), 0u);
    EXPECT_LT(why.size(), 80u);  // the client's junk is not echoed at length
}

}  // namespace
}  // namespace vesk
