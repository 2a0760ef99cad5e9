// remote-sim's reactions to the panel's messages.
#include "panel_handler.h"

#include "commands.h"
#include "net/message.h"

namespace vesk {

MessageVerdict PanelHandler::handle(ConnectionContext&, const uint8_t* msg, size_t n,
                                    std::vector<std::vector<uint8_t>>& replies) {
    std::string line = describeMessage(msg, n);
    MessageHeader h;
    readHeader(msg, n, h);
    if (h.group == kGroupLink && h.kind == kKindNoReply && h.len == 8) {
        helloSerial_ = getU32(msg + kHeaderSize + 4);
        emit_(line);
        if (options_.autoLogin) replies.push_back(login());
        return MessageVerdict::Keep;
    }
    if (h.group == kGroupLogin && h.kind == kKindReply && h.len == 4)
        loggedIn_ = getU16(msg + kHeaderSize + 2) == kDone;
    if (h.kind == kKindKeepAlive) replies.push_back(makeMessage(kGroupLink, kKindKeepAlive, nullptr, 0));
    emit_(line);
    return MessageVerdict::Keep;
}

std::vector<uint8_t> PanelHandler::login() const {
    return loginMessage(options_.serial.value_or(helloSerial_), options_.password);
}

void PanelHandler::reset() {
    helloSerial_ = 0;
    loggedIn_ = false;
}

}  // namespace vesk
