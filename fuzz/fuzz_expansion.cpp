// The expansion module's line: each read decoded on its own and the
// message it carries handled, through every message code of the module and
// the relayed command protocol. The first byte picks the variant; the rest
// is a list of reads, each led by its length.
#include "fuzz/fuzz_support.h"
#include "net/expansion_frame.h"
#include "net/expansion_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk;
    if (size < 1) return 0;
    fuzz::Panel panel(fuzz::variantOf(data[0]));
    ExpansionMessages messages(ExpansionServices{panel.services()});
    size_t at = 1;
    while (at < size) {
        const size_t n = std::min<size_t>(data[at] + 1u, size - at - 1);
        ++at;
        if (auto message = decodeModuleChunk(data + at, n)) messages.handle(*message);
        // The message handlers also see what the frame check would stop.
        messages.handle(std::vector<uint8_t>(data + at, data + at + n));
        at += n;
    }
    return 0;
}
