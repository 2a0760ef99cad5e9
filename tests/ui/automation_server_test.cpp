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

class TestClient {
public:
    explicit TestClient(const std::string& path) {
        fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~TestClient() { close(); }
    bool connected() const { return connected_; }
    void send(const std::string& bytes) {
        ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
    }
    // The next reply line, or "<none>" when none came.
    std::string readLine() {
        for (;;) {
            auto nl = buf_.find('\n');
            if (nl != std::string::npos) {
                std::string line = buf_.substr(0, nl);
                buf_.erase(0, nl + 1);
                return line;
            }
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, kLimitMs) <= 0) return "<none>";
            char b[512];
            ssize_t n = recv(fd_, b, sizeof b, 0);
            if (n <= 0) return "<closed>";
            buf_.append(b, size_t(n));
        }
    }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
    std::string buf_;
};

// Stands in for the UI loop: commands queue up until the test takes them.
class CommandQueue {
public:
    void push(AutomationCommand c) {
        {
            std::lock_guard<std::mutex> g(m_);
            q_.push_back(std::move(c));
        }
        cv_.notify_all();
    }
    bool pop(AutomationCommand& out) {
        std::unique_lock<std::mutex> lk(m_);
        if (!cv_.wait_for(lk, std::chrono::milliseconds(kLimitMs), [this] { return !q_.empty(); }))
            return false;
        out = std::move(q_.front());
        q_.pop_front();
        return true;
    }
    size_t size() {
        std::lock_guard<std::mutex> g(m_);
        return q_.size();
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    std::deque<AutomationCommand> q_;
};

struct ServerFixture : ::testing::Test {
    test::TempDir dir;
    std::string path = dir.file("ui.sock");
    CommandQueue queue;
    AutomationServer server{path, [this](AutomationCommand c) { queue.push(std::move(c)); }};
};

TEST_F(ServerFixture, CommandsReachTheUiAndBadLinesAreAnsweredAtOnce) {
    ASSERT_TRUE(server.start());
    TestClient c(path);
    ASSERT_TRUE(c.connected());
    // Pipelined, split across writes, with a CRLF ending.
    c.send("tap 10 2");
    c.send("0\nbogus\r\nhold 5 6 700\r\n");
    EXPECT_EQ(c.readLine().rfind("error unknown command", 0), 0u);

    AutomationCommand cmd{};
    ASSERT_TRUE(queue.pop(cmd));
    EXPECT_EQ(cmd.kind, AutomationCommand::Kind::Tap);
    EXPECT_EQ(cmd.y, 20);
    cmd.reply("ok");
    ASSERT_TRUE(queue.pop(cmd));
    EXPECT_EQ(cmd.kind, AutomationCommand::Kind::Hold);
    EXPECT_EQ(cmd.holdMs, 700);
    cmd.reply("ok held");
    cmd.reply("ok twice");  // a second reply is not sent
    c.send("sync\n");
    ASSERT_TRUE(queue.pop(cmd));
    cmd.reply("ok");
    EXPECT_EQ(c.readLine(), "ok");
    EXPECT_EQ(c.readLine(), "ok held");
    EXPECT_EQ(c.readLine(), "ok");
    EXPECT_EQ(queue.size(), 0u);
}

TEST_F(ServerFixture, RepliesGoToTheClientThatAsked) {
    ASSERT_TRUE(server.start());
    TestClient a(path), b(path);
    ASSERT_TRUE(a.connected());
    ASSERT_TRUE(b.connected());
    a.send("sounds\n");
    AutomationCommand fromA{}, fromB{};
    ASSERT_TRUE(queue.pop(fromA));
    b.send("shot /tmp/b.png\n");
    ASSERT_TRUE(queue.pop(fromB));
    EXPECT_EQ(fromB.path, "/tmp/b.png");
    fromB.reply("ok b");
    fromA.reply("ok 132 245");
    EXPECT_EQ(a.readLine(), "ok 132 245");
    EXPECT_EQ(b.readLine(), "ok b");
    // Clients one after another are served as well.
    a.close();
    TestClient c(path);
    c.send("tap 1 1\n");
    AutomationCommand fromC{};
    ASSERT_TRUE(queue.pop(fromC));
    fromC.reply("ok c");
    EXPECT_EQ(c.readLine(), "ok c");
}

TEST_F(ServerFixture, AReplyToAClientThatLeftIsDropped) {
    ASSERT_TRUE(server.start());
    AutomationCommand late{};
    {
        TestClient gone(path);
        gone.send("sync\n");
        ASSERT_TRUE(queue.pop(late));
    }
    // The server notices the hang-up while a new client arrives; the new
    // connection may reuse the descriptor number, and must not get the reply.
    TestClient next(path);
    next.send("sync\n");
    AutomationCommand fromNext{};
    ASSERT_TRUE(queue.pop(fromNext));
    late.reply("ok for nobody");
    fromNext.reply("ok next");
    EXPECT_EQ(next.readLine(), "ok next");
}

TEST_F(ServerFixture, OverlongLineIsRefusedAndTheClientGoesOn) {
    ASSERT_TRUE(server.start());
    TestClient c(path);
    c.send("shot /" + std::string(10000, 'a') + "\n");
    EXPECT_EQ(c.readLine(), "error line too long");
    c.send("tap 3 4\n");
    AutomationCommand cmd{};
    ASSERT_TRUE(queue.pop(cmd));
    EXPECT_EQ(cmd.x, 3);
    EXPECT_EQ(queue.size(), 0u);
}

TEST_F(ServerFixture, StaleSocketIsReplacedAndRemovedAtTheEnd) {
    {
        // A socket left behind by a run that died.
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        ::close(fd);
    }
    ASSERT_TRUE(server.start());
    TestClient c(path);
    EXPECT_TRUE(c.connected());
    c.close();

    // A second server must not take the socket of a live one.
    AutomationServer second(path, [](AutomationCommand) {});
    EXPECT_FALSE(second.start());
    TestClient stillFirst(path);
    stillFirst.send("sync\n");
    AutomationCommand cmd{};
    EXPECT_TRUE(queue.pop(cmd));

    server.stop();
    struct stat st{};
    EXPECT_NE(lstat(path.c_str(), &st), 0);
}

TEST(AutomationServer, OtherFilesAndLongPathsAreLeftAlone) {
    test::TempDir dir;
    const std::string file = dir.file("notes.txt");
    test::writeText(file, "keep me");
    {
        AutomationServer s(file, [](AutomationCommand) {});
        EXPECT_FALSE(s.start());
    }
    EXPECT_EQ(test::readText(file), "keep me");
    AutomationServer tooLong(dir.file(std::string(200, 's')), [](AutomationCommand) {});
    EXPECT_FALSE(tooLong.start());
}

TEST(AutomationServer, DestructorRemovesTheSocketFile) {
    test::TempDir dir;
    const std::string path = dir.file("a.sock");
    {
        AutomationServer s(path, [](AutomationCommand) {});
        ASSERT_TRUE(s.start());
        struct stat st{};
        EXPECT_EQ(lstat(path.c_str(), &st), 0);
    }
    struct stat st{};
    EXPECT_NE(lstat(path.c_str(), &st), 0);
}

}  // namespace
}  // namespace vesk
