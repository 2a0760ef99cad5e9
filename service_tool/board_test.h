// The service tool's side of the power board: waits for the controller to
// let go of the port, then runs the board link in the tool's own board
// state. The test switches every output of the board on or off.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "board/board_link.h"
#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "platform/clock.h"
#include "platform/event.h"

namespace vesk {

// The test page's view of the board: one frame's readings and inputs.
struct BoardReadings {
    uint16_t firmware = 0;  // 0 until a frame of a known board came
    std::array<int, kSensorCount> sensors{};  // whole °C, kInvalidTemp when missing
    uint8_t inputs = 0;
};

class BoardTest {
public:
    enum class Phase { Idle, Waiting, Running, NoPort };

    BoardTest(const Clock& clock, RefreshSink& refresh);
    ~BoardTest();
    BoardTest(const BoardTest&) = delete;
    BoardTest& operator=(const BoardTest&) = delete;

    // On a thread of its own: waits while the program file
    // `controllerProgram` runs (it is never ended from here), calls
    // `controllerGone` (on that thread), then opens `device`; without the
    // device the board stays silent and the pages work on.
    void start(std::string controllerProgram, std::string device, std::function<void()> controllerGone = {});
    // Switches a running test off first (one frame), then ends the threads.
    void stop();
    Phase phase() const { return phase_.load(); }

    // Every output on with the fans at 50 % and the inverter values in, or
    // everything off; the frame leaves at once.
    void setTestMode(bool on, const ServiceParams& inverter);
    bool testMode() const { return testMode_; }

    BoardReadings readings();

private:
    void waitThenOpen(const std::string& program, const std::string& device, const std::function<void()>& gone);

    static constexpr int64_t kPollMs = 200;
    // Time for the last frame to leave before the port closes.
    static constexpr int64_t kSettleMs = 100;

    const Clock& clock_;
    ControllerState state_{Variant::Kestralo};
    BoardLink link_;
    std::thread starter_;
    Event stopEvent_;
    std::atomic<bool> stopping_{false};
    std::atomic<Phase> phase_{Phase::Idle};
    bool testMode_ = false;  // UI thread only
};

}  // namespace vesk
