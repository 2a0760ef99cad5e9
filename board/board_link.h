// The power-board link: a sender thread that owns the port and sends a
// command frame every 500 ms or on request, and a receiver thread that turns
// the board's frames into readings.
#pragma once
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "core/variant.h"
#include "platform/clock.h"
#include "platform/event.h"
#include "platform/serial_port.h"

namespace vesk {

class BoardLink {
public:
    static constexpr int kBaud = 57600;
    static constexpr int64_t kSendPeriodMs = 500;
    static constexpr int64_t kSilenceMs = 15000;

    BoardLink(ControllerState& state, Variant variant, const Clock& clock, RefreshSink& refresh);
    ~BoardLink();
    BoardLink(const BoardLink&) = delete;
    BoardLink& operator=(const BoardLink&) = delete;

    // Opens the device and starts the threads. False when the device cannot
    // be opened: the link then stays down and the program goes on.
    bool start(const std::string& devicePath);
    // Same over a port already open (simulations, tests).
    bool start(std::unique_ptr<SerialPort> port);
    // The next command frame leaves at once. Safe from any thread.
    void sendNow();
    // Sends nothing until the board has reported one of the known firmware
    // versions (the service tool's way); set before start.
    void sendOnlyToKnownBoards(bool on) { knownOnly_ = on; }
    // Ends both threads; the product never calls it, tests and shutdown do.
    void stop();
    bool running() const { return sender_.joinable(); }

private:
    void senderLoop();
    void receiverLoop();
    void onFrame(const std::vector<uint8_t>& payload);
    void markDown();

    ControllerState& state_;
    const Variant variant_;
    const Clock& clock_;
    RefreshSink& refresh_;
    std::unique_ptr<SerialPort> port_;
    Event sendEvent_{true};
    Event stopEvent_;
    std::atomic<bool> stopping_{false};
    bool knownOnly_ = false;
    std::thread sender_;
    std::thread receiver_;
};

}  // namespace vesk
