// Sender and receiver threads of the power-board link. They only move bytes;
// payloads are built and decoded by command_frame and reading_frame.
#include "board/board_link.h"

#include <mutex>

#include "board/command_frame.h"
#include "board/reading_frame.h"
#include "serial/framing.h"

namespace vesk {

namespace {
// Pause after a port error before reading again, so that a hung-up line
// does not spin.
constexpr int64_t kErrorPauseMs = 200;
}  // namespace

BoardLink::BoardLink(ControllerState& state, Variant variant, const Clock& clock, RefreshSink& refresh)
    : state_(state), variant_(variant), clock_(clock), refresh_(refresh) {}

BoardLink::~BoardLink() { stop(); }

bool BoardLink::start(const std::string& devicePath) {
    auto port = std::make_unique<TermiosSerialPort>(clock_);
    if (!port->open(devicePath, kBaud)) return false;
    return start(std::move(port));
}

bool BoardLink::start(std::unique_ptr<SerialPort> port) {
    if (!port || running()) return false;
    port_ = std::move(port);
    stopping_ = false;
    sendEvent_.set();  // the first frame leaves at once
    sender_ = std::thread([this] { senderLoop(); });
    return true;
}

void BoardLink::sendNow() { sendEvent_.set(); }

void BoardLink::stop() {
    if (!running()) return;
    stopping_ = true;
    port_->cancel();
    sendEvent_.set();
    stopEvent_.set();
    sender_.join();
    if (receiver_.joinable()) receiver_.join();
    port_.reset();
}

void BoardLink::senderLoop() {
    receiver_ = std::thread([this] { receiverLoop(); });
    while (!stopping_) {
        sendEvent_.wait(clock_, kSendPeriodMs);
        if (stopping_) break;
        std::vector<uint8_t> payload;
        {
            // One picture of the outputs: never half of a cycle's changes.
            std::lock_guard<std::recursive_mutex> g(state_.stateLock);
            if (!knownOnly_ || readingPayloadSize(state_.boardVersion) != 0) payload = buildCommandPayload(state_);
        }
        if (payload.empty()) continue;
        const std::vector<uint8_t> wire = encodeFrame(payload);
        // A failed write is retried with the next frame's fresh outputs.
        port_->write(wire.data(), wire.size());
    }
}

void BoardLink::markDown() {
    bool wasUp;
    {
        std::lock_guard<std::recursive_mutex> g(state_.stateLock);
        wasUp = state_.linkOk != 0;
        state_.linkOk = 0;
    }
    // The control cycle stands still now and posts nothing: the screen
    // learns of the lost link from here.
    if (wasUp) refresh_.postRefresh();
}

void BoardLink::onFrame(const std::vector<uint8_t>& payload) {
    // Too short to carry a version: line noise that happened to check out.
    if (payload.size() < 2) return;
    {
        std::lock_guard<std::recursive_mutex> g(state_.stateLock);
        applyReadingFrame(state_, variant_, payload.data(), payload.size());
    }
    refresh_.postRefresh();
}

void BoardLink::receiverLoop() {
    FrameDecoder decoder;
    // What has arrived is taken in one read, not a call per byte.
    uint8_t bytes[64];
    while (!stopping_) {
        const int r = port_->read(bytes, sizeof bytes, kSilenceMs);
        if (stopping_) break;
        if (r <= 0) {
            decoder.reset();
            markDown();
            if (r < 0) stopEvent_.wait(clock_, kErrorPauseMs);
            continue;
        }
        for (int i = 0; i < r; ++i)
            if (auto payload = decoder.feed(bytes[i])) onFrame(*payload);
    }
}

}  // namespace vesk
