// Line-oriented command connections: stdin and a Unix socket.
#pragma once
#include <poll.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/sim_console.h"

namespace vesk {

// Collects bytes and hands out complete lines (without the line end).
class LineBuffer {
public:
    void append(const char* data, size_t n) { buf_.append(data, n); }
    std::optional<std::string> next();

private:
    std::string buf_;
};

using CommandRunner = std::function<ConsoleReply(const std::string&)>;

class ControlServer {
public:
    ControlServer() = default;
    ~ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    bool listen(const std::string& path, std::string& error);
    void addPollFds(std::vector<pollfd>& fds) const;
    // Serves the descriptors that poll marked; true when a command asked to quit.
    bool serve(const std::vector<pollfd>& fds, const CommandRunner& run);

private:
    struct Client {
        int fd;
        LineBuffer lines;
    };
    int listenFd_ = -1;
    std::string path_;
    std::vector<Client> clients_;
};

}  // namespace vesk
