// module-sim as a real process on its own pseudo-terminal, against the
// expansion link in real time.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fcntl.h>

#include "board/board_peer.h"
#include "expansion_rig.h"
#include "net/expansion_link.h"
#include "platform/real_clock.h"
#include "support/child_process.h"

namespace vesk::test {
namespace {

using namespace std::chrono_literals;

struct ModuleSimTest : ::testing::Test {
    void SetUp() override {
        input = dir.file("module.in");
        ASSERT_TRUE(sim.start(binDir() + "module-sim", {"--no-stdin", "--input", input, "--signal", "100",
                                                         "--signal-every", "0.2", "--poll", "0.2"},
                              {{"VESK_TIME_SCALE", "1"}}));
        const auto first = sim.readLine(std::chrono::milliseconds(kPatienceMs));
        ASSERT_TRUE(first);
        ASSERT_EQ(first->rfind("VESK_COM4=", 0), 0u) << *first;
        ASSERT_TRUE(link.start(first->substr(10)));
    }

    int state(const int& field) {
        std::lock_guard<std::recursive_mutex> g(rig.p.s.stateLock);
        return field;
    }

    void type(const std::string& line) {
        const int fd = ::open(input.c_str(), O_WRONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        const std::string text = line + "\n";
        EXPECT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fd);
    }

    // The next output line that starts with `prefix`.
    std::optional<std::string> lineStarting(const std::string& prefix) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
        while (std::chrono::steady_clock::now() < until) {
            auto l = sim.readLine(1000ms);
            if (l && l->rfind(prefix, 0) == 0) return l;
        }
        return std::nullopt;
    }

    TempDir dir;
    std::string input;
    ExpansionRig rig;
    RealClock clock{1, nullptr};
    ExpansionLink link{rig.services(), clock};
    ChildProcess sim;
};

TEST_F(ModuleSimTest, ReportsSignalPollsEventsAndRunsTypedRequests) {
    ASSERT_TRUE(waitFor([&] { return state(rig.p.s.expansionSignal) == 2; }));
    EXPECT_EQ(state(rig.p.s.expansionConnected), 1);
    EXPECT_TRUE(waitFor([&] { return state(rig.p.s.expansionNetCapable) == 1; }));  // the event polls

    type("set air 21 power 60");
    EXPECT_EQ(lineStarting("set "), "set accepted=0x0a");
    EXPECT_EQ(state(rig.p.s.usr.TAIR_UST), 21);
    EXPECT_TRUE(rig.p.userSaved());

    type("id");
    EXPECT_EQ(lineStarting("id "), "id serial=123456");
    type("relay status");
    const auto status = lineStarting("relay ");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->rfind("relay code=1 result=0 len=165 ", 0), 0u) << *status;
    type("relay 3 01");
    EXPECT_EQ(lineStarting("relay "), "relay code=3 result=1 len=0 data=");

    {
        std::lock_guard<std::recursive_mutex> g(rig.p.s.stateLock);
        rig.p.s.faults = 0x002;
    }
    EXPECT_EQ(lineStarting("event: "), "event: counter=1 a=0x0002 b=0x0000");
    type("state");
    EXPECT_EQ(lineStarting("state "), "state code=105 (boiler overheat) bunker=unknown");

    type("raw 02");
    EXPECT_TRUE(lineStarting("no reply"));
    type("bogus");
    EXPECT_TRUE(lineStarting("error unknown command"));
}

TEST(ModuleSimHelp, DocumentsTheCommands) {
    ChildProcess sim;
    ASSERT_TRUE(sim.start(binDir() + "module-sim", {"--help"}));
    std::string text;
    while (auto l = sim.readLine(std::chrono::milliseconds(kPatienceMs))) text += *l + "\n";
    for (const char* word : {"--device", "--input", "status", "relay CODE", "report TYPE", "login SERIAL"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace vesk::test
