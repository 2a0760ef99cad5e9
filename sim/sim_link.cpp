// Frames in and out of the board stand-in.
#include "sim/sim_link.h"

namespace vesk {

int SimLink::receive(const uint8_t* data, size_t n) {
    int count = 0;
    for (size_t i = 0; i < n; ++i) {
        auto frame = decoder_.feed(data[i]);
        if (!frame) continue;
        if (board_.applyCommand(*frame)) {
            ++applied_;
            ++count;
        } else {
            ++ignored_;
        }
    }
    return count;
}

}  // namespace vesk
