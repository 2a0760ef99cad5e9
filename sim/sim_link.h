// Byte-stream side of the board stand-in: command frames in, readings
// frames out, over whatever carries the bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "serial/framing.h"
#include "sim/board_emulator.h"

namespace vesk {

class SimLink {
public:
    explicit SimLink(BoardEmulator& board) : board_(board) {}

    // Feeds received bytes; returns how many command frames were applied.
    int receive(const uint8_t* data, size_t n);
    // The next readings frame, ready for the wire.
    std::vector<uint8_t> readingsFrame() const { return encodeFrame(board_.readingsPayload()); }

    uint64_t framesApplied() const { return applied_; }
    // Good frames whose length did not fit the firmware's layout.
    uint64_t framesIgnored() const { return ignored_; }

private:
    BoardEmulator& board_;
    FrameDecoder decoder_;
    uint64_t applied_ = 0;
    uint64_t ignored_ = 0;
};

}  // namespace vesk
