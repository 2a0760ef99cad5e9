// Decoding one read of the module's line.
#include "net/expansion_frame.h"

#include "serial/framing.h"

namespace vesk {

std::optional<std::vector<uint8_t>> decodeModuleChunk(const uint8_t* chunk, size_t n) {
    if (!chunk || n == 0 || n > kModuleChunkMax) return std::nullopt;
    bool inFrame = false;
    bool escape = false;
    bool complete = false;
    std::vector<uint8_t> frame;
    auto drop = [&] {
        inFrame = false;
        escape = false;
        frame.clear();
    };
    for (size_t i = 0; i < n && !complete; ++i) {
        const uint8_t b = chunk[i];
        if (b == kFrameEnd) {
            if (inFrame && !frame.empty()) {
                complete = true;
            } else {
                inFrame = true;
                escape = false;
            }
        } else if (!inFrame) {
            drop();
        } else if (b == kFrameEsc) {
            if (escape) drop();
            else escape = true;
        } else if (escape) {
            escape = false;
            if (b == kFrameEscEnd) frame.push_back(kFrameEnd);
            else if (b == kFrameEscEsc) frame.push_back(kFrameEsc);
            else drop();
        } else {
            frame.push_back(b);
        }
    }
    // A lone check byte would leave no message code to act on.
    if (!complete || frame.size() < 2) return std::nullopt;
    const uint8_t check = frame.back();
    frame.pop_back();
    if (frameCheck(frame.data(), frame.size()) != check) return std::nullopt;
    return frame;
}

}  // namespace vesk
