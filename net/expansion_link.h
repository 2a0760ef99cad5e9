// The expansion module's line: one thread that reads the module's requests
// from the second serial port, answers each, and tells whether the module
// is there.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "net/expansion_frame.h"
#include "net/expansion_messages.h"
#include "platform/event.h"
#include "platform/serial_port.h"

namespace vesk {

class Clock;

class ExpansionLink {
public:
    static constexpr int kBaud = 9600;
    // Read time-outs of the line: the total wait for a first byte, and the
    // gap between bytes that ends one read.
    static constexpr int64_t kSilenceMs = 20000;
    static constexpr int64_t kIntervalMs = 50;
    // Pause after a failed read before the next one.
    static constexpr int64_t kErrorPauseMs = 1000;
    // The control code the module's "EXP1:" driver receives once at start.
    static constexpr uint32_t kDeviceControlCode = 0x1016000;

    // Sends a control code to the module's driver; ignored when it fails.
    using DeviceControl = std::function<void(uint32_t code)>;

    ExpansionLink(ExpansionServices services, const Clock& clock);
    ~ExpansionLink();
    ExpansionLink(const ExpansionLink&) = delete;
    ExpansionLink& operator=(const ExpansionLink&) = delete;

    // The panel's Linux hardware has no "EXP1:" driver: without a call set
    // here the start-up control call does nothing.
    void setDeviceControl(DeviceControl control) { deviceControl_ = std::move(control); }

    // Opens the device exclusively at 9600 baud and starts the thread.
    // False when the device cannot be opened: no module is served.
    bool start(const std::string& devicePath);
    // Same over a port already open.
    bool start(std::unique_ptr<SerialPort> port);
    // Ends the thread; the product never calls it, tests and shutdown do.
    void stop();
    bool running() const { return thread_.joinable(); }

    // For tests: reads taken from the line and served, and waits for a
    // first byte begun (each counted once its deadline is fixed).
    uint64_t chunksServed() const { return chunks_.load(); }
    uint64_t waitsBegun() const { return waits_.load(); }
    ExpansionMessages& messages() { return messages_; }

private:
    void run();
    // Bytes of one read: up to 256, ended by a 50 ms gap; 0 after 20 s
    // without a byte; -1 when the line fails.
    int readChunk();
    void serve(size_t n);
    void setConnected(bool connected);

    ExpansionServices services_;
    const Clock& clock_;
    ExpansionMessages messages_;
    DeviceControl deviceControl_;
    std::unique_ptr<SerialPort> port_;
    std::array<uint8_t, kModuleChunkMax> buf_{};
    int64_t lastByteMs_ = 0;
    Event stopEvent_;
    std::atomic<bool> stopping_{false};
    std::atomic<uint64_t> chunks_{0};
    std::atomic<uint64_t> waits_{0};
    std::thread thread_;
};

}  // namespace vesk
