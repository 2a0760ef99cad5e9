// Connection test helpers over plain POSIX sockets and pipes.
#include "net/network_test_support.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace vesk::test {

namespace {

sockaddr_in loopback(uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
}

int64_t msLeft(std::chrono::steady_clock::time_point end) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
}

}  // namespace

Bytes message(uint16_t group, uint16_t kind, const Bytes& body) {
    Bytes m(6 + body.size());
    m[0] = static_cast<uint8_t>(group);
    m[1] = static_cast<uint8_t>(group >> 8);
    m[2] = static_cast<uint8_t>(kind);
    m[3] = static_cast<uint8_t>(kind >> 8);
    m[4] = static_cast<uint8_t>(body.size());
    m[5] = static_cast<uint8_t>(body.size() >> 8);
    for (size_t i = 0; i < body.size(); ++i) m[6 + i] = body[i];
    return m;
}

MessageVerdict FakeHandler::handle(ConnectionContext& c, const uint8_t* msg, size_t n,
                                   std::vector<std::vector<uint8_t>>& replies) {
    ++handled_;
    const uint16_t group = msg[0] | (msg[1] << 8);
    const uint16_t kind = msg[2] | (msg[3] << 8);
    const Bytes body(msg + 6, msg + n);
    if (group == 9) return MessageVerdict::Close;
    if (kind == 4) {
        ++keepAlives_;
        return MessageVerdict::Keep;
    }
    if (group == 0) {
        c.authenticated = true;
        replies.push_back(message(0, 1, {0, 0, 0, 0}));
    } else if (group == 1 && kind == 0) {
        replies.push_back(message(1, 1, body));
    }
    return MessageVerdict::Keep;
}

bool FakeHandler::statusChanged(std::vector<uint8_t>& notification) {
    std::lock_guard<std::mutex> g(m_);
    if (!notification_) return false;
    notification = *notification_;
    notification_.reset();
    return true;
}

std::vector<uint8_t> FakeHandler::remoteHello() {
    return message(2, 2, {0, 0, 6, 0, static_cast<uint8_t>(serial_), static_cast<uint8_t>(serial_ >> 8),
                          static_cast<uint8_t>(serial_ >> 16), static_cast<uint8_t>(serial_ >> 24)});
}

std::vector<uint8_t> FakeHandler::keepAlive() { return message(2, 4); }

void FakeHandler::queueNotification(const Bytes& n) {
    std::lock_guard<std::mutex> g(m_);
    notification_ = n;
}

uint16_t freePort() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        int t = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = loopback(0);
        a.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t len = sizeof a;
        uint16_t port = 0;
        if (::bind(t, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            ::getsockname(t, reinterpret_cast<sockaddr*>(&a), &len) == 0) {
            port = ntohs(a.sin_port);
            int u = ::socket(AF_INET, SOCK_DGRAM, 0);
            if (::bind(u, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) port = 0;
            ::close(u);
        }
        ::close(t);
        if (port != 0) return port;
    }
    return 0;
}

TestClient::~TestClient() { close(); }

bool TestClient::connect(uint16_t port) {
    close();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = loopback(port);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return true;
    close();
    return false;
}

bool TestClient::sendBytes(const Bytes& b) {
    return fd_ >= 0 && ::send(fd_, b.data(), b.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(b.size());
}

std::optional<Bytes> TestClient::readMessage(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    Bytes m;
    size_t want = 6;
    while (m.size() < want) {
        pollfd p{fd_, POLLIN, 0};
        int64_t left = msLeft(end);
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return std::nullopt;
        uint8_t buf[256];
        ssize_t n = ::recv(fd_, buf, want - m.size(), 0);
        if (n <= 0) return std::nullopt;
        m.insert(m.end(), buf, buf + n);
        if (m.size() == 6 && want == 6) want = 6 + (m[4] | (m[5] << 8));
    }
    return m;
}

bool TestClient::closedByPeer(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        pollfd p{fd_, POLLIN, 0};
        int64_t left = msLeft(end);
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return false;
        uint8_t buf[256];
        ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
        if (n <= 0) return true;
    }
}

void TestClient::abort() {
    if (fd_ < 0) return;
    linger l{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    close();
}

void TestClient::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::optional<Bytes> askDiscovery(uint16_t port, const Bytes& question, std::chrono::milliseconds limit) {
    int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = loopback(port);
    std::optional<Bytes> answer;
    if (::sendto(s, question.data(), question.size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a) ==
        static_cast<ssize_t>(question.size())) {
        pollfd p{s, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(limit.count())) > 0) {
            uint8_t buf[64];
            ssize_t n = ::recv(s, buf, sizeof buf, 0);
            if (n >= 0) answer = Bytes(buf, buf + n);
        }
    }
    ::close(s);
    return answer;
}

PeerProcess::~PeerProcess() { kill(); }

bool PeerProcess::start(const std::string& path, const std::vector<std::string>& args) {
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0) return false;
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        return false;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(out[1], STDERR_FILENO);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(path.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(path.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    in_ = in[1];
    out_ = out[0];
    return pid_ > 0;
}

bool PeerProcess::writeLine(const std::string& line) {
    std::string l = line + "\n";
    ::signal(SIGPIPE, SIG_IGN);
    return in_ >= 0 && ::write(in_, l.data(), l.size()) == static_cast<ssize_t>(l.size());
}

std::optional<std::string> PeerProcess::readLine(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        size_t nl = pending_.find('\n');
        if (nl != std::string::npos) {
            std::string line = pending_.substr(0, nl);
            pending_.erase(0, nl + 1);
            return line;
        }
        int64_t left = msLeft(end);
        pollfd p{out_, POLLIN, 0};
        if (out_ < 0 || left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return std::nullopt;
        char buf[1024];
        ssize_t n = ::read(out_, buf, sizeof buf);
        if (n <= 0) return std::nullopt;
        pending_.append(buf, static_cast<size_t>(n));
        transcript_.append(buf, static_cast<size_t>(n));
    }
}

std::optional<std::string> PeerProcess::waitFor(const std::string& text, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int64_t left = msLeft(end);
        if (left <= 0) return std::nullopt;
        auto line = readLine(std::chrono::milliseconds(left));
        if (!line) return std::nullopt;
        if (line->find(text) != std::string::npos) return line;
    }
}

int PeerProcess::wait() {
    int status = -1;
    if (pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_) pid_ = -1;
    return status;
}

void PeerProcess::kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    if (in_ >= 0) ::close(in_);
    if (out_ >= 0) ::close(out_);
    in_ = out_ = -1;
}

std::string opensslPath() {
    for (const char* p : {"/usr/bin/openssl", "/usr/local/bin/openssl", "/bin/openssl"})
        if (::access(p, X_OK) == 0) return p;
    return "";
}

uint16_t startOpensslServer(PeerProcess& p, std::vector<std::string> args) {
    const std::string openssl = opensslPath();
    if (openssl.empty()) return 0;
    args.insert(args.begin(), "s_server");
    args.push_back("-accept");
    args.push_back("127.0.0.1:0");
    if (!p.start(openssl, args)) return 0;
    auto line = p.waitFor("ACCEPT");
    if (!line) return 0;
    size_t colon = line->rfind(':');
    return colon == std::string::npos ? 0 : static_cast<uint16_t>(std::atoi(line->c_str() + colon + 1));
}

}  // namespace vesk::test
