// Message handling of one protocol connection and the controller's own
// messages.
#include "net/protocol_session.h"

#include "core/controller_state.h"
#include "net/login_guard.h"
#include "platform/clock.h"

namespace vesk {

int loginResult(const uint8_t* body, size_t n, uint32_t serial, uint32_t password) {
    if (!body || n < 12) return 1;
    if (getU16(body) != 0) return 2;
    return getU16(body + 2) == 6 && getU32(body + 4) == serial && getU32(body + 8) == password ? 0 : 1;
}

ProtocolSession::ProtocolSession(DispatcherServices services) : dispatcher_(std::move(services)) {}

MessageVerdict ProtocolSession::login(ConnectionContext& c, const uint8_t* body, size_t len,
                                      std::vector<std::vector<uint8_t>>& replies) {
    if (len != 12) return MessageVerdict::Close;
    DispatcherServices& services = dispatcher_.services();
    const LoginSource source = c.remote ? kLoginSourceRemote : c.peer;
    const int64_t now = services.clock.nowMs();
    if (services.loginGuard) {
        if (c.loginTicket == 0) c.loginTicket = services.loginGuard->newTicket();
        const int64_t wait = services.loginGuard->admit(c.loginTicket, source, now);
        if (wait > 0) {
            c.holdUntilMs = now + wait;
            return MessageVerdict::Hold;
        }
        c.loginTicket = 0;
    }
    uint32_t serial, password;
    {
        ControllerState& s = services.state;
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        serial = static_cast<uint32_t>(s.svc.SERIAL);
        password = static_cast<uint32_t>(s.usr.LAN_PWD);
    }
    const uint16_t result = loginResult(body, len, serial, password) == 0 ? kDone : kRefused;
    if (services.loginGuard) services.loginGuard->record(source, result == kDone, now);
    // A refused attempt also ends an earlier login on this connection.
    c.authenticated = result == kDone;
    uint8_t reply[4];
    putU16(reply, getU16(body));
    putU16(reply + 2, result);
    replies.push_back(makeMessage(kGroupLogin, kKindReply, reply, sizeof reply));
    return MessageVerdict::Keep;
}

MessageVerdict ProtocolSession::handle(ConnectionContext& c, const uint8_t* msg, size_t n,
                                       std::vector<std::vector<uint8_t>>& replies) {
    if (!isWholeMessage(msg, n)) return MessageVerdict::Close;
    MessageHeader h;
    readHeader(msg, n, h);
    const uint8_t* body = msg + kHeaderSize;

    if (h.kind == kKindKeepAlive && (h.group == kGroupCommand || h.group == kGroupLink)) return MessageVerdict::Keep;
    if (h.group == kGroupLogin && h.kind == kKindRequest) return login(c, body, h.len, replies);
    if (h.group != kGroupCommand || (h.kind != kKindRequest && h.kind != kKindNoReply)) return MessageVerdict::Close;
    if (h.len < 2) return MessageVerdict::Close;

    const uint16_t code = getU16(body);
    const bool replyWanted = h.kind == kKindRequest;
    // Without a login nothing runs, whether or not a reply is wanted.
    const CommandReply r = dispatcher_.run(code, body + 2, h.len - 2u, c.authenticated, replyWanted);
    if (!replyWanted) return MessageVerdict::Keep;

    std::vector<uint8_t> out;
    appendU16(out, code);
    appendU16(out, r.result);
    out.insert(out.end(), r.data.begin(), r.data.end());
    replies.push_back(makeMessage(kGroupCommand, kKindReply, out));
    return MessageVerdict::Keep;
}

bool ProtocolSession::statusChanged(std::vector<uint8_t>& notification) {
    uint32_t status;
    {
        ControllerState& s = dispatcher_.services().state;
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        status = notificationStatus(s);
    }
    if (status == lastStatus_) return false;
    lastStatus_ = status;
    notification = makeStatusNotification(status, dispatcher_.services().clock.localTime());
    return true;
}

std::vector<uint8_t> ProtocolSession::remoteHello() {
    uint32_t serial;
    {
        ControllerState& s = dispatcher_.services().state;
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        serial = static_cast<uint32_t>(s.svc.SERIAL);
    }
    uint8_t body[8] = {};
    putU16(body + 2, 6);
    putU32(body + 4, serial);
    return makeMessage(kGroupLink, kKindNoReply, body, sizeof body);
}

std::vector<uint8_t> ProtocolSession::keepAlive() { return makeMessage(kGroupLink, kKindKeepAlive, nullptr, 0); }

}  // namespace vesk
