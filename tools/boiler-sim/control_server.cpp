// Unix-socket command connections of the simulator.
#include "control_server.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vesk {

std::optional<std::string> LineBuffer::next() {
    size_t nl = buf_.find('\n');
    if (nl == std::string::npos) {
        // A client that never ends its line must not grow us without bound.
        if (buf_.size() > 4096) buf_.clear();
        return std::nullopt;
    }
    std::string line = buf_.substr(0, nl);
    buf_.erase(0, nl + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

ControlServer::~ControlServer() {
    for (Client& c : clients_) ::close(c.fd);
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(path_.c_str());
    }
}

bool ControlServer::listen(const std::string& path, std::string& error) {
    sockaddr_un addr{};
    if (path.size() >= sizeof addr.sun_path) {
        error = "control socket path too long: " + path;
        return false;
    }
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    ::unlink(path.c_str());  // a socket left by an earlier run
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listenFd_, 8) != 0) {
        error = "cannot listen on " + path + ": " + std::strerror(errno);
        ::close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    path_ = path;
    return true;
}

void ControlServer::addPollFds(std::vector<pollfd>& fds) const {
    if (listenFd_ >= 0) fds.push_back({listenFd_, POLLIN, 0});
    for (const Client& c : clients_) fds.push_back({c.fd, POLLIN, 0});
}

bool ControlServer::serve(const std::vector<pollfd>& fds, const CommandRunner& run) {
    bool quit = false;
    std::vector<int> closed;
    for (const pollfd& p : fds) {
        if (!p.revents) continue;
        if (p.fd == listenFd_) {
            int c = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c >= 0) clients_.push_back({c, {}});
            continue;
        }
        auto it = std::find_if(clients_.begin(), clients_.end(), [&](const Client& c) { return c.fd == p.fd; });
        if (it == clients_.end()) continue;
        char buf[1024];
        ssize_t n = ::read(it->fd, buf, sizeof buf);
        if (n <= 0) {
            closed.push_back(it->fd);
            continue;
        }
        it->lines.append(buf, static_cast<size_t>(n));
        while (auto line = it->lines.next()) {
            ConsoleReply r = run(*line);
            std::string out = r.text + "\n";
            // Replies are short; a client too slow to take one loses it.
            (void)::send(it->fd, out.data(), out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            quit = quit || r.quit;
        }
    }
    for (int fd : closed) {
        ::close(fd);
        clients_.erase(std::remove_if(clients_.begin(), clients_.end(), [&](const Client& c) { return c.fd == fd; }),
                       clients_.end());
    }
    return quit;
}

}  // namespace vesk
