// Byte-stuffed frames of both serial links: 0xC0 0xC0, escaped payload,
// escaped additive check byte, 0xC0 0xC0.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vesk {

constexpr uint8_t kFrameEnd = 0xC0;
constexpr uint8_t kFrameEsc = 0xDB;
constexpr uint8_t kFrameEscEnd = 0xDC;
constexpr uint8_t kFrameEscEsc = 0xDD;

uint8_t frameCheck(const uint8_t* payload, size_t n);

// The wire bytes of one frame: at most 2n + 6 bytes.
std::vector<uint8_t> encodeFrame(const uint8_t* payload, size_t n);
inline std::vector<uint8_t> encodeFrame(const std::vector<uint8_t>& p) {
    return encodeFrame(p.data(), p.size());
}

// Incremental decoder: feed bytes one at a time; a complete frame with a
// good check byte comes out as its payload (check byte removed). Bad
// escapes, overlong frames and bad checks are dropped silently.
class FrameDecoder {
public:
    // `maxStored`: most bytes (payload + check) a frame may hold.
    explicit FrameDecoder(size_t maxStored = 68) : max_(maxStored) {}
    std::optional<std::vector<uint8_t>> feed(uint8_t byte);
    // Drops a frame being collected (a read failed or timed out).
    void reset();
    bool inFrame() const { return state_ != State::Idle; }

private:
    enum class State { Idle, Body, Escape };
    size_t max_;
    State state_ = State::Idle;
    std::vector<uint8_t> buf_;
    uint8_t sum_ = 0;
};

}  // namespace vesk
