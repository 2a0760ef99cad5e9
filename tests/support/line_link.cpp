#include "support/line_link.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <thread>

namespace vesk::test {

LineLink::LineLink(const std::string& path, std::chrono::milliseconds patience) {
    const auto end = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < end) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof a.sun_path, "%s", path.c_str());
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return;
        ::close(fd_);
        fd_ = -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

LineLink::~LineLink() {
    if (fd_ >= 0) ::close(fd_);
}

std::string LineLink::ask(const std::string& line) {
    const std::string out = line + "\n";
    if (::send(fd_, out.data(), out.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(out.size())) return "error send";
    std::string reply;
    char c;
    while (::recv(fd_, &c, 1, 0) == 1) {
        if (c == '\n') return reply;
        reply += c;
    }
    return "error closed";
}

}  // namespace vesk::test
