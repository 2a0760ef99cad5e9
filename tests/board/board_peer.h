// The test's side of the power-board line: sends reading frames and collects
// command frames on the pseudo-terminal master.
#pragma once
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "serial/framing.h"

namespace vesk::test {

// Generous: the machine is small and shared.
constexpr int kPatienceMs = 10000;

// Polls `done` until it holds or `ms` real milliseconds pass.
inline bool waitFor(const std::function<bool()>& done, int ms = kPatienceMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class BoardPeer {
public:
    explicit BoardPeer(int fd) : fd_(fd) {}

    // The next complete frame from the panel, or nothing within `ms`.
    std::optional<std::vector<uint8_t>> nextFrame(int ms = kPatienceMs) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            while (pos_ < pending_.size())
                if (auto f = decoder_.feed(pending_[pos_++])) return f;
            pending_.clear();
            pos_ = 0;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  until - std::chrono::steady_clock::now()).count();
            if (left <= 0) return std::nullopt;
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
            uint8_t buf[256];
            ssize_t r = ::read(fd_, buf, sizeof buf);
            if (r > 0) pending_.assign(buf, buf + r);
        }
    }

    void sendRaw(const std::vector<uint8_t>& wire) {
        size_t done = 0;
        while (done < wire.size()) {
            ssize_t w = ::write(fd_, wire.data() + done, wire.size() - done);
            if (w > 0)
                done += static_cast<size_t>(w);
            else if (errno != EINTR && errno != EAGAIN)
                return;
        }
    }
    void send(const std::vector<uint8_t>& payload) { sendRaw(encodeFrame(payload)); }

private:
    int fd_;
    FrameDecoder decoder_{256};
    std::vector<uint8_t> pending_;
    size_t pos_ = 0;
};

}  // namespace vesk::test
