// The automation socket over a real Unix socket: line handling, replies
// routed to the right client, clients that leave early, the socket file.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <deque>

#include "platform/display/automation_server.h"
#include "support/test_support.h"

namespace vesk {
namespace {

constexpr int kLimitMs = 30000;  // only against a hang

sockaddr_un address(const std::string& path) {
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
    return a;
}

bool exists(const std::string& path) {
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}

class TestClient {
public:
    explicit TestClient(const std::string& path) : fd_(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un a = address(path);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~TestClient() { ::close(fd_); }
    bool connected() const { return connected_; }
    void send(const std::string& bytes) { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    std::string readLine() {
        size_t nl;
        while ((nl = buf_.find('\n')) == std::string::npos) {
            pollfd p{fd_, POLLIN, 0};
            char b[512];
            ssize_t n = poll(&p, 1, kLimitMs) > 0 ? recv(fd_, b, sizeof b, 0) : 0;
            if (n <= 0) return "<nothing>";
            buf_.append(b, size_t(n));
        }
        std::string line = buf_.substr(0, nl);
        buf_.erase(0, nl + 1);
        return line;
    }

private:
    int fd_;
    bool connected_ = false;
    std::string buf_;
};

// The server with a stand-in for the UI loop: commands wait until taken.
struct ServerFixture : ::testing::Test {
    AutomationCommand next() {
        std::unique_lock<std::mutex> lk(m);
        EXPECT_TRUE(cv.wait_for(lk, std::chrono::milliseconds(kLimitMs), [this] { return !q.empty(); }));
        if (q.empty()) return AutomationCommand{AutomationCommand::Kind::Sync, 0, 0, 0, "", [](auto&) {}};
        AutomationCommand c = std::move(q.front());
        q.pop_front();
        return c;
    }
    size_t waiting() {
        std::lock_guard<std::mutex> g(m);
        return q.size();
    }
    test::TempDir dir;
    std::string path = dir.file("ui.sock");
    std::mutex m;
    std::condition_variable cv;
    std::deque<AutomationCommand> q;
    AutomationServer server{path, [this](AutomationCommand c) {
                                std::lock_guard<std::mutex> g(m);
                                q.push_back(std::move(c));
                                cv.notify_all();
                            }};
};

TEST_F(ServerFixture, CommandsReachTheUiAndBadLinesAreAnsweredAtOnce) {
    ASSERT_TRUE(server.start());
    TestClient c(path);
    ASSERT_TRUE(c.connected());
    // Pipelined, split across writes, with a CRLF ending.
    c.send("tap 10 2");
    c.send("0\nbogus\r\nhold 5 6 700\r\n");
    EXPECT_EQ(c.readLine(), "error unknown command bogus");
    AutomationCommand tap = next();
    EXPECT_EQ(tap.kind, AutomationCommand::Kind::Tap);
    EXPECT_EQ(tap.y, 20);
    AutomationCommand hold = next();
    EXPECT_EQ(hold.holdMs, 700);
    tap.reply("ok tap");
    hold.reply("ok held");
    hold.reply("ok twice");  // a second reply is not sent
    c.send("shot /" + std::string(10000, 'a') + "\nsync\n");
    EXPECT_EQ(c.readLine(), "ok tap");
    EXPECT_EQ(c.readLine(), "ok held");
    EXPECT_EQ(c.readLine(), "error line too long");
    next().reply("ok synced");
    EXPECT_EQ(c.readLine(), "ok synced");
    EXPECT_EQ(waiting(), 0u);
}

TEST_F(ServerFixture, RepliesGoToTheClientThatAsked) {
    ASSERT_TRUE(server.start());
    auto a = std::make_unique<TestClient>(path);
    TestClient b(path);
    a->send("sounds\n");
    AutomationCommand fromA = next();
    b.send("shot /tmp/b.png\n");
    AutomationCommand fromB = next();
    EXPECT_EQ(fromB.path, "/tmp/b.png");
    fromB.reply("ok b");
    fromA.reply("ok 132 245");
    EXPECT_EQ(a->readLine(), "ok 132 245");
    EXPECT_EQ(b.readLine(), "ok b");

    // A client that leaves before its reply: the reply goes nowhere, even
    // when a new client got the same descriptor number meanwhile.
    a->send("sync\n");
    AutomationCommand late = next();
    a.reset();
    TestClient c(path);
    c.send("sync\n");
    AutomationCommand fromC = next();
    late.reply("ok for nobody");
    fromC.reply("ok c");
    EXPECT_EQ(c.readLine(), "ok c");
}

TEST_F(ServerFixture, SocketFileLifecycle) {
    {
        // Left behind by a run that died.
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a = address(path);
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        ::close(fd);
    }
    ASSERT_TRUE(server.start());
    EXPECT_TRUE(TestClient(path).connected());
    // A second server must not take the socket of a live one.
    AutomationServer second(path, [](AutomationCommand) {});
    EXPECT_FALSE(second.start());
    TestClient stillFirst(path);
    stillFirst.send("sync\n");
    next();
    server.stop();
    EXPECT_FALSE(exists(path));

    // Nor may it remove some other file, or take a path too long for a socket.
    const std::string file = dir.file("notes.txt");
    test::writeText(file, "keep me");
    EXPECT_FALSE(AutomationServer(file, [](AutomationCommand) {}).start());
    EXPECT_EQ(test::readText(file), "keep me");
    EXPECT_FALSE(AutomationServer(dir.file(std::string(200, 's')), [](AutomationCommand) {}).start());
}

}  // namespace
}  // namespace vesk
