// The controller as a real process on the loopback network: a client finds
// it, reads its status and starts the simulated boiler.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/child_process.h"
#include "support/test_support.h"

namespace vesk {
namespace {

using namespace std::chrono;
using test::ChildProcess;

// Runs vesk-client to the end and returns everything it printed.
std::string client(const std::vector<std::string>& args, int* exitCode = nullptr) {
    ChildProcess p;
    EXPECT_TRUE(p.start(test::binDir() + "vesk-client", args));
    std::string out;
    while (auto line = p.readLine(seconds(20))) out += *line + "\n";
    int status = 0;
    ::waitpid(p.pid(), &status, 0);
    if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

class PanelNetwork : public ::testing::TestWithParam<const char*> {};

TEST_P(PanelNetwork, ClientReadsStatusAndStartsTheBoiler) {
    const std::string program = GetParam();
    test::TempDir home;
    std::filesystem::create_directories(home.file("CFG"));
    test::writeText(home.file("CFG/service.cfg"), "SERIAL=4711\n");
    test::writeText(home.file("CFG/user.cfg"), "FUEL=2\nEN_AUTOHEATER=1\nLAN_EN_LOC=1\nLAN_PWD=123456\n");
    const std::string port = std::to_string(test::freeLoopbackPort(SOCK_STREAM));
    const std::string discovery = std::to_string(test::freeLoopbackPort(SOCK_DGRAM));

    ChildProcess sim;
    ASSERT_TRUE(sim.start(test::binDir() + "boiler-sim", {"--no-stdin", "--print-every", "0"}));
    auto first = sim.readLine(seconds(20));
    ASSERT_TRUE(first && first->rfind("VESK_COM1=", 0) == 0);
    const std::string com1 = first->substr(10);
    ChildProcess panel;
    ASSERT_TRUE(panel.start(test::binDir() + program, {},
                            {{"VESK_HOME", home.path()},
                             {"VESK_COM1", com1},
                             {"VESK_DISPLAY", "headless"},
                             {"VESK_NET_IFACE", "lo"},
                             {"VESK_PORT_LOCAL", port},
                             {"VESK_PORT_DISCOVERY", discovery}}));

    const std::vector<std::string> base = {"--host", "127.0.0.1", "--port", port, "--serial", "4711",
                                           "--password", "123456"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> a = base;
        a.insert(a.end(), more.begin(), more.end());
        return a;
    };
    // The server opens on the network thread's first passes.
    std::string status;
    int rc = -1;
    for (int i = 0; i < 40 && rc != 0; ++i) {
        std::this_thread::sleep_for(milliseconds(250));
        status = client(with({"status"}), &rc);
    }
    ASSERT_EQ(rc, 0) << status;
    EXPECT_NE(status.find(program), std::string::npos) << status;
    EXPECT_NE(status.find("stop"), std::string::npos) << status;

    client({"--host", "127.0.0.1", "--port", port, "--serial", "4711", "--password", "999999", "status"}, &rc);
    EXPECT_NE(rc, 0) << "a wrong password is refused";

    client(with({"start"}), &rc);
    EXPECT_EQ(rc, 0);
    // KESTRALO reports the state copied at the end of each control cycle,
    // which runs once the board has been heard.
    for (int i = 0; i < 40; ++i) {
        status = client(with({"status"}), &rc);
        if (status.find("ignition") != std::string::npos) break;
        std::this_thread::sleep_for(milliseconds(250));
    }
    EXPECT_NE(status.find("ignition"), std::string::npos) << status;
    EXPECT_TRUE(panel.running());
}

INSTANTIATE_TEST_SUITE_P(BothVariants, PanelNetwork, ::testing::Values("ORVENA", "KESTRALO"));

}  // namespace
}  // namespace vesk
