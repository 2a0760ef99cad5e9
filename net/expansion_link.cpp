// The expansion link thread: blocking reads, one reply per served read, and
// the module-connected flag that 20 s of silence clears.
#include "net/expansion_link.h"

#include <mutex>
#include <system_error>

#include "core/controller_state.h"
#include "core/refresh_sink.h"
#include "platform/clock.h"
#include "serial/framing.h"

namespace vesk {

ExpansionLink::ExpansionLink(ExpansionServices services, const Clock& clock)
    : services_(services), clock_(clock), messages_(std::move(services)) {}

ExpansionLink::~ExpansionLink() { stop(); }

bool ExpansionLink::start(const std::string& devicePath) {
    auto port = std::make_unique<TermiosSerialPort>(clock_);
    if (!port->open(devicePath, kBaud)) return false;
    return start(std::move(port));
}

bool ExpansionLink::start(std::unique_ptr<SerialPort> port) {
    if (!port || running()) return false;
    port_ = std::move(port);
    stopping_ = false;
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        port_.reset();
        return false;
    }
    return true;
}

void ExpansionLink::stop() {
    if (!running()) return;
    stopping_ = true;
    port_->cancel();
    stopEvent_.set();
    thread_.join();
    port_.reset();
}

void ExpansionLink::setConnected(bool connected) {
    ControllerState& s = services_.dispatch.state;
    {
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        if ((s.expansionConnected != 0) == connected) return;
        s.expansionConnected = connected ? 1 : 0;
    }
    if (services_.dispatch.refresh) services_.dispatch.refresh->postRefresh();
}

int ExpansionLink::readChunk() {
    const int64_t deadline = clock_.nowMs() + kSilenceMs;
    waits_.fetch_add(1);
    int r = 0;
    while (r == 0) {
        const int64_t left = deadline - clock_.nowMs();
        if (left <= 0) return 0;
        r = port_->read(buf_.data(), buf_.size(), left);
    }
    if (r < 0) return -1;
    size_t got = static_cast<size_t>(r);
    while (got < buf_.size()) {
        const int more = port_->read(buf_.data() + got, buf_.size() - got, kIntervalMs);
        if (more <= 0) break;
        got += static_cast<size_t>(more);
    }
    return static_cast<int>(got);
}

void ExpansionLink::serve(size_t n) {
    const auto message = decodeModuleChunk(buf_.data(), n);
    if (!message) return;
    const auto reply = messages_.handle(*message);
    if (!reply) return;
    setConnected(true);
    // A failed write is not retried; the module asks again.
    const std::vector<uint8_t> frame = encodeFrame(*reply);
    port_->write(frame.data(), frame.size());
}

void ExpansionLink::run() {
    if (deviceControl_) deviceControl_(kDeviceControlCode);
    lastByteMs_ = clock_.nowMs();
    while (!stopping_) {
        const int n = readChunk();
        if (stopping_) break;
        if (n > 0) {
            lastByteMs_ = clock_.nowMs();
            serve(static_cast<size_t>(n));
            chunks_.fetch_add(1);
            continue;
        }
        if (n < 0) stopEvent_.wait(clock_, kErrorPauseMs);
        if (clock_.nowMs() - lastByteMs_ >= kSilenceMs) setConnected(false);
    }
}

}  // namespace vesk
