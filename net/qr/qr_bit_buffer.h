// Fixed-size, most-significant-bit-first bit writer for the data codewords.
#pragma once
#include <cstdint>

#include "net/qr/qr_tables.h"

namespace vesk::qr {

class BitBuffer {
public:
    // Appends the low `count` bits of `value` (count in 0..16). Writing past
    // the capacity is refused and latches overflowed().
    void append(uint32_t value, int count) {
        if (bits_ + count > kCapacityBits) {
            overflowed_ = true;
            return;
        }
        for (int i = count - 1; i >= 0; --i, ++bits_)
            if ((value >> i) & 1) bytes_[bits_ >> 3] |= static_cast<uint8_t>(0x80 >> (bits_ & 7));
    }
    int size() const { return bits_; }
    bool overflowed() const { return overflowed_; }
    const uint8_t* bytes() const { return bytes_; }

    static constexpr int kCapacityBits = kMaxDataCodewords * 8;

private:
    uint8_t bytes_[kMaxDataCodewords] = {};
    int bits_ = 0;
    bool overflowed_ = false;
};

}  // namespace vesk::qr
