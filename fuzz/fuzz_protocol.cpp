// The command protocol as a connection feeds it: a stream of messages cut
// at each header's length, handled by the session with its dispatcher. The
// first byte picks the variant and whether the connection starts logged in,
// so commands are reached before and after a login.
#include <vector>

#include "fuzz/fuzz_support.h"
#include "net/message.h"
#include "net/protocol_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk;
    if (size < 1) return 0;
    fuzz::Panel panel(fuzz::variantOf(data[0]));
    ProtocolSession session(panel.services());
    ConnectionContext c;
    c.authenticated = (data[0] & 2) != 0;
    size_t at = 1;
    std::vector<std::vector<uint8_t>> replies;
    while (at + kHeaderSize <= size) {
        // As the connection does: a body over 250 bytes ends it.
        const size_t len = getU16(data + at + 4);
        if (len > kMaxBody || at + kHeaderSize + len > size) break;
        replies.clear();
        if (session.handle(c, data + at, kHeaderSize + len, replies) == MessageVerdict::Close) break;
        for (const auto& r : replies)
            if (r.size() > kMaxMessage) __builtin_trap();
        at += kHeaderSize + len;
    }
    return 0;
}
