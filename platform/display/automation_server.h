// The UI automation socket: one text line per command, one reply line
// ("ok ..." or "error <why>"). Commands are parsed here and handed to the
// UI loop, which executes them and replies.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vesk {

struct AutomationCommand {
    enum class Kind { Down, Move, Up, Tap, Hold, Shot, Sync, Sounds } kind;
    int x = 0;
    int y = 0;
    int64_t holdMs = 0;   // Hold: panel milliseconds
    std::string path;     // Shot: PNG file to write
    // Sends the one reply line (without newline); callable from any thread, once.
    std::function<void(const std::string&)> reply;
};

// Parses one command line; false with `error` set (one printable line) when bad.
bool parseAutomationCommand(const std::string& line, AutomationCommand& out, std::string& error);

class AutomationServer {
public:
    // `onCommand` is called on the server thread for each parsed command;
    // it queues it for the UI loop (and wakes the display). Lines that do
    // not parse are answered "error <why>" at once, without it.
    AutomationServer(std::string socketPath, std::function<void(AutomationCommand)> onCommand);
    ~AutomationServer();
    // False when the path is too long, is held by a live server, is some
    // other kind of file, or the socket cannot be made.
    bool start();
    void stop();

private:
    void run();
    void removeOwnSocket();

    std::string path_;
    std::function<void(AutomationCommand)> onCommand_;
    int listenFd_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::thread thread_;
    // The socket file this server made, so that stop() never removes a
    // file that someone else put there since.
    uint64_t socketDev_ = 0;
    uint64_t socketIno_ = 0;
};

}  // namespace vesk
