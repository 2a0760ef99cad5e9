#include "serial/framing.h"

namespace vesk {

uint8_t frameCheck(const uint8_t* payload, size_t n) {
    uint8_t sum = 0;
    for (size_t i = 0; i < n; ++i) sum = static_cast<uint8_t>(sum + payload[i]);
    return sum;
}

namespace {
void putEscaped(std::vector<uint8_t>& out, uint8_t b) {
    if (b == kFrameEnd) {
        out.push_back(kFrameEsc);
        out.push_back(kFrameEscEnd);
    } else if (b == kFrameEsc) {
        out.push_back(kFrameEsc);
        out.push_back(kFrameEscEsc);
    } else {
        out.push_back(b);
    }
}
}  // namespace

std::vector<uint8_t> encodeFrame(const uint8_t* payload, size_t n) {
    std::vector<uint8_t> out;
    out.reserve(2 * n + 6);
    out.push_back(kFrameEnd);
    out.push_back(kFrameEnd);
    for (size_t i = 0; i < n; ++i) putEscaped(out, payload[i]);
    putEscaped(out, frameCheck(payload, n));
    out.push_back(kFrameEnd);
    out.push_back(kFrameEnd);
    return out;
}

void FrameDecoder::reset() {
    state_ = State::Idle;
    buf_.clear();
    sum_ = 0;
}

std::optional<std::vector<uint8_t>> FrameDecoder::feed(uint8_t byte) {
    switch (state_) {
    case State::Idle:
        if (byte == kFrameEnd) state_ = State::Body;
        return std::nullopt;
    case State::Escape:
        if (byte == kFrameEscEnd) {
            byte = kFrameEnd;
        } else if (byte == kFrameEscEsc) {
            byte = kFrameEsc;
        } else {
            reset();
            return std::nullopt;
        }
        state_ = State::Body;
        break;
    case State::Body:
        if (byte == kFrameEnd) {
            if (buf_.empty()) return std::nullopt;  // leading 0xC0 repeats
            // Sum over payload and check byte equals twice the check byte.
            bool good = static_cast<uint8_t>(buf_.back() * 2) == sum_;
            std::vector<uint8_t> frame;
            if (good) {
                frame.swap(buf_);
                frame.pop_back();
            }
            reset();
            if (good) return frame;
            return std::nullopt;
        }
        if (byte == kFrameEsc) {
            state_ = State::Escape;
            return std::nullopt;
        }
        break;
    }
    if (buf_.size() >= max_) {
        reset();
        return std::nullopt;
    }
    buf_.push_back(byte);
    sum_ = static_cast<uint8_t>(sum_ + byte);
    return std::nullopt;
}

}  // namespace vesk
