// vesk-client as a real process against the network object serving the
// real protocol over loopback.
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

#include "net/network_rig.h"
#include "net/protocol_session.h"
#include "settings/param_table.h"
#include "settings/schedule.h"
#include "support/child_process.h"
#include "support/test_support.h"

namespace vesk::test {
namespace {

using namespace std::chrono_literals;

struct ClientRun {
    int status;
    std::string out;
};

class ClientTest : public ::testing::TestWithParam<Variant> {
protected:
    void SetUp() override {
        ControllerState& s = rig.state;
        serviceDefaults(s.settings, GetParam(), true);
        userDefaults(s.settings, GetParam(), false, 1);
        s.svc.SERIAL = kRigSerial;
        s.usr.LAN_PWD = kRigPassword;
        s.usr.LAN_EN_LOC = 1;
        s.usr.TWAT_UST = 75;
        DispatcherServices d{s, schedule, rig.clock, dir.path()};
        d.commandBurner = [this](int code) {
            std::lock_guard<std::mutex> g(codesLock);
            burnerCodes.push_back(code);
            return 1;
        };
        session = std::make_unique<ProtocolSession>(d);
        rig.use = session.get();
        rig.start();
        ASSERT_TRUE(waitUntil([&] { return rig.net->status().listening; }));
    }

    // The network thread uses the session until it ends.
    void TearDown() override { rig.stop(); }

    std::vector<std::string> common() const {
        return {"--host", "127.0.0.1", "--port", std::to_string(rig.config.portLocal), "--discovery-port",
                std::to_string(rig.config.portDiscovery), "--timeout", "20"};
    }
    std::vector<std::string> loggedIn() const {
        auto a = common();
        a.insert(a.end(), {"--serial", std::to_string(kRigSerial), "--password", std::to_string(kRigPassword)});
        return a;
    }
    // Runs the client to its end and collects what it printed.
    ClientRun client(std::vector<std::string> args, const std::string& input = "") {
        std::string cmd = binDir() + "vesk-client";
        for (const std::string& a : args) cmd += " '" + a + "'";
        if (!input.empty()) cmd = "printf '%s' '" + input + "' | " + cmd;
        FILE* p = popen((cmd + " 2>&1").c_str(), "r");
        ClientRun r{-1, ""};
        if (!p) return r;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
        const int st = pclose(p);
        r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        return r;
    }
    // A user setting as the network thread left it.
    int32_t user(int32_t UserParams::*field) {
        std::lock_guard<std::recursive_mutex> g(rig.state.stateLock);
        return rig.state.usr.*field;
    }
    std::vector<int> codes() {
        std::lock_guard<std::mutex> g(codesLock);
        return burnerCodes;
    }
    static std::vector<std::string> with(std::vector<std::string> a, std::initializer_list<std::string> more) {
        a.insert(a.end(), more);
        return a;
    }

    NetworkRig rig{GetParam()};
    TempDir dir;
    ScheduleStore schedule;
    std::mutex codesLock;
    std::vector<int> burnerCodes;
    std::unique_ptr<ProtocolSession> session;
};

TEST_P(ClientTest, DiscoversLogsInAndReads) {
    const ClientRun found = client(with(common(), {"discover"}));
    EXPECT_EQ(found.status, 0) << found.out;
    EXPECT_EQ(found.out, std::to_string(kRigSerial) + " 127.0.0.1\n");

    // Without --serial the client asks by discovery first.
    auto noSerial = with(common(), {"--password", std::to_string(kRigPassword), "--json", "status"});
    const ClientRun status = client(noSerial);
    ASSERT_EQ(status.status, 0) << status.out;
    const std::string name = isKestralo(GetParam()) ? "KESTRALO" : "ORVENA";
    EXPECT_NE(status.out.find("\"variant\":\"" + name + "\""), std::string::npos) << status.out;
    EXPECT_NE(status.out.find("\"TWAT_UST\":75"), std::string::npos) << status.out;

    const ClientRun refused = client(with(common(), {"--serial", std::to_string(kRigSerial), "--password", "1", "info"}));
    EXPECT_EQ(refused.status, 3) << refused.out;
}

TEST_P(ClientTest, SetsStartsAndStops) {
    ClientRun r = client(with(loggedIn(), {"set", "TWAT_UST", "70", "EXFAN_UST", "55"}));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(user(&UserParams::TWAT_UST), 70);
    EXPECT_EQ(user(&UserParams::EXFAN_UST), 55);
    EXPECT_NE(r.out.find("SetWaterSetpoint: done"), std::string::npos) << r.out;

    // A field shared by the fuels goes with the fuel in force; the other
    // fields of each command stay as they were.
    int32_t keep;
    {
        std::lock_guard<std::recursive_mutex> g(rig.state.stateLock);
        keep = rig.state.usr.KEEP_WORM_CORR[0];
    }
    r = client(with(loggedIn(), {"set", "CHIMN_TOFF", "100", "VLV2_STEP", "9"}));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(user(&UserParams::CHIMN_TOFF), 100);
    {
        std::lock_guard<std::recursive_mutex> g(rig.state.stateLock);
        EXPECT_EQ(rig.state.usr.VLV2.STEP, 9);
        EXPECT_EQ(rig.state.usr.KEEP_WORM_CORR[0], keep);
    }

    r = client(with(loggedIn(), {"set", "TWAT_UST", "99"}));
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_EQ(user(&UserParams::TWAT_UST), 70);

    EXPECT_EQ(client(with(loggedIn(), {"start"})).status, 0);
    EXPECT_EQ(client(with(loggedIn(), {"stop"})).status, 0);
    EXPECT_EQ(codes(), (std::vector<int>{5, 6}));
}

TEST_P(ClientTest, ProgramsRoundTrip) {
    const std::string text =
        "enable 1\nprogram 0\n  6-9 water=75 air=22\n  22-6 air=18 pause\nprogram 1\nprogram 2\nprogram 3\n"
        "days MON=0 TUE=0 WED=0 THU=0 FRI=0 SAT=- SUN=-\n";
    ClientRun r = client(with(loggedIn(), {"programs", "set", "-"}), text);
    ASSERT_EQ(r.status, 0) << r.out;
    r = client(with(loggedIn(), {"programs", "get"}));
    EXPECT_EQ(r.status, 0);
    // The period past midnight comes back as its two halves.
    EXPECT_EQ(r.out,
              "enable 1\nprogram 0\n  0-6 air=18 pause\n  6-9 water=75 air=22\n  22-24 air=18 pause\nprogram 1\n"
              "program 2\nprogram 3\ndays MON=0 TUE=0 WED=0 THU=0 FRI=0 SAT=- SUN=-\n");
}

TEST_P(ClientTest, WatchPrintsNotifications) {
    ChildProcess watch;
    ASSERT_TRUE(watch.start(binDir() + "vesk-client", with(loggedIn(), {"--count", "1", "watch"})));
    // A notification that comes while the client is still logging in is
    // kept for the watch.
    ASSERT_TRUE(waitUntil([&] { return rig.net->status().localConnections == 1; }));
    {
        std::lock_guard<std::recursive_mutex> g(rig.state.stateLock);
        rig.state.faults = 0x002;
    }
    const auto line = watch.readLine(30s);
    ASSERT_TRUE(line);
    EXPECT_NE(line->find("A=0x0002 B=0x0000 faults: boiler overheat; warnings: none"), std::string::npos) << *line;
}

INSTANTIATE_TEST_SUITE_P(Variants, ClientTest, ::testing::Values(Variant::Orvena, Variant::Kestralo));

}  // namespace
}  // namespace vesk::test
