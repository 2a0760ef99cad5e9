// Automation socket: one poll loop over the listening socket, the clients
// and a wake pipe. Replies may come later from the UI thread, so each client
// connection is shared with the reply functions that still point at it.
#include "platform/display/automation_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace vesk {

namespace {

constexpr size_t kMaxLine = 4096;
constexpr size_t kMaxClients = 64;

// The client end as the reply functions see it; fd -1 once it is gone.
struct Connection {
    std::mutex m;
    int fd = -1;

    void sendLine(const std::string& text) {
        std::string line = text + "\n";
        std::lock_guard<std::mutex> g(m);
        size_t sent = 0;
        while (fd >= 0 && sent < line.size()) {
            // Never block the UI thread on a client that stopped reading.
            ssize_t n = ::send(fd, line.data() + sent, line.size() - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            sent += size_t(n);
        }
    }

    void close() {
        std::lock_guard<std::mutex> g(m);
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

struct Client {
    std::shared_ptr<Connection> conn;
    std::string pending;       // bytes of an unfinished line
    bool overlong = false;     // dropping the rest of a line that was too long
};

bool fillAddress(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Clears the way for bind: a socket nobody listens on is left over from an
// earlier run and goes; a live server or any other file stays.
bool clearStaleSocket(const std::string& path, const sockaddr_un& addr) {
    struct stat st{};
    if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISSOCK(st.st_mode)) return false;
    int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) return false;
    bool live = connect(probe, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    ::close(probe);
    if (live) return false;
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}

}  // namespace

AutomationServer::AutomationServer(std::string socketPath,
                                   std::function<void(AutomationCommand)> onCommand)
    : path_(std::move(socketPath)), onCommand_(std::move(onCommand)) {}

AutomationServer::~AutomationServer() { stop(); }

bool AutomationServer::start() {
    if (thread_.joinable()) return true;
    sockaddr_un addr{};
    if (!fillAddress(path_, addr) || !clearStaleSocket(path_, addr)) return false;
    listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0) return false;
    struct stat st{};
    if (bind(listenFd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        lstat(path_.c_str(), &st) != 0 || listen(listenFd_, 16) != 0 ||
        pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        stop();
        return false;
    }
    socketDev_ = uint64_t(st.st_dev);
    socketIno_ = uint64_t(st.st_ino);
    thread_ = std::thread([this] { run(); });
    return true;
}

void AutomationServer::stop() {
    if (thread_.joinable()) {
        char b = 1;
        [[maybe_unused]] ssize_t n = ::write(wakePipe_[1], &b, 1);
        thread_.join();
    }
    for (int* fd : {&listenFd_, &wakePipe_[0], &wakePipe_[1]}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    removeOwnSocket();
}

void AutomationServer::removeOwnSocket() {
    if (socketIno_ == 0) return;
    struct stat st{};
    if (lstat(path_.c_str(), &st) == 0 && uint64_t(st.st_dev) == socketDev_ &&
        uint64_t(st.st_ino) == socketIno_)
        unlink(path_.c_str());
    socketDev_ = socketIno_ = 0;
}

void AutomationServer::run() {
    std::vector<Client> clients;

    auto handleLine = [this](const std::shared_ptr<Connection>& conn, const std::string& line) {
        AutomationCommand cmd{};
        std::string error;
        if (!parseAutomationCommand(line, cmd, error)) {
            conn->sendLine("error " + error);
            return;
        }
        auto once = std::make_shared<std::atomic<bool>>(false);
        cmd.reply = [conn, once](const std::string& text) {
            if (!once->exchange(true)) conn->sendLine(text);
        };
        onCommand_(std::move(cmd));
    };

    // Returns false when the client has gone.
    auto readClient = [&](Client& c) {
        char buf[1024];
        for (;;) {
            int fd;
            {
                std::lock_guard<std::mutex> g(c.conn->m);
                fd = c.conn->fd;
            }
            ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
            if (n <= 0) return false;
            for (ssize_t i = 0; i < n; ++i) {
                char ch = buf[i];
                if (ch == '\n') {
                    if (!c.overlong) handleLine(c.conn, c.pending);
                    c.pending.clear();
                    c.overlong = false;
                } else if (!c.overlong) {
                    c.pending += ch;
                    if (c.pending.size() > kMaxLine) {
                        c.conn->sendLine("error line too long");
                        c.pending.clear();
                        c.overlong = true;
                    }
                }
            }
        }
    };

    for (;;) {
        std::vector<pollfd> fds;
        fds.push_back({wakePipe_[0], POLLIN, 0});
        fds.push_back({listenFd_, POLLIN, 0});
        for (auto& c : clients) fds.push_back({c.conn->fd, POLLIN, 0});
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents != 0) break;
        for (size_t i = clients.size(); i-- > 0;) {
            if (fds[i + 2].revents == 0) continue;
            if (!readClient(clients[i])) {
                clients[i].conn->close();
                clients.erase(clients.begin() + long(i));
            }
        }
        if (fds[1].revents & POLLIN) {
            for (;;) {
                int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                if (fd < 0) break;
                if (clients.size() >= kMaxClients) {
                    ::close(fd);
                    continue;
                }
                auto conn = std::make_shared<Connection>();
                conn->fd = fd;
                clients.push_back({conn, {}, false});
            }
        }
    }
    for (auto& c : clients) c.conn->close();
}

}  // namespace vesk
