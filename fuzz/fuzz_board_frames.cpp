// The power board's line: bytes through the frame decoder, each payload
// applied as a reading frame. The first input byte picks the variant and
// the firmware whose layout every payload is read in, so that each
// firmware's decoding is reached, not only the version bytes' luck.
#include <mutex>

#include "board/reading_frame.h"
#include "fuzz/fuzz_support.h"
#include "serial/framing.h"

namespace {
constexpr uint16_t kFirmwares[] = {0x1000, 0x1100, 0x2200, 0x2214, 0x2215, 0};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk;
    if (size < 1) return 0;
    const uint16_t fw = kFirmwares[(data[0] >> 1) % std::size(kFirmwares)];
    ControllerState s(fuzz::variantOf(data[0]));
    FrameDecoder decoder;
    for (size_t i = 1; i < size; ++i) {
        auto payload = decoder.feed(data[i]);
        if (!payload || payload->size() < 2) continue;
        if (fw != 0) {
            (*payload)[0] = static_cast<uint8_t>(fw);
            (*payload)[1] = static_cast<uint8_t>(fw >> 8);
        }
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        applyReadingFrame(s, s.variant, payload->data(), payload->size());
    }
    return 0;
}
