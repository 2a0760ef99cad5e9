// One Unix-socket line connection to a program under test (the UI
// automation socket, the simulator's control socket): a command out, its
// reply line back.
#pragma once
#include <chrono>
#include <string>

namespace vesk::test {

class LineLink {
public:
    // Keeps trying to connect for `patience` (the program may still be
    // starting).
    explicit LineLink(const std::string& path, std::chrono::milliseconds patience = std::chrono::seconds(40));
    ~LineLink();
    LineLink(const LineLink&) = delete;
    LineLink& operator=(const LineLink&) = delete;

    bool connected() const { return fd_ >= 0; }
    // The reply line, or "error send" / "error closed".
    std::string ask(const std::string& line);

private:
    int fd_ = -1;
};

}  // namespace vesk::test
